#include "alarm_feed.h"

#include "alarm_settings.h"
#include "alarm_state.h"
#include "console_clock.h"
#include "ship.h"

#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/view_group.h"

AlarmFeed::AlarmFeed(const Ship& ship, const AlarmSettings& settings, AlarmState& alarms, const ConsoleClock& clock,
                     QObject* parent)
    : QObject(parent)
    , alarms_(alarms)
    , clock_(clock)
{
    for (harq::Deck* deck : ship.decks()) {
        for (harq::Sensor* sensor : deck->sensors()) {
            const int key = sensor_keys_.size();
            sensor_keys_.insert(sensor, key);
            const harq::Region* compartment = ship.compartmentOf(sensor);
            const harq::ViewGroup* group = sensor->viewGroup();
            for (int i = 0; i < sensor->itemCount(); ++i) {
                harq::SensorItem* item = sensor->itemAt(i);
                AlarmState::Item described;
                described.tag = item->tag();
                described.confirmTag = item->confirmTag();
                described.deck = deck->id();
                described.compartment = compartment ? compartment->id() : 0;
                described.sensor = key;
                described.deckName = deck->name();
                described.compartmentName = compartment ? compartment->nameAndCode() : QString();
                described.sensorName = sensor->nameAndCode();
                described.name = settings.nameOf(item->tag(), sensor->name());
                described.group = group ? group->group() : QString();
                const QString groupName = group ? group->name() : QString();
                described.priority = settings.priorityOf(item->tag(), groupName);
                described.unit = settings.unitOf(item->tag(), groupName);
                const int id = alarms.addItem(described);
                ids_.insert(item, id);
                items_.append(item);
                sensors_.append(sensor);
            }
            connect(sensor, QOverload<harq::Sensor*, harq::SensorItem*>::of(&harq::Sensor::sensorStateChanged), this,
                    [this](harq::Sensor*, harq::SensorItem* item) {
                        alarms_.stateChanged(idOf(item), item->isAbnormal(), item->needConfirm());
                    });
            connect(sensor, &harq::Sensor::itemValueChanged, this,
                    [this, sensor](int ix) { onValueChanged(idOf(sensor->itemAt(ix))); });
        }
    }
}

QList<int> AlarmFeed::idsOf(const QList<harq::SensorItem*>& items) const
{
    QList<int> ids;
    for (const harq::SensorItem* item : items) {
        if (ids_.contains(item))
            ids.append(ids_.value(item));
    }
    return ids;
}

void AlarmFeed::onValueChanged(int id)
{
    const harq::SensorItem* item = itemOf(id);
    if (!item)
        return;
    if (item->isValueItem())
        alarms_.trend().add(id, clock_.nowMs(), item->value());
    alarms_.acknowledgementChanged(id, item->isAbnormal(), item->needConfirm());
    emit valueChanged(id);
}

QString AlarmFeed::valueText(const harq::SensorItem& item)
{
    if (item.isValueItem())
        return tr("%1 (%2)").arg(item.valueStr(), item.toolTip());
    return item.isAbnormal() ? tr("动作") : tr("正常");
}
