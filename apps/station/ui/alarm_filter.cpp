#include "alarm_filter.h"

#include "alarm_state.h"
#include "alarm_table.h"
#include "filter_bar.h"

#include <QStringList>

AlarmFilter::AlarmFilter(AlarmTable& table, const AlarmState& alarms, const FilterBar& filters, QObject* parent)
    : QSortFilterProxyModel(parent)
    , table_(table)
    , alarms_(alarms)
    , filters_(filters)
{
    setSourceModel(&table);
    setSortRole(AlarmTable::SortRole);
    setDynamicSortFilter(true);
    connect(&filters, &FilterBar::changed, this, &AlarmFilter::invalidateFilter);
}

bool AlarmFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    const AlarmState::Alarm* alarm = alarms_.alarm(table_.idAt(sourceRow));
    if (!alarm)
        return false;
    if (filters_.isOff())
        return true;
    QStringList cells;
    for (int column = 0; column < AlarmTable::ColumnCount; ++column)
        cells.append(table_.index(sourceRow, column, sourceParent).data().toString());
    return filters_.matches({alarm->item.deckName, alarm->item.compartmentName, alarm->item.priority,
                             cells.join(QLatin1Char(' '))});
}
