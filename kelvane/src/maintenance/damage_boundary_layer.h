#pragma once

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
class KELVANE_EXPORT DamageBoundaryLayer : public QObject, public QGraphicsItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)

public:
    enum { Type = UserType + 62 };

    /// An empty layer for \a deck.
    DamageBoundaryLayer(harq::Deck* deck, QGraphicsItem* parent = nullptr);
    ~DamageBoundaryLayer() override;

    int type() const override { return Type; }
    /// The scene rectangle in a scene; otherwise empty.
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    harq::Deck* deck() const { return deck_; }
    /// The boundaries added and not yet removed, in the order they were added.
    const QList<DamageBoundary*>& boundaries() const { return boundaries_; }

    /// A boundary of this layer's deck, child of the layer and wired to it, but
    /// not yet in boundaries().
    DamageBoundary* newBoundary();
    /// Brings \a boundary's outline (not null) onto this layer's member of the
    /// same family, adding a slave when the layer has none.
    void copyBoundaryFrom(DamageBoundary* boundary);

signals:
    void masterBoundaryCreated(DamageBoundary* boundary);
    /// Declared for hosts; the library does not emit it.
    void masterBoundaryReset(DamageBoundary* boundary);
    void copyToUp(DamageBoundary* boundary);
    void copyToDown(DamageBoundary* boundary);
    void editBoundary(DamageBoundary* boundary);
    /// Emitted while the boundary and its family are still intact: the host's
    /// cue to remove the slaves from the other decks' layers first.
    void prepareRemoveBoundary(DamageBoundary* boundary);

public slots:
    /// A new master boundary along \a path; announced with masterBoundaryCreated.
    DamageBoundary* addMasterBoundary(QPolygonF path);
    /// A new slave of \a master (not null) repeating its outline.
    DamageBoundary* addSlaveBoundary(DamageBoundary* master);
    /// Removes and deletes \a boundary (not null), dissolving its family ties; a
    /// master's slaves are deleted with it. When the request comes from the
    /// boundary itself the deletion waits for the event loop, the boundary
    /// having left the scene already.
    void removeBoundary(DamageBoundary* boundary);

private:
    void append(DamageBoundary* boundary);

    harq::Deck* deck_ = nullptr;
    QList<DamageBoundary*> boundaries_;
    SceneBounds scene_bounds_;
};
