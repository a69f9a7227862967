#pragma once

#include "item_type.h"
#include "kelvane_export.h"

#include <QGraphicsLineItem>
#include <QObject>

class DamageBoundary;

/// One segment of a damage boundary: red while normal, blue while its family is
/// highlighted; solid and 6 wide for a master, dotted and 4 wide for a slave.
/// Reports the pointer entering and leaving it.
///
/// Segments are made and deleted by their DamageBoundary, which owns them as
/// child items; a host has no need to create one. Deleting a segment first
/// takes it out of its parent item.
class KELVANE_EXPORT BoundaryLine : public QObject, public QGraphicsLineItem
{
    Q_OBJECT

public:
    /// Item type of a segment, for qgraphicsitem_cast().
    enum { Type = kelvane::BoundaryLineType };

    /// Takes the segment out of its parent item first.
    ~BoundaryLine() override;

    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

    /// Takes the master role (solid, 6 wide) with the normal red pen and the
    /// geometry \a line, in the parent's coordinates.
    void makeMasterBoundary(const QLineF& line);
    /// Takes the slave role (dotted, 4 wide) with the normal red pen and the
    /// geometry \a line, in the parent's coordinates.
    void makeSlaveBoundary(const QLineF& line);
    /// Applies the highlight pen: blue, with the role's width and style.
    void reactTouch();
    /// Applies the normal pen: red, with the role's width and style.
    void resumeBoundary();

signals:
    /// The pointer entered the segment. The owning boundary highlights its
    /// family in answer.
    void touchBoundary();
    /// The pointer left the segment. The owning boundary restores its family's
    /// normal pens in answer.
    void leaveBoundary();

protected:
    /// Emits touchBoundary() after the line item's own handling.
    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
    /// Emits leaveBoundary() after the line item's own handling, once per
    /// hoverEnterEvent(): a leave without an enter before it (one sent ahead of
    /// hiding or deleting the segment, then Qt's own) changes nothing.
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;

private:
    void takeRole(Qt::PenStyle style, int width, const QLineF& line);
    void applyPen(Qt::GlobalColor color);

    // Width of the pen reactTouch() and resumeBoundary() use before a role.
    static constexpr int kRolelessWidth = 2;

    Qt::PenStyle pen_style_ = Qt::SolidLine;
    int pen_width_ = kRolelessWidth;
    bool hovered_ = false;

    // What only one edition has.
#ifdef KELVANE_MAINTENANCE
public:
    /// A segment without role or geometry, child item of \a parent (none when
    /// null), taking hover events. Until makeMasterBoundary() or
    /// makeSlaveBoundary() it draws with the line item's default pen;
    /// reactTouch() and resumeBoundary() before a role use a solid pen 2 wide.
    explicit BoundaryLine(QGraphicsItem* parent = nullptr);

signals:
    // The four requests below are never emitted by the library: the host emits
    // them on the segment the maintainer chose, and the owning boundary relays
    // each as its own signal of the same name.
    /// Request to remove the owning boundary.
    void removeBoundary();
    /// Request to copy the owning boundary to the deck above.
    void copyToUp();
    /// Request to copy the owning boundary to the deck below.
    void copyToDown();
    /// Request to draw the owning boundary's outline anew.
    void editBoundary();
#else
public:
    /// A segment without role or geometry, child item of \a boundary (none when
    /// null), taking hover events; it has no parent object. Until
    /// makeMasterBoundary() or makeSlaveBoundary() it draws with the line
    /// item's default pen; reactTouch() and resumeBoundary() before a role use
    /// a solid pen 2 wide.
    explicit BoundaryLine(DamageBoundary* boundary);
    /// The boundary given at construction, which owns the segment; null when none was.
    DamageBoundary* boundary() const { return boundary_; }

private:
    DamageBoundary* boundary_ = nullptr;
#endif
};
