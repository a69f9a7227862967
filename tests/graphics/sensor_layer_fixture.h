#pragma once
// The sensor layer fixture shared by the tests of both editions and those of one edition only.
#include "entity/sensor.h"
#include "entity/view_group.h"
#include "graphics/compound_sensor_graphic.h"
#include "graphics/sensor_layer.h"

#include <gtest/gtest.h>

#include <QGraphicsItemGroup>
#include <QGraphicsScene>
#include <QPointer>

#include <memory>
#include <vector>

/// Sensors in view groups and their graphics in one layer. The sensors carry
/// no items, so no icon file is involved.
class SensorLayerTest : public ::testing::Test
{
protected:
    harq::Sensor* sensorIn(const QString& group)
    {
        auto sensor = std::make_unique<harq::Sensor>();
        sensor->setViewGroup(std::make_shared<harq::ViewGroup>(group + "-name", group, harq::DamageResponse::FIRE));
        sensors_.push_back(std::move(sensor));
        return sensors_.back().get();
    }

    QPointer<SensorGraphic> add(harq::Sensor* sensor)
    {
        auto* graphic = new CompoundSensorGraphic;
        graphic->setSensor(sensor);
        layer_->addSensor(graphic);
        return graphic;
    }

    QList<QGraphicsItemGroup*> groups() const
    {
        QList<QGraphicsItemGroup*> found;
        for (QGraphicsItem* item : layer_->childItems()) {
            if (auto* group = qgraphicsitem_cast<QGraphicsItemGroup*>(item))
                found.append(group);
        }
        return found;
    }

    std::vector<std::unique_ptr<harq::Sensor>> sensors_;
    QGraphicsScene scene_;
    SensorLayer* layer_ = new SensorLayer;

    void SetUp() override { scene_.addItem(layer_); }
};
