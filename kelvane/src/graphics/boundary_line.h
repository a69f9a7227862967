#pragma once

#include "kelvane_export.h"

#include <QGraphicsLineItem>
#include <QObject>

class DamageBoundary;

/// One segment of a damage boundary: red while normal, blue while its family is
/// highlighted; solid and 6 wide for a master, dotted and 4 wide for a slave.
/// Reports the pointer entering and leaving it.
class KELVANE_EXPORT BoundaryLine : public QObject, public QGraphicsLineItem
{
    Q_OBJECT

public:
    enum { Type = UserType + 21 };

#ifdef KELVANE_MAINTENANCE
    /// A solid segment, 2 wide, child item of \a parent.
    explicit BoundaryLine(QGraphicsItem* parent = nullptr);
#else
    /// A solid segment, 2 wide, child item of \a boundary (none when null).
    explicit BoundaryLine(DamageBoundary* boundary);
#endif
    ~BoundaryLine() override;

    int type() const override { return Type; }

    /// Takes the master role and geometry \a line.
    void makeMasterBoundary(const QLineF& line);
    /// Takes the slave role and geometry \a line.
    void makeSlaveBoundary(const QLineF& line);
    /// Highlight pen: blue, keeping the role's width and style.
    void reactTouch();
    /// Normal pen: red, keeping the role's width and style.
    void resumeBoundary();
#ifndef KELVANE_MAINTENANCE
    DamageBoundary* boundary() const { return boundary_; }
#endif

signals:
    void touchBoundary();
    void leaveBoundary();
#ifdef KELVANE_MAINTENANCE
    // The maintainer's requests about the owning boundary; the host emits them.
    void removeBoundary();
    void copyToUp();
    void copyToDown();
    void editBoundary();
#endif

protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;

private:
    void takeRole(Qt::PenStyle style, int width, const QLineF& line);
    void applyPen(Qt::GlobalColor color);

    Qt::PenStyle pen_style_ = Qt::SolidLine;
    int pen_width_;
#ifndef KELVANE_MAINTENANCE
    DamageBoundary* boundary_ = nullptr;
#endif
};
