#include "graphics/damage_boundary.h"

#include "graphics/boundary_line.h"
#include "graphics/damage_boundary_edition.h"
#include "graphics/hover_end.h"
#include "kelvane_assert.h"
#include "object_link.h"

namespace {

/// Keeps the first point away from the null point, which hosts read as "none".
constexpr qreal kNonNullCoordinate = 0.01;
/// An outline needs this many points before it encloses anything.
constexpr int kMinimumOutlinePoints = 3;

} // namespace

DamageBoundary::~DamageBoundary()
{
    // A family highlighted from a segment of this boundary goes back to normal first.
    clearPath();
    setParentItem(nullptr);
    // Slaves hold a plain pointer to their master and masters to their slaves,
    // so no member of a family may outlive its ties.
    dissolveFamily();
}

QRectF DamageBoundary::boundingRect() const
{
    return QRectF();
}

void DamageBoundary::paint(QPainter* /*painter*/, const QStyleOptionGraphicsItem* /*option*/, QWidget* /*widget*/)
{
}

void DamageBoundary::makeMasterBoundary(const QPolygonF& path)
{
    DamageBoundaryEdition::stampFamily(*this);
    leaveMaster();
    buildSegments(path, true);
}

void DamageBoundary::makeSlaveBoundary(DamageBoundary* master)
{
    KELVANE_ASSERT(master);
    // A boundary that follows itself would forward its highlight forever.
    KELVANE_ASSERT(master != this);
    // So would one that follows a boundary following it.
    for (const DamageBoundary* above = master->master_; above; above = above->master_) {
        if (above == this)
            return;
    }
    leaveMaster();
    // The slaves stay in one family with this boundary.
    for (DamageBoundary* slave : qAsConst(slaves_)) {
        slave->master_ = master;
        master->slaves_.append(slave);
    }
    slaves_.clear();
    master_ = master;
    master->slaves_.append(this);
    buildSegments(boundaryPath(master), false);
}

QPolygonF DamageBoundary::boundaryPath(const DamageBoundary* b)
{
    QPolygonF path;
    if (!b)
        return path;
    for (const BoundaryLine* line : b->lines_)
        path.append(line->line().p1());
    return path;
}

void DamageBoundary::clearPath()
{
    // Ending a hover restores the family's pens, which walks lines_: keep it whole meanwhile.
    kelvane::endHovers(lines_);
    const QList<BoundaryLine*> lines = lines_;
    lines_.clear();
    for (BoundaryLine* line : lines)
        kelvane::detachAndDelete(line);
}

QPointF DamageBoundary::firstPoint() const
{
    QPointF point;
    if (!lines_.isEmpty())
        point = lines_.first()->line().p1();
    if (point.isNull())
        point = QPointF(kNonNullCoordinate, kNonNullCoordinate);
    return point;
}

void DamageBoundary::onTouchBoundary()
{
    if (master_) {
        master_->onTouchBoundary();
        return;
    }
    for (BoundaryLine* line : qAsConst(lines_))
        line->reactTouch();
    for (const DamageBoundary* slave : qAsConst(slaves_)) {
        for (BoundaryLine* line : slave->lines_)
            line->reactTouch();
    }
}

void DamageBoundary::onLeaveBoundary()
{
    if (master_) {
        master_->onLeaveBoundary();
        return;
    }
    for (BoundaryLine* line : qAsConst(lines_))
        line->resumeBoundary();
    for (const DamageBoundary* slave : qAsConst(slaves_)) {
        for (BoundaryLine* line : slave->lines_)
            line->resumeBoundary();
    }
}

void DamageBoundary::onCopyFrom(DamageBoundary* other)
{
    KELVANE_ASSERT(other);
    buildSegments(boundaryPath(other), isMaster());
}

void DamageBoundary::buildSegments(QPolygonF path, bool master)
{
    clearPath();
    if (path.size() < kMinimumOutlinePoints)
        return;
    path.append(path.first());
    for (int i = 0; i + 1 < path.size(); ++i) {
        auto* line = new BoundaryLine(this);
        const QLineF side(path.at(i), path.at(i + 1));
        if (master)
            line->makeMasterBoundary(side);
        else
            line->makeSlaveBoundary(side);
        lines_.append(line);
        connect(line, &BoundaryLine::touchBoundary, this, &DamageBoundary::onTouchBoundary);
        connect(line, &BoundaryLine::leaveBoundary, this, &DamageBoundary::onLeaveBoundary);
        DamageBoundaryEdition::relayRequests(*this, line);
    }
}

void DamageBoundary::leaveMaster()
{
    if (master_)
        master_->slaves_.removeAll(this);
    master_ = nullptr;
}

void DamageBoundary::dissolveFamily()
{
    leaveMaster();
    // Each slave's destruction takes it out of slaves_, so walk a copy.
    const QList<DamageBoundary*> slaves = slaves_;
    for (DamageBoundary* slave : slaves)
        kelvane::detachAndDelete(slave);
    slaves_.clear();
}
