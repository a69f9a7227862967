#pragma once

#include "item_type.h"
#include "kelvane_export.h"

#include <QGraphicsObject>
#include <QList>
#include <QMetaType>
#include <QPointer>
#include <QPolygonF>

#include <cstddef>

namespace harq {
class Deck;
}

class BoundaryLine;
class MaintenanceCommand;
class RegionPathGraphic;

/// A closed fire or smoke boundary on a deck: a container item whose child
/// segments draw the outline. Families are one master and the slaves that
/// repeat its outline; hovering any member highlights the whole family.
/// Destroying a slave takes it out of its master's family; destroying a master
/// destroys its slaves.
///
/// The boundary owns its segments (BoundaryLine child items). Slaves are not
/// owned by their master's item tree (they usually sit on other decks) but are
/// deleted with it all the same. In the edition with tags the host creates the
/// boundaries; in the maintenance edition the damage boundary layer does, and
/// the boundary also relays the maintainer's requests and can be redrawn.
/// Colours and widths are fixed: see BoundaryLine.
class KELVANE_EXPORT DamageBoundary
#ifdef KELVANE_MAINTENANCE
    : public QObject
    , public QGraphicsItem
#else
    : public QGraphicsObject
#endif
{
    Q_OBJECT

public:
    /// Item type of a boundary, for qgraphicsitem_cast().
    enum { Type = kelvane::DamageBoundaryType };

    /// An empty master boundary of \a deck (no segments; in the edition with
    /// tags also no family code yet and type FIRE), child item of \a parent
    /// (none when null). The deck is stored, not owned, and may be null.
    DamageBoundary(harq::Deck* deck, QGraphicsItem* parent = nullptr);
    /// Takes the boundary out of its parent item and dissolves its family: a
    /// slave leaves its master's list, a master deletes its slaves (each taken
    /// out of its parent item and parent object first), wherever they are shown.
    /// The segments go with the boundary, as by clearPath().
    ~DamageBoundary() override;

    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }
    /// Empty: only the segments are seen.
    QRectF boundingRect() const override;
    /// Draws nothing: the segments draw the outline.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    /// Makes this boundary a master, leaving the family of any master it
    /// followed, with solid segments closing the outline \a path (fewer than 3
    /// points leave no segments). Slaves it already has stay attached and keep
    /// their outline. In the edition with tags each call also draws a new
    /// family code.
    void makeMasterBoundary(const QPolygonF& path);
    /// Makes this boundary a slave of \a master, leaving any master it followed,
    /// with dotted copies of the master's current outline. Later changes of the
    /// master's outline are not followed: onCopyFrom() brings them over.
    /// A null \a master, or this boundary itself, stops the process through the
    /// library's assertion. A \a master that follows this boundary, directly or
    /// through others, is refused: the call changes nothing (master() tells),
    /// since the family's highlight would go round the loop for ever. The
    /// slaves this boundary had become \a master's, so they stay in one family
    /// with it. \a master should itself be a master; this is not checked, and a
    /// slave of a slave is left out of its family's highlight.
    void makeSlaveBoundary(DamageBoundary* master);

    /// The start points of \a b's segments in order, not closed; empty for null.
    static QPolygonF boundaryPath(const DamageBoundary* b);
    /// This boundary's outline: its segments' start points in order, not closed.
    QPolygonF boundaryPath() const { return boundaryPath(this); }
    /// Deletes all segments; role and family stay. A segment under the pointer
    /// first gets its leave, so a family it highlighted goes back to normal:
    /// Qt tells no item deleted under the pointer that it was left. Every
    /// rebuilding of the outline goes through here.
    void clearPath();

    /// The deck given at construction; not owned.
    harq::Deck* deck() const { return deck_; }
    /// The master this boundary follows, not owned; null for a master.
    DamageBoundary* master() const { return master_; }
    /// Whether this boundary follows no master.
    bool isMaster() const { return master_ == nullptr; }
    /// A master's slaves in the order they joined; they are deleted with it.
    const QList<DamageBoundary*>& slaves() const { return slaves_; }
    /// The segments in outline order, owned by this boundary; they are deleted
    /// by the next rebuilding of the outline and by clearPath().
    const QList<BoundaryLine*>& lines() const { return lines_; }
    /// The first segment's start point; never (0, 0), so hosts may use the null
    /// point as "no position". Without segments, or when that point is the
    /// null point, (0.01, 0.01).
    QPointF firstPoint() const;

public slots:
    /// Highlights the whole family: a slave passes the call to its master, which
    /// turns its own and all its slaves' segments blue. Each segment's
    /// BoundaryLine::touchBoundary() is connected here.
    void onTouchBoundary();
    /// Restores the whole family's normal red pens, passing through the master
    /// as onTouchBoundary() does. Each segment's BoundaryLine::leaveBoundary()
    /// is connected here.
    void onLeaveBoundary();
    /// Takes \a other's outline, keeping this boundary's own role: the segments
    /// are rebuilt in this boundary's style, as by resetBoundary() (in the
    /// maintenance edition makeBoundary(), with the requests relayed). A null
    /// \a other stops the process through the library's assertion.
    void onCopyFrom(DamageBoundary* other);

