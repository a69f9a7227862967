#include "graphics/damage_boundary.h"

#include "graphics/boundary_line.h"
#include "graphics/hover_end.h"

void DamageBoundary::resetBoundary(QPolygonF path, bool master)
{
    buildSegments(std::move(path), master);
}

size_t DamageBoundary::masterCode() const
{
    return master_ ? master_->code_ : code_;
}

QString DamageBoundary::btypeStr() const
{
    switch (btype_) {
    case FIRE:
        return tr("防火边界");
    case SMOKE:
        return tr("防烟边界");
    }
    return tr("未定义边界");
}

void DamageBoundary::setBoundaryVisible(bool visible)
{
    if (!visible)
        kelvane::endHovers(lines_);
    for (BoundaryLine* line : qAsConst(lines_))
        line->setVisible(visible);
}
