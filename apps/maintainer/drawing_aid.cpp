#include "drawing_aid.h"

#include "graphics/boundary_line.h"
#include "graphics/damage_boundary.h"
#include "view/deck_view_complex.h"

#include <QGraphicsPathItem>
#include <QLabel>
#include <QLineF>
#include <QMouseEvent>
#include <QPainterPath>
#include <QPen>
#include <QStatusBar>

namespace {

const QColor kHaloColour(0x00, 0xA0, 0xFF, 0x90);
constexpr int kHaloWidth = 12;

QString coordinates(QPointF point)
{
    return QStringLiteral("(%1, %2)").arg(point.x(), 0, 'f', 2).arg(point.y(), 0, 'f', 2);
}

} // namespace

DrawingAid::DrawingAid(DeckViewComplex* view, QStatusBar* bar, const ShipDocument& document, QObject* parent)
    : QObject(parent)
    , view_(view)
    , document_(document)
    , hint_(new QLabel(bar))
    , position_(new QLabel(bar))
{
    hint_->setObjectName(QStringLiteral("hint"));
    position_->setObjectName(QStringLiteral("position"));
    // Permanent, so that a passing message does not hide them; without stretch,
    // so that the messages keep the width they need.
    bar->addPermanentWidget(hint_);
    bar->addPermanentWidget(position_);
    view_->viewport()->installEventFilter(this);
    onStateChanged(IDLE);
}

QPolygonF DrawingAid::snapped(const QPolygonF& outline) const
{
    QPolygonF out;
    for (const QPointF& point : outline)
        out.append(cornerNear(point).value_or(point));
    return out;
}

void DrawingAid::highlight(BoundaryLine* line)
{
    if (highlighted_)
        delete halo_;
    halo_ = nullptr;
    highlighted_ = line;
    auto* boundary = line ? dynamic_cast<DamageBoundary*>(line->parentItem()) : nullptr;
    if (!boundary)
        return;
    QPainterPath path;
    path.addPolygon(line->mapFromScene(boundary->boundaryPath()));
    path.closeSubpath();
    halo_ = new QGraphicsPathItem(path, line);
    QPen pen(kHaloColour, kHaloWidth);
    pen.setCosmetic(true);
    halo_->setPen(pen);
    halo_->setFlag(QGraphicsItem::ItemStacksBehindParent);
    halo_->setAcceptedMouseButtons(Qt::NoButton);
}

void DrawingAid::onStateChanged(MaintenanceCommandState state)
{
    switch (state) {
    case IDLE:
        hint_->setText(tr("选择工具开始任务; 点击边界线段可选择边界"));
        break;
    case POSITIONING:
        hint_->setText(tr("放置传感器: 左键放置, 右键或 Shift+Esc 放弃"));
        break;
    case PATH:
        hint_->setText(tr("画轮廓: 左键放置第一个点, Shift+Esc 放弃"));
        break;
    case NEXT_POINT:
        hint_->setText(tr("画轮廓: 左键加点, 双击或右键完成, Shift+Esc 放弃"));
        break;
    case CONFIRM:
    case COMPLETE_PARTIALLY:
        // Passing states: IDLE follows at once.
        break;
    }
}

bool DrawingAid::eventFilter(QObject* watched, QEvent* event)
{
    // The type first: while the view is destroyed its viewport still reports
    // events here, and the view must not be asked anything then.
    if (event->type() == QEvent::MouseMove && watched == view_->viewport()) {
        const QPointF point = view_->mapToScene(static_cast<QMouseEvent*>(event)->pos());
        const std::optional<QPointF> corner = cornerNear(point);
        position_->setText(corner ? tr("%1 吸附到 %2").arg(coordinates(point), coordinates(*corner))
                                  : coordinates(point));
    }
    return QObject::eventFilter(watched, event);
}

std::optional<QPointF> DrawingAid::cornerNear(QPointF point) const
{
    if (!snapping_)
        return std::nullopt;
    const qreal reach = QLineF(view_->mapToScene(QPoint(0, 0)), view_->mapToScene(QPoint(kSnapPixels, 0))).length();
    std::optional<QPointF> nearest;
    qreal best = reach;
    for (const ShipDocument::Compartment& compartment : document_.compartmentsOn(deck_)) {
        for (const QPointF& corner : compartment.outline) {
            const qreal distance = QLineF(point, corner).length();
            if (distance <= best) {
                best = distance;
                nearest = corner;
            }
        }
    }
    return nearest;
}
