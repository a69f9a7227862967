#include "graphics/region_reaction_layer.h"

#include "entity/region.h"
#include "graphics/hover_end.h"
#include "graphics/reaction_region.h"
#include "kelvane_assert.h"
#include "object_link.h"

#include <QBrush>
#include <QColor>
#include <QGraphicsItemGroup>
#include <QGraphicsPolygonItem>
#include <QGraphicsRectItem>
#include <QRandomGenerator>

#include <vector>

namespace {

/// Overlay colour channels are drawn from 0 .. kOverlayChannelBound - 1.
constexpr int kOverlayChannelBound = 255;
constexpr int kOverlayAlpha = 160;

QColor randomOverlayColor()
{
    QRandomGenerator* random = QRandomGenerator::global();
    const int red = random->bounded(kOverlayChannelBound);
    const int green = random->bounded(kOverlayChannelBound);
    const int blue = random->bounded(kOverlayChannelBound);
    return QColor(red, green, blue, kOverlayAlpha);
}

// A host that saw enterRegion waits for leaveRegion, which Qt would not send
// once the region is hidden or gone. The regions are gathered first: a slot of
// the leave may delete regions, or add them to the layer.
void endHovers(const std::vector<QGraphicsItem*>& containers)
{
    QList<QPointer<ReactionRegion>> regions;
    for (const QGraphicsItem* container : containers) {
        for (QGraphicsItem* item : container->childItems()) {
            if (auto* rg = qgraphicsitem_cast<ReactionRegion*>(item))
                regions.append(rg);
        }
    }
    for (const QPointer<ReactionRegion>& rg : qAsConst(regions)) {
        if (rg)
            kelvane::endHover(rg);
    }
}

std::vector<QGraphicsItem*> containersExcept(const RegionReactionLayer::GriMap& group, const QGraphicsItem* kept)
{
    std::vector<QGraphicsItem*> containers;
    for (const auto& container : group) {
        if (container.second != kept)
            containers.push_back(container.second);
    }
    return containers;
}

} // namespace

RegionReactionLayer::RegionReactionLayer(QGraphicsItem* parent)
    : QGraphicsObject(parent)
{
}

RegionReactionLayer::~RegionReactionLayer()
{
    setParentItem(nullptr);
}

void RegionReactionLayer::addRegion(ReactionRegion* rg)
{
    KELVANE_ASSERT(rg && rg->region());
    if (holds(rg))
        return;
    harq::Region* region = rg->region();

    connect(rg, &ReactionRegion::enter, this, &RegionReactionLayer::enterRegion);
    connect(rg, &ReactionRegion::leave, this, &RegionReactionLayer::leaveRegion);
    connect(region, &harq::Region::typeChanged, this,
            [this, region](int type) { onRegionTypeChanged(region, type); });
    connect(rg, &ReactionRegion::reflectRegion, this, &RegionReactionLayer::regionReflect);

    rg->setParentItem(getOrCreateGroup(region->type()));

    QPointer<ReactionRegion>& entry = regions_[region];
    // An entry whose region is gone does not count as the earlier one.
    if (!entry || entry->region() != region)
        entry = rg;
}

bool RegionReactionLayer::holds(const ReactionRegion* rg) const
{
    // The layer's regions live in its containers, which are its own children.
    const QGraphicsItem* container = rg->parentItem();
    return container && container->parentItem() == this;
}

void RegionReactionLayer::removeRegion(harq::Region* region)
{
    KELVANE_ASSERT(region);
    const auto it = regions_.find(region);
    if (it == regions_.end())
        return;
    const QPointer<ReactionRegion> rg = it->second;
    regions_.erase(it);
    if (rg)
        kelvane::endHover(rg);
    // A slot of the leave may have deleted the region already.
    if (!rg)
        return;
    if (harq::Region* alive = rg->region())
        disconnect(alive, &harq::Region::typeChanged, this, nullptr);
    rg->setParent(nullptr);
    delete rg.data();
}

void RegionReactionLayer::clear()
{
    endHovers(containersExcept(group_, nullptr));
    for (const auto& entry : regions_) {
        if (entry.second && entry.second->region())
            disconnect(entry.second->region(), &harq::Region::typeChanged, this, nullptr);
    }
    for (const auto& container : group_)
        kelvane::detachAndDelete(container.second);
    group_.clear();
    regions_.clear();
}

QRectF RegionReactionLayer::boundingRect() const
{
    return QRectF();
}

void RegionReactionLayer::paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*)
{
}

void RegionReactionLayer::onKeyPressed(QKeyEvent*)
{
}

void RegionReactionLayer::showType(int type)
{
    closeSpecical();
    type_ = type;
    const auto shown = group_.find(type);
    // The container that stays on show keeps its hover.
    endHovers(containersExcept(group_, shown == group_.end() ? nullptr : shown->second));
    for (const auto& container : group_)
        container.second->setVisible(container.first == type);
}

void RegionReactionLayer::hideAll()
{
    endHovers(containersExcept(group_, nullptr));
    for (const auto& container : group_)
        container.second->setVisible(false);
}

QGraphicsRectItem* RegionReactionLayer::getOrCreateGroup(int type)
{
    QGraphicsRectItem*& container = group_[type];
    if (!container)
        container = new QGraphicsRectItem(this);
    return container;
}

void RegionReactionLayer::showSpecical()
{
    closeSpecical();
    specical_ = new QGraphicsItemGroup(this);
    for (const auto& entry : regions_) {
        const ReactionRegion* rg = entry.second;
        const harq::Region* region = rg ? rg->region() : nullptr;
        if (!region || region->type() != type_)
            continue;
        auto* polygon = new QGraphicsPolygonItem(region->regionPath(), specical_);
        polygon->setBrush(randomOverlayColor());
    }
}

void RegionReactionLayer::closeSpecical()
{
    if (!specical_)
        return;
    kelvane::detachAndDelete(specical_);
    specical_ = nullptr;
}

void RegionReactionLayer::onRegionTypeChanged(harq::Region* region, int type)
{
    const auto rg = regions_.find(region);
    const auto container = group_.find(type);
    if (rg != regions_.end() && rg->second && container != group_.end())
        rg->second->setParentItem(container->second);
}
