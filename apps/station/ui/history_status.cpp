#include "history_status.h"

HistoryStatus::HistoryStatus(const IncidentStore& store, QWidget* parent)
    : QLabel(parent)
{
    setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    connect(&store, &IncidentStore::stateChanged, this, &HistoryStatus::showState);
    showState(store.state(), store.problem());
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
    audit_ = failing ? tr("审计记录写入失败") : QString();
    auditProblem_ = failing ? problem : QString();
    refresh();
}

void HistoryStatus::refresh()
{
    const auto joined = [](const QString& first, const QString& second, const QString& separator) {
        return first.isEmpty() || second.isEmpty() ? first + second : first + separator + second;
    };
    setText(joined(history_, audit_, QStringLiteral(" / ")));
    setToolTip(joined(historyProblem_, auditProblem_, QStringLiteral("\n")));
    setVisible(!text().isEmpty());
}
