#pragma once

#include <QSortFilterProxyModel>

class AlarmState;
class AlarmTable;
class FilterBar;

/// The alarm list's rows as the operator sorts and filters them: sorted by the
/// table's SortRole of the chosen column, and only the rows whose deck,
/// compartment, priority and text (any column's) pass the filter bar.
class AlarmFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    AlarmFilter(AlarmTable& table, const AlarmState& alarms, const FilterBar& filters, QObject* parent = nullptr);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    const AlarmTable& table_;
    const AlarmState& alarms_;
    const FilterBar& filters_;
};
