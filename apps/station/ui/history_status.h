#pragma once

#include "incident_store.h"

#include <QLabel>

/// The history's health for the status bar: nothing while it is written as it
/// should be, a warning while it is off or failing, or after a damaged file was
/// set aside, with the reason as tool tip; the same for the audit trail kept in
/// it. The crew must know when what they do is not being kept.
class HistoryStatus : public QLabel
{
    Q_OBJECT

public:
    explicit HistoryStatus(const IncidentStore& store, QWidget* parent = nullptr);

    /// Whether the audit trail fails to be written, and why.
    void showAudit(bool failing, const QString& problem);

protected:
    void changeEvent(QEvent* event) override;

private:
    void showState(IncidentStore::State state, const QString& problem);
    void refresh();

    const IncidentStore& store_;
    QString history_;
    QString historyProblem_;
    bool auditFailing_ = false;
    QString auditProblem_;
};
