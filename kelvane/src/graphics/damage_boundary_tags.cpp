// The boundary's members and steps that only the edition with tags has.
#include "graphics/damage_boundary.h"

#include "graphics/boundary_line.h"
#include "graphics/damage_boundary_edition.h"
#include "graphics/hover_end.h"

#include <QDateTime>

#include <functional>
#include <string>

DamageBoundary::DamageBoundary(harq::Deck* deck, QGraphicsItem* parent)
    : QGraphicsObject(parent)
    , deck_(deck)
{
}

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

void DamageBoundaryEdition::stampFamily(DamageBoundary& master)
{
    const QString text = QString::number(QDateTime::currentMSecsSinceEpoch()) + QLatin1Char(':')
        + QString::number(quintptr(&master));
    master.code_ = std::hash<std::string>()(text.toStdString());
}

// The segments' requests exist in the maintenance edition only.
void DamageBoundaryEdition::relayRequests(DamageBoundary&, BoundaryLine*) {}
