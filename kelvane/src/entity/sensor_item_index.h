#pragma once

#include "entity/sensor_item.h"
#include "kelvane_export.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVector>

#include <vector>

namespace harq {

class Deck;

/// Routes data-point updates to the sensor items that follow them.
///
/// Built from one or more decks, the index maps every data-point name to the
/// items whose tag or acknowledgement tag it is. A host hands each received
/// (name, value) pair to dispatch() instead of offering it to every item.
///
/// The index is a snapshot: build it after the decks are complete, and rebuild
/// it after sensors, items or tags change. Items destroyed since are skipped,
/// never touched. Names are matched exactly (case-sensitive), as the items do;
/// an empty tag is never indexed.
class KELVANE_EXPORT SensorItemIndex
{
public:
    SensorItemIndex() = default;
    explicit SensorItemIndex(const Deck& deck);
    explicit SensorItemIndex(const std::vector<Deck*>& decks);

    /// Adds the items of every sensor of \a deck.
    void addDeck(const Deck& deck);
    void clear();

    /// Number of distinct data-point names indexed.
    int nameCount() const { return items_.size(); }
    bool contains(const QString& name) const { return items_.contains(name); }
    /// The items following \a name, in deck, sensor and item order; destroyed ones left out.
    QList<SensorItem*> items(const QString& name) const;
    /// Offers (name, value) to the items following \a name through
    /// SensorItem::setValue; returns how many items it reached.
    int dispatch(const QString& name, double value) const;

private:
    void add(const QString& name, SensorItem* item);

    QHash<QString, QVector<QPointer<SensorItem>>> items_;
};

} // namespace harq
