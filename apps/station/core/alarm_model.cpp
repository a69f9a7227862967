#include "alarm_model.h"

#include "alarm_settings.h"
#include "ship.h"

#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/view_group.h"

#include <QBrush>
#include <QFont>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {

constexpr int kShelveCheckMs = 1000;
constexpr int kMsPerMinute = 60000;
// A trend keeps the last hour at one value a second, more than any detail window shows.
constexpr std::size_t kTrendSamples = 3600;
constexpr int kHistoryEntries = 200;
constexpr qint64 kSortSpan = 100000000000000LL; // past any msecs since the epoch in this era
const char kTimeFormat[] = "hh:mm:ss";
const QColor kStaleBackground(0xE3, 0xE6, 0xEC);
const QColor kStaleText(0x60, 0x68, 0x78);
const QColor kShelvedBackground(0xEE, 0xEE, 0xEE);

bool active(AlarmModel::State state)
{
    return state == AlarmModel::State::UnacknowledgedActive || state == AlarmModel::State::AcknowledgedActive;
}

bool awaitsAck(AlarmModel::State state)
{
    return state == AlarmModel::State::UnacknowledgedActive || state == AlarmModel::State::UnacknowledgedCleared;
}

} // namespace

AlarmModel::AlarmModel(const Ship& ship, const AlarmSettings& settings, QObject* parent)
    : QAbstractTableModel(parent)
    , ship_(ship)
    , settings_(settings)
    , shelve_timer_(new QTimer(this))
{
    shelve_timer_->setInterval(kShelveCheckMs);
    connect(shelve_timer_, &QTimer::timeout, this, &AlarmModel::expireShelving);
    for (harq::Deck* deck : ship.decks()) {
        for (harq::Sensor* sensor : deck->sensors()) {
            const harq::Region* compartment = ship.compartmentOf(sensor);
            for (int i = 0; i < sensor->itemCount(); ++i) {
                harq::SensorItem* item = sensor->itemAt(i);
                auto alarm = std::make_shared<Alarm>();
                alarm->sensor = sensor;
                alarm->item = item;
                alarm->deck = deck->name();
                alarm->compartment = compartment ? compartment->nameAndCode() : QString();
                alarm->name = settings.nameOf(*sensor, *item);
                alarm->priority = settings.priorityOf(*sensor, *item);
                alarms_.insert(item, alarm);
            }
            connect(sensor, QOverload<harq::Sensor*, harq::SensorItem*>::of(&harq::Sensor::sensorStateChanged), this,
                    [this](harq::Sensor*, harq::SensorItem* item) { onStateChanged(item); });
            connect(sensor, &harq::Sensor::itemValueChanged, this,
                    [this, sensor](int ix) { onValueChanged(sensor, ix); });
        }
    }
}

AlarmModel::~AlarmModel() = default;

int AlarmModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_.size();
}

int AlarmModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AlarmModel::headerData(int section, Qt::Orientation orientation, int role) const
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

QVariant AlarmModel::data(const QModelIndex& index, int role) const
{
    const Alarm* alarm = alarmAt(index.row());
    if (!alarm)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case PriorityColumn:
            return alarm->firstOut ? tr("%1 %2 [首出]").arg(alarmpriority::symbol(alarm->priority),
                                                           alarmpriority::name(alarm->priority))
                                   : tr("%1 %2").arg(alarmpriority::symbol(alarm->priority),
                                                     alarmpriority::name(alarm->priority));
        case DeckColumn: return alarm->deck;
        case CompartmentColumn: return alarm->compartment;
        case SensorColumn: return alarm->sensor->nameAndCode();
        case ItemColumn: return tr("%1 (%2)").arg(alarm->name, alarm->item->tag());
        case StateColumn: {
            QString text = stateText(alarm->state);
            if (alarm->shelved)
                text = tr("%1, 搁置至 %2").arg(text, alarm->shelvedUntil.toString(QLatin1String(kTimeFormat)));
            if (alarm->suppressed)
                text = tr("%1, 已抑制").arg(text);
            return stale_ ? tr("%1, 数据非实时").arg(text) : text;
        }
        case ValueColumn: return valueText(*alarm->item);
        case TimeColumn: return alarm->raised.toString(QLatin1String(kTimeFormat));
        default: return {};
        }
    case Qt::ForegroundRole:
        if (stale_)
            return QBrush(kStaleText);
        if (index.column() == PriorityColumn)
            return QBrush(alarmpriority::colour(alarm->priority));
        return {};
    case Qt::BackgroundRole:
        if (stale_)
            return QBrush(kStaleBackground);
        if (alarm->shelved || alarm->suppressed)
            return QBrush(kShelvedBackground);
        return {};
    case Qt::FontRole: {
        QFont font;
        font.setBold(awaitsAck(alarm->state) && !alarm->shelved);
        font.setItalic(stale_);
        return font;
    }
    case Qt::ToolTipRole:
        return alarm->shelved ? tr("搁置原因: %1").arg(alarm->shelveReason) : QVariant();
    case SortRole: {
        const int rank = int(alarm->priority) + (alarm->shelved || alarm->suppressed ? alarmpriority::kCount : 0);
        return rank * kSortSpan + (kSortSpan - alarm->raised.toMSecsSinceEpoch());
    }
    default: return {};
    }
}

