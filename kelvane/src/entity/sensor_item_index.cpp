#include "entity/sensor_item_index.h"

#include "entity/deck.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"

namespace harq {

SensorItemIndex::SensorItemIndex(const Deck& deck)
{
    addDeck(deck);
}

SensorItemIndex::SensorItemIndex(const std::vector<Deck*>& decks)
{
    for (const Deck* deck : decks) {
        if (deck)
            addDeck(*deck);
    }
}

void SensorItemIndex::addDeck(const Deck& deck)
{
    for (const Sensor* sensor : deck.sensors()) {
        for (auto it = sensor->beginItem(); it != sensor->endItem(); ++it) {
            SensorItem* item = it->get();
            add(item->tag(), item);
            // An item listening to one name for both only takes the value.
            if (item->confirmTag() != item->tag())
                add(item->confirmTag(), item);
        }
    }
}

void SensorItemIndex::clear()
{
    items_.clear();
}

QList<SensorItem*> SensorItemIndex::items(const QString& name) const
{
    QList<SensorItem*> alive;
    const auto found = items_.constFind(name);
    if (found == items_.cend())
        return alive;
    for (const QPointer<SensorItem>& item : found.value()) {
        if (item)
            alive.append(item.data());
    }
    return alive;
}

int SensorItemIndex::dispatch(const QString& name, double value) const
{
    const auto found = items_.constFind(name);
    if (found == items_.cend())
        return 0;
    // A shared copy: a receiver that rebuilds the index cannot pull the list away.
    const QVector<QPointer<SensorItem>> targets = found.value();
    int delivered = 0;
    for (const QPointer<SensorItem>& item : targets) {
        if (item) {
            item->setValue(name, value);
            ++delivered;
        }
    }
    return delivered;
}

void SensorItemIndex::add(const QString& name, SensorItem* item)
{
    if (!name.isEmpty())
        items_[name].append(item);
}

} // namespace harq
