#include "view/deck_drawing.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QSvgRenderer>
#include <QWidget>

#include <cmath>

namespace {

/// Share of the visible size kept beyond each edge, so that a pan of up to
/// this much reuses pixels already rendered.
constexpr int kMarginDivisor = 8;

} // namespace

bool DeckDrawing::Key::operator==(const Key& other) const
{
    return scale == other.scale && fraction == other.fraction && renderer == other.renderer
           && element == other.element && bounds == other.bounds;
}

DeckDrawing::DeckDrawing(const QString& file)
    : QGraphicsSvgItem(file)
{
}

DeckDrawing::~DeckDrawing() = default;

void DeckDrawing::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    const QTransform world = painter->worldTransform();
    if (!widget || world.type() > QTransform::TxScale || painter->device()->devicePixelRatioF() != 1.0
        || !renderer()->isValid() || renderer()->animated()) {
        QGraphicsSvgItem::paint(painter, option, widget);
        return;
    }
    // Whole pixels of the translation are a pan: the kept pixels move with them.
    const QPoint origin(int(std::floor(world.dx())), int(std::floor(world.dy())));
    const Key key{QTransform(world.m11(), 0, 0, world.m22(), 0, 0),
                  QPointF(world.dx() - origin.x(), world.dy() - origin.y()), renderer(), elementId(), boundingRect()};
    if (!(key == key_)) {
        key_ = key;
        forget();
        // A document loaded anew into the renderer changes nothing the key holds.
        connect(renderer(), &QSvgRenderer::repaintNeeded, this, &DeckDrawing::forget, Qt::UniqueConnection);
    }

    const QRect item = world.mapRect(boundingRect()).toAlignedRect().translated(-origin);
    const QRect visible = widget->rect();
    const QRect clip = painter->hasClipping() ? world.mapRect(painter->clipBoundingRect()).toAlignedRect() : visible;
    const QRect needed = (clip & visible).translated(-origin) & item;
    if (needed.isEmpty())
        return;
    if (!covered_.contains(needed)) {
        const QSize margin = visible.size() / kMarginDivisor;
        const QRect window =
            visible.translated(-origin).adjusted(-margin.width(), -margin.height(), margin.width(), margin.height())
            & item;
        cover(needed, window, visible.size() + 2 * margin, painter->renderHints(), option, widget);
    }
    painter->save();
    painter->setWorldTransform(QTransform());
    painter->drawPixmap(needed.translated(origin), pixels_, needed.translated(-covered_.topLeft()));
    painter->restore();
}

void DeckDrawing::forget()
{
    covered_ = QRect();
}

void DeckDrawing::cover(const QRect& needed, const QRect& window, const QSize& capacity, QPainter::RenderHints hints,
                        const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    const QRect target = window | needed;
    // The pixels live in one buffer as large as the visible part with its
    // margins, reused from scale to scale and scrolled on a pan: a new one at
    // every zoom step costs the system's page faults for megabytes.
    const bool fits = pixels_.width() >= target.width() && pixels_.height() >= target.height();
    const QRect kept = fits ? covered_ & target : QRect();
    if (!fits) {
        pixels_ = QPixmap(capacity.expandedTo(target.size()));
        // Also what gives the pixmap its alpha channel.
        pixels_.fill(Qt::transparent);
    } else if (!kept.isEmpty() && covered_.topLeft() != target.topLeft()) {
        const QPoint by = covered_.topLeft() - target.topLeft();
        // Scrolls within the whole buffer: the area given also bounds where the pixels go.
        pixels_.scroll(by.x(), by.y(), pixels_.rect());
    }
    const QRegion missing = QRegion(QRect(QPoint(), target.size())) - kept.translated(-target.topLeft());
    QPainter painter(&pixels_);
    painter.setClipRegion(missing);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(QPoint(), target.size()), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHints(hints);
    painter.setWorldTransform(QTransform(key_.scale.m11(), 0, 0, key_.scale.m22(),
                                         key_.fraction.x() - target.left(), key_.fraction.y() - target.top()));
    QGraphicsSvgItem::paint(&painter, option, widget);
    painter.end();
    covered_ = target;
}