QString AlarmModel::valueText(const harq::SensorItem& item)
{
    if (item.isValueItem())
        return tr("%1 (%2)").arg(item.valueStr(), item.toolTip());
    return item.isAbnormal() ? tr("动作") : tr("正常");
}

QString AlarmModel::stateText(State state)
{
    switch (state) {
    case State::UnacknowledgedActive: return tr("报警未确认");
    case State::AcknowledgedActive: return tr("报警已确认");
    case State::UnacknowledgedCleared: return tr("已消除未确认");
    case State::Normal: break;
    }
    return tr("正常");
}

const AlarmModel::Alarm* AlarmModel::alarmAt(int row) const
{
    return row >= 0 && row < rows_.size() ? rows_.at(row) : nullptr;
}

const AlarmModel::Alarm* AlarmModel::alarmOf(const harq::SensorItem* item) const
{
    return alarms_.value(item).get();
}

QList<harq::SensorItem*> AlarmModel::unacknowledged(const harq::Deck* deck, const harq::Region* compartment) const
{
    QList<harq::SensorItem*> out;
    for (const Alarm* alarm : rows_) {
        if (!awaitsAck(alarm->state) || (deck && alarm->sensor->deck() != deck)
            || (compartment && ship_.compartmentOf(alarm->sensor) != compartment))
            continue;
        out.append(alarm->item);
    }
    return out;
}

int AlarmModel::unacknowledgedCount(const harq::Deck* deck) const
{
    return int(std::count_if(rows_.cbegin(), rows_.cend(), [deck](const Alarm* alarm) {
        return awaitsAck(alarm->state) && !alarm->shelved && !alarm->suppressed && alarm->sensor->deck() == deck;
    }));
}

int AlarmModel::activeCount(const harq::Deck* deck) const
{
    return int(std::count_if(rows_.cbegin(), rows_.cend(), [deck](const Alarm* alarm) {
        return active(alarm->state) && alarm->sensor->deck() == deck;
    }));
}

std::optional<AlarmPriority> AlarmModel::mostUrgentToAnnounce() const
{
    std::optional<AlarmPriority> most;
    for (const Alarm* alarm : rows_) {
        if (alarm->state == State::UnacknowledgedActive && !alarm->shelved && !alarm->suppressed
            && (!most || alarm->priority < *most))
            most = alarm->priority;
    }
    return most;
}

bool AlarmModel::awaitsAcknowledgement(const harq::Sensor* sensor) const
{
    return std::any_of(rows_.cbegin(), rows_.cend(), [sensor](const Alarm* alarm) {
        return alarm->sensor == sensor && awaitsAck(alarm->state) && !alarm->shelved;
    });
}

std::optional<AlarmPriority> AlarmModel::priorityShown(const harq::Sensor* sensor) const
{
    std::optional<AlarmPriority> most;
    for (const Alarm* alarm : rows_) {
        if (alarm->sensor == sensor && !alarm->shelved && alarm->state != State::Normal
            && (!most || alarm->priority < *most))
            most = alarm->priority;
    }
    return most;
}

void AlarmModel::onValueChanged(harq::Sensor* sensor, int ix)
{
    harq::SensorItem* item = sensor->itemAt(ix);
    const std::shared_ptr<Alarm> alarm = alarms_.value(item);
    if (!alarm)
        return;
    if (item->isValueItem() && (alarm->trend.empty() || alarm->trend.back().value != item->value())) {
        alarm->trend.push_back({QDateTime::currentMSecsSinceEpoch(), item->value()});
        if (alarm->trend.size() > kTrendSamples)
            alarm->trend.pop_front();
    }
    // During a flip the item is already abnormal but not yet awaiting
    // acknowledgement; the state change that follows settles it.
    if (item->isAbnormal() && active(alarm->state)) {
        const State now = item->needConfirm() ? State::UnacknowledgedActive : State::AcknowledgedActive;
        if (now != alarm->state) {
            setState(*alarm, now);
            return;
        }
    }
    refreshRow(*alarm);
}

void AlarmModel::onStateChanged(harq::SensorItem* item)
{
    const std::shared_ptr<Alarm> alarm = alarms_.value(item);
    if (!alarm)
        return;
    if (item->isAbnormal()) {
        alarm->firstOut = std::none_of(rows_.cbegin(), rows_.cend(),
                                       [](const Alarm* other) { return other->state != State::Normal; });
        const qint64 known = known_raised_.take(item->tag());
        alarm->raised = known > 0 ? QDateTime::fromMSecsSinceEpoch(known) : QDateTime::currentDateTime();
        setState(*alarm, item->needConfirm() ? State::UnacknowledgedActive : State::AcknowledgedActive);
        emit alarmRaised(item);
    } else {
        setState(*alarm, alarm->state == State::AcknowledgedActive ? State::Normal : State::UnacknowledgedCleared);
        emit alarmCleared(item);
    }
}

