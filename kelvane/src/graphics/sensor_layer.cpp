#include "graphics/sensor_layer.h"

#include "entity/sensor.h"
#include "entity/view_group.h"
#include "graphics/sensor_graphic.h"
#include "kelvane_edition.h"
#include "object_link.h"

#include <QGraphicsItemGroup>

namespace {

/// Sensors without a view group share the group with the empty code.
QString groupCode(const harq::Sensor& sensor)
{
    const harq::ViewGroup* vg = sensor.viewGroup();
    return vg ? vg->group() : QString();
}

} // namespace

SensorLayer::SensorLayer(QGraphicsItem* parent)
    : QGraphicsObject(parent)
{
}

SensorLayer::~SensorLayer()
{
    setParentItem(nullptr);
}

void SensorLayer::addSensor(SensorGraphic* graphic)
{
    const harq::Sensor* sensor = graphic ? graphic->sensor() : nullptr;
    if (!sensor)
        return;

    const QString code = groupCode(*sensor);
    QGraphicsItemGroup*& group = group_[code];
    if (!group)
        group = new QGraphicsItemGroup(this);
    group->addToGroup(graphic);
    sensors_.insert(sensor, graphic);
}

void SensorLayer::removeSensor(harq::Sensor* sensor)
{
    const QPointer<SensorGraphic> graphic = sensors_.take(sensor);
    if (!graphic)
        return;
    graphic->setParent(nullptr);
    delete graphic.data();
}

void SensorLayer::removeGroup(const QString& code)
{
    QGraphicsItemGroup* group = group_.take(code);
    if (!group)
        return;
    for (auto it = sensors_.begin(); it != sensors_.end();) {
        if (!*it || (*it)->parentItem() == group)
            it = sensors_.erase(it);
        else
            ++it;
    }
    kelvane::detachAndDelete(group);
}

void SensorLayer::clear()
{
    for (QGraphicsItemGroup* group : qAsConst(group_))
        kelvane::detachAndDelete(group);
    group_.clear();
    sensors_.clear();
}

QRectF SensorLayer::boundingRect() const
{
    // The maintainer's tools find the layer anywhere on the deck; with tags the
    // layer draws nothing and its graphics carry their own bounds.
    if constexpr (kelvane::kMaintenanceEdition)
        return scene_bounds_.measure(this, QRectF());
    return QRectF();
}

void SensorLayer::paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*)
{
}

void SensorLayer::showAll()
{
    for (QGraphicsItemGroup* group : qAsConst(group_))
        group->setVisible(true);
}

void SensorLayer::hideAll()
{
    for (QGraphicsItemGroup* group : qAsConst(group_))
        group->setVisible(false);
}

void SensorLayer::hideGroup(const QString& group)
{
    setGroupVisible(group, false);
}

void SensorLayer::showGroup(const QString& group)
{
    setGroupVisible(group, true);
}

void SensorLayer::setGroupVisible(const QString& code, bool visible)
{
    if (QGraphicsItemGroup* group = group_.value(code))
        group->setVisible(visible);
}

void SensorLayer::setSensorVisible(const harq::Sensor* sensor, bool visible)
{
    if (SensorGraphic* graphic = sensors_.value(sensor))
        graphic->setVisible(visible);
}