private:
    // The edition units' steps inside the shared code.
    friend class DamageBoundaryEdition;

    void buildSegments(QPolygonF path, bool master);
    void leaveMaster();
    void dissolveFamily();

    harq::Deck* deck_ = nullptr;
    DamageBoundary* master_ = nullptr;
    QList<DamageBoundary*> slaves_;
    QList<BoundaryLine*> lines_;

    // What only one edition has.
#ifdef KELVANE_MAINTENANCE
    Q_INTERFACES(QGraphicsItem)

public:
    /// Replaces the segments by a closed outline along \a path, solid when
    /// \a master is true, dotted otherwise; fewer than 3 points leave no
    /// segments. Only the style follows \a master: the boundary keeps its role
    /// and family. Each new segment's requests are relayed as this boundary's
    /// copyToUp(), copyToDown(), removeBoundary() and editBoundary().
    void makeBoundary(QPolygonF path, bool master);
    /// The command whose states drive a redrawing started by onResetBoundary();
    /// not owned, and a destroyed command counts as none. A redrawing already
    /// under way keeps the command it started with.
    void setMaintenanceCommand(MaintenanceCommand* command);
    /// Dissolves the family ties ahead of a removal: a slave leaves its master,
    /// a master deletes its slaves (each taken out of its parent item and
    /// parent object first). The boundary layer calls it before deleting a
    /// boundary; the destructor does the same for a boundary deleted otherwise.
    void prepareRemove();

public slots:
    /// Removes the outline and lets the maintainer draw a new one, driven by the
    /// command set with setMaintenanceCommand(); the accepted drawing rebuilds
    /// the boundary in its own role. The segments are deleted at once, and a
    /// drawing item becomes a child of this boundary, replacing an unfinished
    /// earlier one. Without a command nothing drives the drawing; an abandoned
    /// drawing (IDLE or POSITIONING announced after PATH, with no outline
    /// accepted) leaves the boundary without segments until it is redrawn or
    /// removed, and stops following the command, so a later drawing for another
    /// task does not rebuild this boundary. A redrawn master does not pass its
    /// outline on to its slaves.
    void onResetBoundary();

signals:
    /// Declared for hosts; the library does not emit it.
    void masterBoundaryCreated(DamageBoundary* master);
    /// A segment's BoundaryLine::copyToUp() request, relayed with this boundary
    /// as \a self; the boundary layer passes it on to the host.
    void copyToUp(DamageBoundary* self);
    /// A segment's BoundaryLine::copyToDown() request, relayed with this
    /// boundary as \a self; the boundary layer passes it on to the host.
    void copyToDown(DamageBoundary* self);
    /// A segment's BoundaryLine::removeBoundary() request, relayed with this
    /// boundary as \a self. The boundary layer answers it by removing \a self;
    /// the deletion waits until the emission is over.
    void removeBoundary(DamageBoundary* self);
    /// A segment's BoundaryLine::editBoundary() request, relayed with this
    /// boundary as \a self; the boundary layer passes it on to the host, which
    /// usually answers with onResetBoundary().
    void editBoundary(DamageBoundary* self);

private:
    void connectRequests(BoundaryLine* line);
    void finishRedrawing(const QPolygonF& path);

    QPointer<MaintenanceCommand> command_;
    QPointer<RegionPathGraphic> redrawing_;
#else
public:
    /// What the boundary contains. The underlying type is fixed, so a value
    /// other than the two (read from elsewhere) is valid and shown as undefined
    /// by btypeStr(), not undefined behaviour.
    enum BType : int { FIRE = 0, SMOKE = 1 };
    /// Replaces the segments by a closed outline along \a path, solid when
    /// \a master is true, dotted otherwise; fewer than 3 points leave no
    /// segments. Only the style follows \a master: the boundary keeps its role
    /// and family.
    void resetBoundary(QPolygonF path, bool master);
    /// The family code: this boundary's own for a master, its master's for a
    /// slave. It tells families apart within one run (it hashes the time and
    /// an address) and is not stable across runs; 0 while the family's master
    /// has not been through makeMasterBoundary().
    size_t masterCode() const;
    /// The code given by makeMasterBoundary(); 0 until then. A slave keeps any
    /// code it had as a master; family identity goes through masterCode().
    size_t boundaryCode() const { return code_; }
    /// Sets the type to \a type; nothing is redrawn.
    void setBType(BType type) { btype_ = type; }
    /// The type's display text, translated in this class's context: fire
    /// boundary, smoke boundary, or undefined boundary for any other value.
    QString btypeStr() const;
    /// Shows or hides this boundary's own segments (not its slaves'); the
    /// boundary item keeps its visibility, and segments built later start visible.
    /// Hiding a segment under the pointer ends its hover first, as clearPath() does.
    void setBoundaryVisible(bool visible);

private:
    size_t code_ = 0;
    BType btype_ = FIRE;
#endif
};

Q_DECLARE_METATYPE(DamageBoundary*)
