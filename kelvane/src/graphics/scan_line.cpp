#include "graphics/scan_line.h"

#include <QBrush>
#include <QGraphicsLineItem>
#include <QPen>
#include <QPropertyAnimation>

#include <limits>

namespace {

constexpr qreal kLineZValue = 1e6;
constexpr qreal kInitialWidth = 1.0;
// The pen width as a share of the swept rectangle's width.
constexpr qreal kWidthShare = 0.001;
constexpr qint64 kMinDuration = 1;
constexpr qint64 kMaxDuration = std::numeric_limits<int>::max();

QPen linePen(qreal width)
{
    return QPen(QBrush(Qt::red), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

ScanLine::ScanLine(QGraphicsItem* parent)
    : QGraphicsObject(parent)
    , line_(new QGraphicsLineItem(this))
    , animation_(new QPropertyAnimation(this, "position", this))
{
    line_->setZValue(kLineZValue);
    line_->setPen(linePen(kInitialWidth));

    connect(animation_, &QAbstractAnimation::finished, animation_, [this] {
        line_->setLine(start_line_);
        animation_->start(QAbstractAnimation::KeepWhenStopped);
    });
}

ScanLine::~ScanLine() = default;

void ScanLine::initScan(const QRectF& boundary, uint showtime, uint hidetime)
{
    const qreal width = boundary.width();
    start_line_ = QLineF(boundary.topLeft(), boundary.bottomLeft());
    // A rectangle given right to left sweeps that way, with a valid pen width.
    line_->setPen(linePen(qAbs(width) * kWidthShare));
    line_->setLine(start_line_);

    // Summed wide and clamped to what an animation can hold, so long times keep
    // their proportions instead of wrapping around.
    const qint64 total = qint64(showtime) + qint64(hidetime);
    animation_->setDuration(int(qBound(kMinDuration, total, kMaxDuration)));
    animation_->setEasingCurve(QEasingCurve::Linear);
    // Keys of an earlier setup would stay at their steps otherwise. Equal steps
    // replace each other: with no time to show, (W, 0) takes step 0.
    const qreal shown = total > 0 ? qreal(showtime) / qreal(total) : 0.0;
    animation_->setKeyValues(QVariantAnimation::KeyValues());
    animation_->setKeyValueAt(0.0, QPointF(0, 0));
    animation_->setKeyValueAt(shown, QPointF(width, 0));
    animation_->setKeyValueAt(1.0, QPointF(2 * width, 0));

    animation_->start(QAbstractAnimation::KeepWhenStopped);
}

void ScanLine::setWidth(int w)
{
    QPen pen = line_->pen();
    pen.setWidth(w);
    line_->setPen(pen);
}

QPointF ScanLine::scanPos() const
{
    return line_->pos();
}

void ScanLine::setScanPos(QPointF pos)
{
    line_->setPos(pos);
}

QRectF ScanLine::boundingRect() const
{
    return QRectF();
}

void ScanLine::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
}
