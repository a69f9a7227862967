#include "maintenance/damage_boundary_layer.h"

#include "graphics/damage_boundary.h"
#include "kelvane_assert.h"
#include "object_link.h"

#include <QGraphicsScene>
#include <QPointer>

#include <algorithm>

DamageBoundaryLayer::DamageBoundaryLayer(harq::Deck* deck, QGraphicsItem* parent)
    : QGraphicsItem(parent)
    , deck_(deck)
{
}

DamageBoundaryLayer::~DamageBoundaryLayer()
{
    setParentItem(nullptr);
    // The boundaries go while the list they leave on destruction still exists.
    // Deleting a master also deletes its slaves, so look again after each one.
    while (!childItems().isEmpty())
        delete childItems().first();
}

QRectF DamageBoundaryLayer::boundingRect() const
{
    return scene_bounds_.measure(this, QRectF());
}

void DamageBoundaryLayer::paint(QPainter* /*painter*/, const QStyleOptionGraphicsItem* /*option*/,
                                QWidget* /*widget*/)
{
}

DamageBoundary* DamageBoundaryLayer::newBoundary()
{
    auto* boundary = new DamageBoundary(deck_, this);
    connect(boundary, &DamageBoundary::copyToUp, this, &DamageBoundaryLayer::copyToUp);
    connect(boundary, &DamageBoundary::copyToDown, this, &DamageBoundaryLayer::copyToDown);
    connect(boundary, &DamageBoundary::removeBoundary, this, &DamageBoundaryLayer::removeBoundary);
    connect(boundary, &DamageBoundary::editBoundary, this, &DamageBoundaryLayer::editBoundary);
    return boundary;
}

DamageBoundary* DamageBoundaryLayer::addMasterBoundary(QPolygonF path)
{
    DamageBoundary* boundary = newBoundary();
    boundary->makeMasterBoundary(path);
    append(boundary);
    emit masterBoundaryCreated(boundary);
    return boundary;
}

DamageBoundary* DamageBoundaryLayer::addSlaveBoundary(DamageBoundary* master)
{
    DamageBoundary* boundary = newBoundary();
    boundary->makeSlaveBoundary(master);
    append(boundary);
    return boundary;
}

void DamageBoundaryLayer::copyBoundaryFrom(DamageBoundary* boundary)
{
    KELVANE_ASSERT(boundary);
    DamageBoundary* master = boundary->isMaster() ? boundary : boundary->master();
    const auto member = std::find_if(boundaries_.cbegin(), boundaries_.cend(), [&](const DamageBoundary* b) {
        return b->master() == master || (!boundary->isMaster() && b == master);
    });
    DamageBoundary* target = member != boundaries_.cend() ? *member : addSlaveBoundary(master);
    target->onCopyFrom(boundary);
}

void DamageBoundaryLayer::removeBoundary(DamageBoundary* boundary)
{
    KELVANE_ASSERT(boundary);
    // The request usually comes from the boundary itself, in the middle of an
    // emission by one of its segments; it must survive until that returns.
    const bool requested_by_boundary = sender() == boundary;
    const QPointer<DamageBoundary> alive(boundary);

    emit prepareRemoveBoundary(boundary);
    boundaries_.removeAll(boundary);
    // The host may have removed it meanwhile, for instance together with its master.
    if (!alive)
        return;
    boundary->prepareRemove();
    kelvane::detachAndDelete(boundary, requested_by_boundary ? kelvane::Deletion::Later : kelvane::Deletion::Now);
}

void DamageBoundaryLayer::append(DamageBoundary* boundary)
{
    boundaries_.append(boundary);
    kelvane::forgetWhenDestroyed(this, boundary, boundaries_);
}
