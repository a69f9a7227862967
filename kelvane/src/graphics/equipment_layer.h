#pragma once

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
class KELVANE_EXPORT EquipmentLayer : public QGraphicsObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 45 };
    using Groups = QHash<harq::EquipmentClassifier*, QGraphicsItem*>;

    explicit EquipmentLayer(QGraphicsItem* parent = nullptr);
    ~EquipmentLayer() override;

    /// Empty: the layer shows only its tags.
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    int type() const override { return Type; }

    /// Puts \a tag (not null) under the group of its kind, creating the group
    /// on first use; the layer owns the tag from then on. Tags without a kind
    /// share one group, removed with removeClassifier(nullptr).
    void addEquipment(EquipmentTag* tag);
    /// Deletes the group of \a classifier with all its tags; an unknown kind
    /// is ignored.
    void removeClassifier(harq::EquipmentClassifier* classifier);

private:
    Groups equips_;
};
