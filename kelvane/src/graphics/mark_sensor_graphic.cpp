#include "graphics/mark_sensor_graphic.h"

#include "config/sensor_config.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "graphics/solid_brush.h"

#include <QBrush>
#include <QGraphicsRectItem>
#include <QLinearGradient>
#include <QVarLengthArray>

namespace {

/// The mark is this share of the icon's width, centred under it ...
constexpr qreal kMarkWidthRatio = 0.8;
/// ... this share of the icon's height ...
constexpr qreal kMarkHeightRatio = 0.2;
/// ... and sits below it with a gap of this share of its own height.
constexpr qreal kMarkGapRatio = 0.2;
/// Width of the blend between two bands, so the bands get hard edges.
constexpr qreal kBandEdge = 0.001;

/// One brush for every normal mark, shared rather than built at each return
/// to normal (GUI thread only, as the items).
const QBrush& normalMarkBrush()
{
    static const QBrush brush{QColor(Qt::green)};
    return brush;
}

/// Positions of the abnormal items, in item order; on the stack for the usual
/// few items, as this runs on every state change.
using Positions = QVarLengthArray<int, 8>;

Positions abnormalPositions(const harq::Sensor& sensor)
{
    Positions positions;
    for (int i = 0; i < sensor.itemCount(); ++i) {
        if (sensor.itemAt(i)->isAbnormal())
            positions.append(i);
    }
    return positions;
}

} // namespace

MarkSensorGraphic::MarkSensorGraphic(QGraphicsItem* parent)
    : SensorGraphic(parent)
{
}

QRectF MarkSensorGraphic::boundingRect() const
{
    return bounds_;
}

void MarkSensorGraphic::initSensor()
{
    SensorGraphic::initSensor();
    if (!mark_)
        mark_ = new QGraphicsRectItem(this);

    const QRectF icon = iconRect();
    const qreal height = icon.height() * kMarkHeightRatio;
    mark_->setRect(icon.left() + icon.width() * (1 - kMarkWidthRatio) / 2, icon.bottom() + height * kMarkGapRatio,
                   icon.width() * kMarkWidthRatio, height);
    mark_->setOpacity(SensorConfig::instance().opacity());
    bounds_ = childBounds({mark_});
    doUpdateSensor();
}

void MarkSensorGraphic::doUpdateSensor()
{
    const Positions positions = abnormalPositions(*sensor());
    // A sensor that is not normal always has an abnormal item; should it ever
    // have none, there is nothing to mark and the bar shows normal.
    if (positions.isEmpty()) {
        mark_->setBrush(normalMarkBrush());
        return;
    }

    const SensorConfig& style = SensorConfig::instance();
    if (positions.size() == 1) {
        // A sensor mostly alarms in the same colour: its brush is kept.
        mark_->setBrush(kelvane::solidBrush(alarm_brush_, style.stateColor(positions.first())));
        return;
    }

    const QRectF bar = mark_->boundingRect();
    QLinearGradient gradient(bar.left(), 0, bar.right(), 0);
    const qreal step = 1.0 / positions.size();
    gradient.setColorAt(0.0, style.stateColor(positions.first()));
    for (int i = 1; i < positions.size(); ++i) {
        gradient.setColorAt(i * step - kBandEdge, style.stateColor(positions.at(i - 1)));
        gradient.setColorAt(i * step, style.stateColor(positions.at(i)));
    }
    mark_->setBrush(gradient);
}

