#include "history_status.h"

#include <QEvent>

HistoryStatus::HistoryStatus(const IncidentStore& store, QWidget* parent)
    : QLabel(parent)
    , store_(store)
{
    setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    connect(&store, &IncidentStore::stateChanged, this, &HistoryStatus::showState);
    showState(store.state(), store.problem());
}

void HistoryStatus::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        showState(store_.state(), store_.problem());
    QLabel::changeEvent(event);
}

void HistoryStatus::showState(IncidentStore::State state, const QString& problem)
{
    switch (state) {
    case IncidentStore::State::Off:
        setText(tr("历史未记录"));
        break;
    case IncidentStore::State::Failing:
        setText(tr("历史写入失败"));
        break;
    case IncidentStore::State::Writing:
    case IncidentStore::State::Closed:
        setText(problem.isEmpty() ? QString() : tr("历史已重新开始"));
        break;
    }
    setToolTip(problem);
    setVisible(!text().isEmpty());
}
