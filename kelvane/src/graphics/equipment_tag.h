#pragma once

#include "graphics/pixmap_tag.h"
#include "item_type.h"
#include "kelvane_export.h"

#include <memory>

namespace harq {
class Equipment;
class EquipmentClassifier;
} // namespace harq

/// A piece of equipment on the deck plan, placed at the equipment's position
/// and named after its kind. The tag keeps the equipment alive while it lives.
/// Its size comes from the equipment catalogue. Edition with tags only.
class KELVANE_EXPORT EquipmentTag : public PixmapTag
{
    Q_OBJECT

public:
    /// Item type of an equipment tag, for qgraphicsitem_cast().
    enum { Type = kelvane::EquipmentTagType };

    /// A tag for \a equipment, sharing its ownership, placed at the
    /// equipment's position and a child item of \a parent (none when null). It
    /// shows nothing until it is given a picture. A null \a equipment stops the
    /// process through the library's assertion.
    explicit EquipmentTag(std::shared_ptr<harq::Equipment> equipment, QGraphicsItem* parent = nullptr);
    /// Releases the tag's share of the equipment.
    ~EquipmentTag() override;

    /// The equipment tag \a item is, or whose picture it is; null otherwise and for null.
    static EquipmentTag* toEquipmentTag(QGraphicsItem* item);

    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

    /// The equipment, never null; valid at least as long as the tag lives.
    harq::Equipment* equipment() const { return equip_.get(); }
    /// The equipment's kind; null when the equipment has none.
    harq::EquipmentClassifier* classifier() const;

protected:
    /// Names the tag after the equipment's kind (an empty name without a
    /// kind), then shows the picture. So whatever text was set before, a new
    /// picture brings back the kind's name.
    void makePixmap(const QPixmap& pixmap) override;
    /// The equipment catalogue's marker width, in scene units.
    double tagWidth() const override;
    /// Somewhat more opaque than the catalogue says, to stand out from teams
    /// and free tags; the item bounds it at fully opaque.
    double tagOpacity() const override;

private:
    std::shared_ptr<harq::Equipment> equip_;
};
