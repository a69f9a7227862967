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
        history_ = tr("历史未记录");
        break;
    case IncidentStore::State::Failing:
        history_ = tr("历史写入失败");
        break;
    case IncidentStore::State::Writing:
    case IncidentStore::State::Closed:
        history_ = problem.isEmpty() ? QString() : tr("历史已重新开始");
        break;
    }
    historyProblem_ = problem;
    refresh();
}

void HistoryStatus::showAudit(bool failing, const QString& problem)
{
    auditFailing_ = failing;
    auditProblem_ = failing ? problem : QString();
    refresh();
}

void HistoryStatus::refresh()
{
    const auto joined = [](const QString& first, const QString& second, const QString& separator) {
        return first.isEmpty() || second.isEmpty() ? first + second : first + separator + second;
    };
    const QString audit = auditFailing_ ? tr("审计记录写入失败") : QString();
    setText(joined(history_, audit, QStringLiteral(" / ")));
    setToolTip(joined(historyProblem_, auditProblem_, QStringLiteral("\n")));
    setVisible(!text().isEmpty());
}
