#pragma once

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
class KELVANE_EXPORT RegionReactionLayer : public QGraphicsObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 14 };

    using GriMap = std::unordered_map<int, QGraphicsRectItem*>;
    // Guarded: a region the host destroyed itself is never touched again.
    using RsrMap = std::unordered_map<harq::Region*, QPointer<ReactionRegion>>;

    explicit RegionReactionLayer(QGraphicsItem* parent = nullptr);
    ~RegionReactionLayer() override;

    int type() const override { return Type; }

    /// Adopts \a rg (not null, with a compartment) into the container of its
    /// compartment's type. A compartment added twice keeps its first entry.
    void addRegion(ReactionRegion* rg);
    /// Destroys the reaction region of \a region (not null); unknown ones are ignored.
    void removeRegion(harq::Region* region);
    /// Destroys all containers and the regions in them; an open overlay stays.
    void clear();

    /// Empty: the layer draws nothing.
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

signals:
    void regionReflect(harq::Region* region);
    void enterRegion(ReactionRegion* region);
    void leaveRegion(ReactionRegion* region);

public slots:
    /// Ignores the event.
    void onKeyPressed(QKeyEvent* event);
    /// Shows only the compartments of \a type; containers created later start visible.
    void showType(int type);
    void hideAll();

protected:
    /// The container of \a type, created (visible) on first use.
    QGraphicsRectItem* getOrCreateGroup(int type);
    /// Overlays every compartment of the type last chosen with a polygon in a
    /// random translucent colour; a snapshot that follows no later change.
    void showSpecical();
    void closeSpecical();

private:
    void onRegionTypeChanged(harq::Region* region, int type);

    int type_ = 0;
    GriMap group_;
    RsrMap regions_;
    QGraphicsItemGroup* specical_ = nullptr;
};
