#include "plan_marks.h"

#include "alarm_feed.h"
#include "alarm_state.h"

#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "graphics/mark_sensor_graphic.h"
#include "view/deck_scene.h"

#include <QBrush>
#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QGraphicsEllipseItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QPen>

namespace {

// Above everything the plan shows: boundaries, equipment, teams.
constexpr qreal kHatchZ = 1000.0;
constexpr qreal kBadgePointSize = 14.0;
const QColor kHatch(0x5A, 0x6E, 0x8C, 0x90);
// Blue: no priority uses it, so the ring never reads as an alarm colour.
const QColor kRing(0x00, 0x78, 0xD7);
constexpr qreal kRingWidth = 4.0;
constexpr qreal kRingMargin = 12.0;
const char kShelvedSymbol[] = "S";

QString limits(const harq::SensorItem& item)
{
    return QCoreApplication::translate("PlanMarks", "限值 %1 / %2 / %3 / %4")
        .arg(item.lowLow())
        .arg(item.low())
        .arg(item.high())
        .arg(item.highHigh());
}

} // namespace

PlanMarks::PlanMarks(DeckScene* scene, const AlarmFeed& feed, QObject* parent)
    : QObject(parent)
    , scene_(scene)
    , feed_(feed)
{
    connect(&feed.alarms(), &AlarmState::alarmChanged, this, [this](int id) {
        if (const harq::Sensor* sensor = feed_.sensorOf(id))
            update(sensor);
    });
}

void PlanMarks::decorate()
{
    // The scene dropped the previous deck's graphics, badges, ring and hatch with it.
    marks_.clear();
    hatch_ = nullptr;
    ring_ = nullptr;
    for (QGraphicsItem* item : scene_->items()) {
        auto* graphic = qgraphicsitem_cast<MarkSensorGraphic*>(item);
        if (!graphic || !graphic->sensor())
            continue;
        harq::Sensor* sensor = graphic->sensor();
        Mark mark;
        mark.graphic = graphic;
        mark.badge = new QGraphicsSimpleTextItem(graphic);
        QFont font = mark.badge->font();
        font.setPointSizeF(kBadgePointSize);
        font.setBold(true);
        mark.badge->setFont(font);
        mark.badge->setPos(graphic->boundingRect().topRight());
        marks_.insert(sensor, mark);
        // Connected after the graphic's own connection, so this tool tip replaces the library's.
        connect(sensor, &harq::Sensor::itemValueChanged, graphic, [this, sensor] { updateToolTip(sensor); });
        connect(sensor, QOverload<harq::Sensor*, harq::SensorItem*>::of(&harq::Sensor::sensorStateChanged), graphic,
                [this, sensor] { updateToolTip(sensor); });
        update(sensor);
    }
    if (stale_)
        showHatch();
}

void PlanMarks::setStale(bool stale)
{
    if (stale == stale_)
        return;
    stale_ = stale;
    if (stale) {
        showHatch();
    } else {
        delete hatch_;
        hatch_ = nullptr;
    }
    for (auto it = marks_.cbegin(); it != marks_.cend(); ++it)
        update(it.key());
}

void PlanMarks::showHatch()
{
    hatch_ = scene_->addRect(scene_->sceneRect(), QPen(Qt::NoPen), QBrush(kHatch, Qt::BDiagPattern));
    hatch_->setZValue(kHatchZ);
    hatch_->setAcceptedMouseButtons(Qt::NoButton);
    hatch_->setAcceptHoverEvents(false);
}

void PlanMarks::highlight(const harq::Sensor* sensor)
{
    delete ring_;
    ring_ = nullptr;
    ringed_ = sensor;
    MarkSensorGraphic* graphic = graphicOf(sensor);
    if (!graphic)
        return;
    ring_ = new QGraphicsEllipseItem(graphic->boundingRect().adjusted(-kRingMargin, -kRingMargin, kRingMargin, kRingMargin),
                                     graphic);
    QPen pen(kRing, kRingWidth);
    pen.setCosmetic(true);
    ring_->setPen(pen);
    ring_->setAcceptedMouseButtons(Qt::NoButton);
}

MarkSensorGraphic* PlanMarks::graphicOf(const harq::Sensor* sensor) const
{
    return marks_.value(sensor).graphic;
}

QString PlanMarks::symbolOf(const harq::Sensor* sensor) const
{
    const Mark mark = marks_.value(sensor);
    return mark.graphic && mark.badge->isVisible() ? mark.badge->text() : QString();
}

void PlanMarks::update(const harq::Sensor* sensor)
{
    const Mark mark = marks_.value(sensor);
    if (!mark.graphic)
        return;
    // Frozen values must not look like a live, unacknowledged alarm.
    const AlarmState& alarms = feed_.alarms();
    const int key = feed_.sensorKeyOf(sensor);
    mark.graphic->setAcknowledged(stale_ || !alarms.awaitsAcknowledgement(key));
    const std::optional<AlarmPriority> priority = alarms.priorityShown(key);
    const bool shelved = alarms.anyShelved(key);
    if (priority) {
        mark.badge->setText(alarmpriority::symbol(*priority));
        mark.badge->setBrush(alarmpriority::colour(*priority));
    } else if (shelved) {
        mark.badge->setText(QLatin1String(kShelvedSymbol));
        mark.badge->setBrush(Qt::darkGray);
    }
    mark.badge->setVisible(priority || shelved);
    updateToolTip(sensor);
}

bool PlanMarks::event(QEvent* event)
{
    // Sent on by the window this belongs to, as to every child of it.
    if (event->type() == QEvent::LanguageChange) {
        for (auto it = marks_.cbegin(); it != marks_.cend(); ++it)
            updateToolTip(it.key());
    }
    return QObject::event(event);
}

void PlanMarks::updateToolTip(const harq::Sensor* sensor)
{
    const Mark mark = marks_.value(sensor);
    if (!mark.graphic)
        return;
    QStringList lines{sensor->nameAndCode()};
    for (int i = 0; i < sensor->itemCount(); ++i) {
        const harq::SensorItem* item = sensor->itemAt(i);
        const AlarmState::Alarm* alarm = feed_.alarms().alarm(feed_.idOf(item));
        const QString name = alarm ? alarm->item.name : item->tag();
        const QString state = alarm ? AlarmState::stateText(alarm->state) : QString();
        if (item->isValueItem())
            lines.append(tr("%1: %2 (%3), %4, %5 [%6]")
                             .arg(name, item->valueStr(), item->toolTip(), limits(*item), state, item->tag()));
        else
            lines.append(tr("%1: %2 [%3]").arg(name, state, item->tag()));
    }
    if (stale_)
        lines.append(tr("数据非实时"));
    mark.graphic->setToolTip(lines.join(QLatin1Char('\n')));
}
