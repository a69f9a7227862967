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
    /// An empty index.
    SensorItemIndex() = default;
    /// The index of the items of \a deck.
    explicit SensorItemIndex(const Deck& deck);
    /// The index of the items of all \a decks, in the given order; null entries are skipped.
    explicit SensorItemIndex(const std::vector<Deck*>& decks);

    /// Adds the items of every sensor of \a deck.
    /// Adding a deck twice lists its items twice, so they receive each update twice.
    void addDeck(const Deck& deck);
    /// Forgets every name.
    void clear();

    /// Number of distinct data-point names indexed.
    int nameCount() const { return items_.size(); }
    /// True when \a name is indexed, even if all its items were destroyed since.
    bool contains(const QString& name) const { return items_.contains(name); }
    /// The items following \a name, in deck, sensor and item order; destroyed ones left out.
    QList<SensorItem*> items(const QString& name) const;
    /// Offers (name, value) to the items following \a name through
    /// SensorItem::setValue; returns how many items it reached.
    ///
    /// The items emit their signals as SensorItem::setValue does, synchronously.
    /// A receiver may rebuild or clear the index meanwhile: the items listed
    /// when the call began still get the update, unless destroyed by then.
    int dispatch(const QString& name, double value) const;

private:
    void add(const QString& name, SensorItem* item);

    QHash<QString, QVector<QPointer<SensorItem>>> items_;
};

} // namespace harq
