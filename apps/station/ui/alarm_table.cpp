#include "alarm_table.h"

#include "alarm_feed.h"
#include "alarm_state.h"
#include "station_palette.h"

#include "entity/sensor_item.h"

#include <QBrush>
#include <QDateTime>
#include <QFont>

namespace {

constexpr qint64 kSortSpan = 100000000000000LL; // past any msecs since the epoch in this era
const char kTimeFormat[] = "hh:mm:ss";

// An alarm listed without ever being raised here (cleared at its first value) has no time.
QString timeText(qint64 msecs)
{
    return msecs > 0 ? QDateTime::fromMSecsSinceEpoch(msecs).toString(QLatin1String(kTimeFormat)) : QString();
}

} // namespace

AlarmTable::AlarmTable(const AlarmFeed& feed, QObject* parent)
    : QAbstractTableModel(parent)
    , feed_(feed)
    , rows_(feed.alarms().listed())
{
    const AlarmState& alarms = feed.alarms();
    connect(&alarms, &AlarmState::alarmListed, this, [this](int id) {
        beginInsertRows(QModelIndex(), rows_.size(), rows_.size());
        rows_.append(id);
        endInsertRows();
    });
    connect(&alarms, &AlarmState::alarmUnlisted, this, [this](int id) {
        const int row = rows_.indexOf(id);
        if (row < 0)
            return;
        beginRemoveRows(QModelIndex(), row, row);
        rows_.remove(row);
        endRemoveRows();
    });
    connect(&alarms, &AlarmState::alarmChanged, this, &AlarmTable::refresh);
    connect(&feed, &AlarmFeed::valueChanged, this, &AlarmTable::refresh);
    connect(&alarms, &AlarmState::staleChanged, this, &AlarmTable::refreshAll);
}

int AlarmTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_.size();
}

int AlarmTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AlarmTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case PriorityColumn: return tr("优先级");
    case DeckColumn: return tr("甲板");
    case CompartmentColumn: return tr("舱室");
    case SensorColumn: return tr("传感器");
    case ItemColumn: return tr("测点");
    case StateColumn: return tr("状态");
    case ValueColumn: return tr("数值");
    case TimeColumn: return tr("时间");
    default: return {};
    }
}

QVariant AlarmTable::display(int id, int column) const
{
    const AlarmState::Alarm& alarm = *feed_.alarms().alarm(id);
    switch (column) {
    case PriorityColumn: {
        const AlarmPriority priority = alarm.item.priority;
        return alarm.firstOut ? tr("%1 %2 [首出]").arg(alarmpriority::symbol(priority), alarmpriority::name(priority))
                              : tr("%1 %2").arg(alarmpriority::symbol(priority), alarmpriority::name(priority));
    }
    case DeckColumn: return alarm.item.deckName;
    case CompartmentColumn: return alarm.item.compartmentName;
    case SensorColumn: return alarm.item.sensorName;
    case ItemColumn: return tr("%1 (%2)").arg(alarm.item.name, alarm.item.tag);
    case StateColumn: {
        QString text = AlarmState::stateText(alarm.state);
        if (alarm.shelved)
            text = tr("%1, 搁置至 %2").arg(text, timeText(alarm.shelvedUntil));
        if (alarm.suppressed)
            text = tr("%1, 已抑制").arg(text);
        return feed_.alarms().isStale() ? tr("%1, 数据非实时").arg(text) : text;
    }
    case ValueColumn: {
        const harq::SensorItem* item = feed_.itemOf(id);
        return item ? AlarmFeed::valueText(*item) : QString();
    }
    case TimeColumn: return timeText(alarm.raised);
    default: return {};
    }
}

QVariant AlarmTable::data(const QModelIndex& index, int role) const
{
    const int id = idAt(index.row());
    const AlarmState::Alarm* alarm = feed_.alarms().alarm(id);
    if (!alarm)
        return {};
    const bool stale = feed_.alarms().isStale();
    switch (role) {
    case Qt::DisplayRole: return display(id, index.column());
    case Qt::ForegroundRole:
        if (stale)
            return QBrush(StationPalette::instance().staleRowText());
        if (index.column() == PriorityColumn)
            return QBrush(StationPalette::instance().priority(alarm->item.priority));
        return {};
    case Qt::BackgroundRole:
        if (stale)
            return QBrush(StationPalette::instance().staleRow());
        if (alarm->shelved || alarm->suppressed)
            return QBrush(StationPalette::instance().shelvedRow());
        return {};
    case Qt::FontRole: {
        QFont font;
        font.setBold(AlarmState::isAwaiting(alarm->state) && !alarm->shelved);
        font.setItalic(stale);
        return font;
    }
    case Qt::ToolTipRole: return alarm->shelved ? tr("搁置原因: %1").arg(alarm->shelveReason) : QVariant();
    case SortRole: return sortKey(id, index.column());
    default: return {};
    }
}

QVariant AlarmTable::sortKey(int id, int column) const
{
    const AlarmState::Alarm& alarm = *feed_.alarms().alarm(id);
    switch (column) {
    case PriorityColumn: {
        const int rank = int(alarm.item.priority) + (alarm.shelved || alarm.suppressed ? alarmpriority::kCount : 0);
        return rank * kSortSpan + (kSortSpan - alarm.raised);
    }
    case StateColumn: return int(alarm.state);
    case ValueColumn: {
        const harq::SensorItem* item = feed_.itemOf(id);
        return item ? item->value() : 0.0;
    }
    case TimeColumn: return alarm.raised;
    default: return display(id, column);
    }
}

void AlarmTable::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    refreshAll();
}

void AlarmTable::refreshAll()
{
    if (!rows_.isEmpty())
        emit dataChanged(index(0, 0), index(rows_.size() - 1, ColumnCount - 1));
}

void AlarmTable::refresh(int id)
{
    // Most changes are of items not listed (values) or of the newest rows (a flood being raised).
    if (!feed_.alarms().isListed(id))
        return;
    const int row = rows_.lastIndexOf(id);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}
