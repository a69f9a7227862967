#pragma once

#include "item_type.h"
#include "kelvane_export.h"

#include <QGraphicsObject>
#include <QHash>

class EquipmentTag;

namespace harq {
class EquipmentClassifier;
} // namespace harq

/// The invisible layer of equipment tags, one group item per kind of
/// equipment, so a whole kind can be taken off the plan at once. Groups sit
/// at the layer's origin; tags keep their positions.
///
/// The deck scene creates the layer on demand (DeckScene::getOrCreateEquipmentLayer())
/// as a top-level item; the layer owns its groups, and each group the tags
/// under it, through the item tree.
class KELVANE_EXPORT EquipmentLayer : public QGraphicsObject
{
    Q_OBJECT

public:
    /// Item type of the equipment layer, for qgraphicsitem_cast().
    enum { Type = kelvane::EquipmentLayerType };
    /// The group item of each kind of equipment. The kinds belong to the ship
    /// model and are not owned; the groups are child items of the layer.
    using Groups = QHash<harq::EquipmentClassifier*, QGraphicsItem*>;

    /// An empty layer, child item of \a parent (none when null).
    explicit EquipmentLayer(QGraphicsItem* parent = nullptr);
    /// Takes the layer out of its parent item; its groups and their tags are
    /// deleted with it.
    ~EquipmentLayer() override;

    /// Empty: the layer shows only its tags.
    QRectF boundingRect() const override;
    /// Draws nothing; the groups draw nothing either.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

    /// Puts \a tag under the group of its kind, creating the group on first
    /// use; the layer owns the tag from then on. Tags without a kind share one
    /// group, removed with removeClassifier(nullptr). The kind is read now; a
    /// group stays, possibly empty, until removeClassifier(). A null \a tag
    /// stops the process through the library's assertion.
    void addEquipment(EquipmentTag* tag);
    /// Deletes the group of \a classifier with all its tags, each releasing its
    /// share of its equipment; an unknown kind is ignored. A later tag of that
    /// kind gets a fresh group.
    void removeClassifier(harq::EquipmentClassifier* classifier);

private:
    Groups equips_;
};
