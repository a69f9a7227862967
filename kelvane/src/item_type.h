#pragma once

#include <QGraphicsItem>

namespace kelvane {

/// The type() of every graphics item the library defines, kept in one place so that
/// no two classes share an id: qgraphicsitem_cast relies on it. The values are part of
/// the API (a host may compare type() with them), so they never change; a host's own
/// items keep clear of UserType + 10 to UserType + 99.
enum ItemType : int {
    CompoundSensorGraphicType = QGraphicsItem::UserType + 10,
    MarkSensorGraphicType = QGraphicsItem::UserType + 11,
    SensorLayerType = QGraphicsItem::UserType + 12,
    ReactionRegionType = QGraphicsItem::UserType + 13,
    RegionReactionLayerType = QGraphicsItem::UserType + 14,
    DamageBoundaryType = QGraphicsItem::UserType + 20,
    BoundaryLineType = QGraphicsItem::UserType + 21,
    PixmapTagType = QGraphicsItem::UserType + 41,
    TeamTagType = QGraphicsItem::UserType + 42,
    EquipmentTagType = QGraphicsItem::UserType + 43,
    TagEditorType = QGraphicsItem::UserType + 44,
    EquipmentLayerType = QGraphicsItem::UserType + 45,
    PathEditorType = QGraphicsItem::UserType + 46,
    PathDrawerType = QGraphicsItem::UserType + 47,
    PositionIconGraphicType = QGraphicsItem::UserType + 60,
    RegionPathGraphicType = QGraphicsItem::UserType + 61,
    DamageBoundaryLayerType = QGraphicsItem::UserType + 62,
};

} // namespace kelvane
