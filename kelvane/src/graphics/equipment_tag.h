#pragma once

#include "graphics/pixmap_tag.h"
#include "kelvane_export.h"

#include <memory>

namespace harq {
class Equipment;
class EquipmentClassifier;
} // namespace harq

/// A piece of equipment on the deck plan, placed at the equipment's position
/// and named after its kind. The tag keeps the equipment alive while it lives.
class KELVANE_EXPORT EquipmentTag : public PixmapTag
{
    Q_OBJECT

public:
    enum { Type = UserType + 43 };

    /// \a equipment must not be null.
    explicit EquipmentTag(std::shared_ptr<harq::Equipment> equipment, QGraphicsItem* parent = nullptr);
    ~EquipmentTag() override;

    /// The equipment tag \a item is, or whose picture it is; null otherwise and for null.
    static EquipmentTag* toEquipmentTag(QGraphicsItem* item);

    int type() const override { return Type; }

    harq::Equipment* equipment() const { return equip_.get(); }
    /// The equipment's kind; null when the equipment has none.
    harq::EquipmentClassifier* classifier() const;

protected:
    /// Names the tag after the equipment's kind (an empty name without a
    /// kind), then shows the picture.
    void makePixmap(const QPixmap& pixmap) override;
    double tagWidth() const override;
    /// Somewhat more opaque than the catalogue says, to stand out from teams
    /// and free tags; the item bounds it at fully opaque.
    double tagOpacity() const override;

private:
    std::shared_ptr<harq::Equipment> equip_;
};
