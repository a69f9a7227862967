#pragma once

#include "item_type.h"
#include "kelvane_export.h"
#include "graphics/scene_bounds.h"

#include <QGraphicsItem>
#include <QList>
#include <QObject>
#include <QPolygonF>

class DamageBoundary;

namespace harq {
class Deck;
}

/// Holds the damage boundaries of one deck, creates and removes them, and
/// relays the maintainer's requests about them to the host, which knows the
/// other decks. Covers the whole scene while in one; paints nothing.
///
/// The list never holds a deleted boundary: a boundary destroyed elsewhere (a
/// slave whose master was removed on another deck) leaves it at once.
///
/// The host creates one layer per deck and adds it to the scene, which then
/// owns it. The boundaries are child items of the layer and are destroyed with
/// it, without any family handling across decks; when families span several
/// layers the host removes boundaries through removeBoundary first.
/// Maintenance edition only.
class KELVANE_EXPORT DamageBoundaryLayer : public QObject, public QGraphicsItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)

public:
    /// The item type returned by type(), for qgraphicsitem_cast.
    enum { Type = kelvane::DamageBoundaryLayerType };

    /// An empty layer for \a deck, which is borrowed (handed to every boundary
    /// the layer creates) and must outlive the layer.
    DamageBoundaryLayer(harq::Deck* deck, QGraphicsItem* parent = nullptr);
    /// Detaches the layer from its parent item, then deletes every boundary
    /// (a master together with its slaves, wherever they are).
    ~DamageBoundaryLayer() override;

    /// Type, identifying the item as a DamageBoundaryLayer.
    int type() const override { return Type; }
    /// The scene rectangle in a scene; otherwise empty.
    QRectF boundingRect() const override;
    /// Draws nothing: the boundaries are child items.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    /// The deck given at construction; not owned.
    harq::Deck* deck() const { return deck_; }
    /// The boundaries added and not yet removed, in the order they were added.
    const QList<DamageBoundary*>& boundaries() const { return boundaries_; }

    /// A boundary of this layer's deck, child of the layer and wired to it, but
    /// not yet in boundaries(). Its copy, edit and remove requests reach the
    /// layer's copyToUp, copyToDown and editBoundary signals and its
    /// removeBoundary slot. The layer owns it as a child item.
    DamageBoundary* newBoundary();
    /// Brings \a boundary's outline (not null) onto this layer's member of the
    /// same family, adding a slave when the layer has none.
    /// Called by the host on the layer of the deck above (after copyToUp) or
    /// below (after copyToDown). The member found keeps its own role: a master
    /// takes a slave's outline and stays a master. Copying again replaces that
    /// member's outline rather than adding another. A null \a boundary fails an
    /// assertion.
    void copyBoundaryFrom(DamageBoundary* boundary);

signals:
    /// addMasterBoundary created the master \a boundary, already in boundaries().
    void masterBoundaryCreated(DamageBoundary* boundary);
    /// Declared for hosts; the library does not emit it.
    void masterBoundaryReset(DamageBoundary* boundary);
    /// The maintainer asked to copy \a boundary to the deck above; the host
    /// finds that deck's layer and calls its copyBoundaryFrom.
    void copyToUp(DamageBoundary* boundary);
    /// The maintainer asked to copy \a boundary to the deck below; handled like copyToUp.
    void copyToDown(DamageBoundary* boundary);
    /// The maintainer asked to redraw \a boundary; the host starts the drawing
    /// with DamageBoundary::onResetBoundary.
    void editBoundary(DamageBoundary* boundary);
    /// Emitted while the boundary and its family are still intact: the host's
    /// cue to remove the slaves from the other decks' layers first.
    /// Emitted first thing in removeBoundary, also for a boundary that is not
    /// in boundaries(). A receiver may delete \a boundary itself; the removal
    /// then stops there.
    void prepareRemoveBoundary(DamageBoundary* boundary);

public slots:
    /// A new master boundary along \a path; announced with masterBoundaryCreated.
    /// A path of fewer than three points gives a boundary without segments. The
    /// layer owns the boundary; the pointer is valid until removeBoundary or the
    /// layer's destruction.
    DamageBoundary* addMasterBoundary(QPolygonF path);
    /// A new slave of \a master (not null) repeating its outline.
    /// Not announced by any signal. Owned by the layer like a master; it is also
    /// deleted when \a master is removed.
    DamageBoundary* addSlaveBoundary(DamageBoundary* master);
    /// Removes and deletes \a boundary (not null), dissolving its family ties; a
    /// master's slaves are deleted with it. When the request comes from the
    /// boundary itself the deletion waits for the event loop, the boundary
    /// having left the scene already.
    /// Emits prepareRemoveBoundary first. A boundary that is not in boundaries()
    /// is removed and deleted all the same. Slaves on other decks' layers are
    /// deleted without those layers' signals; their lists drop them at once.
    void removeBoundary(DamageBoundary* boundary);

private:
    void append(DamageBoundary* boundary);

    harq::Deck* deck_ = nullptr;
    QList<DamageBoundary*> boundaries_;
    SceneBounds scene_bounds_;
};