void AlarmModel::setState(Alarm& alarm, State state)
{
    alarm.state = state;
    record(alarm, stateText(state));
    updateListing(alarm);
    emit alarmChanged(alarm.item);
}

void AlarmModel::record(Alarm& alarm, const QString& text)
{
    alarm.history.append({QDateTime::currentDateTime(), text});
    if (alarm.history.size() > kHistoryEntries)
        alarm.history.removeFirst();
}

bool AlarmModel::listed(const Alarm& alarm) const
{
    return alarm.state != State::Normal || alarm.shelved;
}

void AlarmModel::updateListing(Alarm& alarm)
{
    const int row = rows_.indexOf(&alarm);
    if (listed(alarm) && row < 0) {
        beginInsertRows(QModelIndex(), rows_.size(), rows_.size());
        rows_.append(&alarm);
        endInsertRows();
    } else if (!listed(alarm) && row >= 0) {
        beginRemoveRows(QModelIndex(), row, row);
        rows_.remove(row);
        endRemoveRows();
        alarm.firstOut = false;
    } else {
        refreshRow(alarm);
    }
}

void AlarmModel::refreshRow(const Alarm& alarm)
{
    const int row = rows_.indexOf(const_cast<Alarm*>(&alarm));
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void AlarmModel::acknowledgedByOperator(harq::SensorItem* item)
{
    const std::shared_ptr<Alarm> alarm = alarms_.value(item);
    if (!alarm)
        return;
    if (alarm->state == State::UnacknowledgedCleared) {
        setState(*alarm, State::Normal);
        emit clearedAlarmAcknowledged(item);
    } else {
        record(*alarm, tr("操作员确认"));
    }
}

bool AlarmModel::shelve(harq::SensorItem* item, const QString& reason, int minutes)
{
    const std::shared_ptr<Alarm> alarm = alarms_.value(item);
    if (!alarm || alarm->shelved || !listed(*alarm))
        return false;
    alarm->shelved = true;
    alarm->shelveReason = reason;
    alarm->shelvedUntil
        = QDateTime::currentDateTime().addMSecs(qint64(qBound(1, minutes, settings_.shelveLimitMinutes())) * kMsPerMinute);
    record(*alarm, tr("搁置至 %1: %2").arg(alarm->shelvedUntil.toString(QLatin1String(kTimeFormat)), reason));
    refreshRow(*alarm);
    shelve_timer_->start();
    emit alarmChanged(item);
    return true;
}

void AlarmModel::seedTrend(const harq::SensorItem* item, const std::deque<Sample>& older)
{
    const std::shared_ptr<Alarm> alarm = alarms_.value(item);
    if (!alarm)
        return;
    const qint64 newer = alarm->trend.empty() ? std::numeric_limits<qint64>::max() : alarm->trend.front().msecs;
    for (auto it = older.rbegin(); it != older.rend() && alarm->trend.size() < kTrendSamples; ++it) {
        if (it->msecs < newer)
            alarm->trend.push_front(*it);
    }
}

bool AlarmModel::unshelve(harq::SensorItem* item)
{
    const std::shared_ptr<Alarm> alarm = alarms_.value(item);
    if (!alarm || !alarm->shelved)
        return false;
    alarm->shelved = false;
    alarm->shelveReason.clear();
    record(*alarm, tr("解除搁置"));
    updateListing(*alarm);
    emit alarmChanged(item);
    return true;
}

void AlarmModel::expireShelving()
{
    const QDateTime now = QDateTime::currentDateTime();
    QList<harq::SensorItem*> due;
    bool left = false;
    for (const Alarm* alarm : qAsConst(rows_)) {
        if (alarm->shelved && alarm->shelvedUntil <= now)
            due.append(alarm->item);
        else
            left = left || alarm->shelved;
    }
    for (harq::SensorItem* item : due) {
        unshelve(item);
        emit shelvingExpired(item);
    }
    if (!left)
        shelve_timer_->stop();
}

void AlarmModel::setGroupSuppressed(const QString& group, bool suppressed)
{
    for (const std::shared_ptr<Alarm>& alarm : qAsConst(alarms_)) {
        const harq::ViewGroup* own = alarm->sensor->viewGroup();
        if (!own || own->group() != group || alarm->suppressed == suppressed)
            continue;
        alarm->suppressed = suppressed;
        refreshRow(*alarm);
        emit alarmChanged(alarm->item);
    }
}

void AlarmModel::setStale(bool stale)
{
    if (stale == stale_)
        return;
    stale_ = stale;
    if (!rows_.isEmpty())
        emit dataChanged(index(0, 0), index(rows_.size() - 1, ColumnCount - 1));
}
