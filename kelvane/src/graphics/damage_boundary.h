#pragma once

#include "kelvane_export.h"

#include <QList>
#include <QMetaType>
#include <QPolygonF>

#ifdef KELVANE_MAINTENANCE
#include <QGraphicsItem>
#include <QObject>
#include <QPointer>
#else
#include <QGraphicsObject>
#endif

#include <cstddef>

namespace harq {
class Deck;
}

class BoundaryLine;
#ifdef KELVANE_MAINTENANCE
class MaintenanceCommand;
class RegionPathGraphic;
#endif

/// A closed fire or smoke boundary on a deck: a container item whose child
/// segments draw the outline. Families are one master and the slaves that
/// repeat its outline; hovering any member highlights the whole family.
/// Destroying a slave takes it out of its master's family; destroying a master
/// destroys its slaves.
class KELVANE_EXPORT DamageBoundary
#ifdef KELVANE_MAINTENANCE
    : public QObject
    , public QGraphicsItem
#else
    : public QGraphicsObject
#endif
{
    Q_OBJECT
#ifdef KELVANE_MAINTENANCE
    Q_INTERFACES(QGraphicsItem)
#endif

public:
#ifndef KELVANE_MAINTENANCE
    // A fixed underlying type: values from elsewhere outside the two are valid
    // (and shown as undefined), not undefined behaviour.
    enum BType : int { FIRE = 0, SMOKE = 1 };
#endif
    enum { Type = UserType + 20 };

    /// An empty master boundary (no segments) of \a deck, child of \a parent.
    DamageBoundary(harq::Deck* deck, QGraphicsItem* parent = nullptr);
    ~DamageBoundary() override;

    int type() const override { return Type; }
    /// Empty: only the segments are seen.
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    /// Makes this boundary a master with solid segments along \a path.
    void makeMasterBoundary(const QPolygonF& path);
    /// Makes this boundary a slave of \a master (not null) with dotted copies
    /// of the master's current outline.
    void makeSlaveBoundary(DamageBoundary* master);
#ifdef KELVANE_MAINTENANCE
    /// Replaces the segments by a closed outline along \a path, solid for a
    /// master, dotted for a slave; fewer than 3 points leave no segments.
    void makeBoundary(QPolygonF path, bool master);
    /// The command whose states drive a redrawing started by onResetBoundary().
    void setMaintenanceCommand(MaintenanceCommand* command);
    /// Dissolves the family ties ahead of a removal: a slave leaves its master,
    /// a master deletes its slaves.
    void prepareRemove();
#else
    /// Replaces the segments by a closed outline along \a path, solid for a
    /// master, dotted for a slave; fewer than 3 points leave no segments.
    void resetBoundary(QPolygonF path, bool master);
#endif

    /// The start points of \a b's segments in order, not closed; empty for null.
    static QPolygonF boundaryPath(const DamageBoundary* b);
    QPolygonF boundaryPath() const { return boundaryPath(this); }
    /// Deletes all segments.
    void clearPath();

    harq::Deck* deck() const { return deck_; }
    /// Null for a master.
    DamageBoundary* master() const { return master_; }
    bool isMaster() const { return master_ == nullptr; }
    /// A master's slaves in the order they joined; empty for a slave.
    const QList<DamageBoundary*>& slaves() const { return slaves_; }
    /// The segments in outline order.
    const QList<BoundaryLine*>& lines() const { return lines_; }
    /// The first segment's start point; never (0, 0), so hosts may use the null
    /// point as "no position".
    QPointF firstPoint() const;

#ifndef KELVANE_MAINTENANCE
    /// The family code: this boundary's own for a master, its master's for a slave.
    size_t masterCode() const;
    /// The code given by makeMasterBoundary(); 0 until then.
    size_t boundaryCode() const { return code_; }
    /// Sets the type; nothing is redrawn.
    void setBType(BType type) { btype_ = type; }
    /// The type's display text.
    QString btypeStr() const;
    /// Shows or hides this boundary's own segments (not its slaves').
    void setBoundaryVisible(bool visible);
#endif

#ifdef KELVANE_MAINTENANCE
signals:
    /// Declared for hosts; the library does not emit it.
    void masterBoundaryCreated(DamageBoundary* master);
    void copyToUp(DamageBoundary* self);
    void copyToDown(DamageBoundary* self);
    void removeBoundary(DamageBoundary* self);
    void editBoundary(DamageBoundary* self);
#endif

public slots:
    /// Highlights the whole family.
    void onTouchBoundary();
    /// Restores the whole family's normal pens.
    void onLeaveBoundary();
    /// Takes \a other's outline (not null), keeping this boundary's own role.
    void onCopyFrom(DamageBoundary* other);
#ifdef KELVANE_MAINTENANCE
    /// Removes the outline and lets the maintainer draw a new one, driven by the
    /// command set with setMaintenanceCommand(); the accepted drawing rebuilds
    /// the boundary in its own role.
    void onResetBoundary();
#endif

private:
    void buildSegments(QPolygonF path, bool master);
    void leaveMaster();
    void dissolveFamily();
#ifdef KELVANE_MAINTENANCE
    void connectRequests(BoundaryLine* line);
    void finishRedrawing(const QPolygonF& path);
#endif

    harq::Deck* deck_ = nullptr;
#ifndef KELVANE_MAINTENANCE
    size_t code_ = 0;
#endif
    DamageBoundary* master_ = nullptr;
    QList<DamageBoundary*> slaves_;
    QList<BoundaryLine*> lines_;
#ifdef KELVANE_MAINTENANCE
    QPointer<MaintenanceCommand> command_;
    QPointer<RegionPathGraphic> redrawing_;
#else
    BType btype_ = FIRE;
#endif
};

Q_DECLARE_METATYPE(DamageBoundary*)
