#pragma once

#include "item_type.h"
#include "kelvane_export.h"

#include <QGraphicsObject>
#include <QPointer>

#include <unordered_map>

class QGraphicsItemGroup;
class QGraphicsRectItem;
class QKeyEvent;
class ReactionRegion;

namespace harq {
class Region;
}

/// Holds the reaction regions of the deck on show, one container per
/// compartment type so that showType() shows one type and hides the others.
/// Re-emits the regions' pointer and double-click signals and follows type
/// changes of the compartments. Draws nothing itself.
///
/// The host creates the layer, places it in the deck scene and adds one region
/// per compartment; the layer owns the regions through its containers. When a
/// compartment changes type, its region moves to the container of the new type
/// if that container exists, and otherwise stays where it is.
class KELVANE_EXPORT RegionReactionLayer : public QGraphicsObject
{
    Q_OBJECT

public:
    /// Item type of the region reaction layer, for qgraphicsitem_cast().
    enum { Type = kelvane::RegionReactionLayerType };

    /// The container of each compartment type: a rectangle item without
    /// rectangle, child item of the layer and parent of that type's regions.
    using GriMap = std::unordered_map<int, QGraphicsRectItem*>;
    /// The reaction region of each compartment added; the compartments are not
    /// owned. Guarded: a region the host destroyed itself is never touched again.
    using RsrMap = std::unordered_map<harq::Region*, QPointer<ReactionRegion>>;

    /// An empty layer, child item of \a parent (none when null).
    explicit RegionReactionLayer(QGraphicsItem* parent = nullptr);
    /// Takes the layer out of its parent item; containers, regions and an open
    /// overlay go with it.
    ~RegionReactionLayer() override;

    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

    /// Adopts \a rg (not null, with a compartment) into the container of its
    /// compartment's type. A compartment added twice keeps its first entry.
    /// The layer owns the region from then on and re-emits its signals once;
    /// adding a region the layer already holds does nothing. The container
    /// is created when missing, visible whatever type is chosen. A null \a rg,
    /// or one without compartment, stops the process through the library's
    /// assertion.
    void addRegion(ReactionRegion* rg);
    /// Destroys the reaction region of \a region and forgets it; its container
    /// stays, possibly empty. Unknown compartments are ignored; a null
    /// \a region stops the process through the library's assertion.
    void removeRegion(harq::Region* region);
    /// Destroys all containers and the regions in them; an open overlay stays.
    void clear();

    /// Empty: the layer draws nothing.
    QRectF boundingRect() const override;
    /// Draws nothing; the regions draw themselves.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

signals:
    /// A left double click on a region, with its compartment as \a region
    /// (ReactionRegion::reflectRegion() passed on).
    void regionReflect(harq::Region* region);
    /// The pointer entered \a region (ReactionRegion::enter() passed on).
    void enterRegion(ReactionRegion* region);
    /// The pointer left \a region (ReactionRegion::leave() passed on).
    void leaveRegion(ReactionRegion* region);

public slots:
    /// Does nothing: \a event is neither read nor accepted or ignored.
    void onKeyPressed(QKeyEvent* event);
    /// Shows only the compartments of \a type; containers created later start visible.
    /// Closes an open overlay and remembers \a type for showSpecical(); a type
    /// without compartments leaves nothing on show.
    void showType(int type);
    /// Hides every container; an open overlay stays. showType() and containers
    /// created later bring regions back.
    void hideAll();

protected:
    /// The container of \a type, created (visible) on first use.
    QGraphicsRectItem* getOrCreateGroup(int type);
    /// Overlays every compartment of the type last chosen with a polygon in a
    /// random translucent colour; a snapshot that follows no later change.
    /// An open overlay is replaced. Nothing in the library calls it.
    void showSpecical();
    /// Removes the overlay of showSpecical(), if one is open.
    void closeSpecical();

private:
    bool holds(const ReactionRegion* rg) const;
    void onRegionTypeChanged(harq::Region* region, int type);

    int type_ = 0;
    GriMap group_;
    RsrMap regions_;
    QGraphicsItemGroup* specical_ = nullptr;
};
