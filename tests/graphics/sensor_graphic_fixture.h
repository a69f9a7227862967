#pragma once
// The sensor graphic fixture and builders shared by the tests of both editions and those of one edition only.
#include "config/sensor_config.h"
#include "edition_steps.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "graphics/mark_sensor_graphic.h"

#include <gtest/gtest.h>

#include <QBrush>
#include <QDir>
#include <QFile>
#include <QGraphicsRectItem>
#include <QImage>
#include <QTemporaryDir>

#include <memory>

namespace sensor_graphic_test {

// A 20 x 10 icon drawn 40 wide: scale 2, so the icon covers (-20, -10, 40, 20).
inline const char* const kIcon = "sensor_graphic_icon.png";

inline const char* const kStyle = R"(
sensor = {
    width = 40,
    opacity = 0.6,
    text_color = "#000080",
    state = { "#FF0000", "#FFFF00", "#FF00FF", "#808000" },
}
)";

/// Sensor style and icon in a temporary folder laid out as config/ beside icons/.
class SensorStyle
{
public:
    SensorStyle()
    {
        QDir root(dir_.path());
        root.mkpath("config");
        root.mkpath("icons");
        QImage icon(20, 10, QImage::Format_ARGB32);
        icon.fill(Qt::blue);
        icon.save(root.filePath(QString("icons/") + kIcon), "PNG");
        QFile lua(root.filePath("config/sensor.lua"));
        lua.open(QIODevice::WriteOnly);
        lua.write(kStyle);
        lua.close();
        useIconFolder(root.filePath("icons"));
        SensorConfig::instance().loadStyle(lua.fileName());
    }

private:
    QTemporaryDir dir_;
};

/// A sensor with \a items value items tagged "t0", "t1", ... (normal between -1 and 1).
inline std::unique_ptr<harq::Sensor> valueSensor(const QString& name, const QString& code, int items)
{
    auto sensor = std::make_unique<harq::Sensor>();
    sensor->setName(name);
    sensor->setCode(code);
    for (int i = 0; i < items; ++i) {
        auto* item = new harq::SensorItem;
        item->setTag(QString("t%1").arg(i));
        // The maintenance edition leaves classifying items to the host.
        item->initCheck();
        sensor->addItem(item);
    }
    return sensor;
}

inline void feed(harq::Sensor& sensor, const QString& tag, double value)
{
    for (auto it = sensor.beginItem(); it != sensor.endItem(); ++it)
        (*it)->setValue(tag, value);
}

template <typename Item>
inline Item* child(const QGraphicsItem& parent)
{
    for (QGraphicsItem* item : parent.childItems()) {
        if (auto* found = qgraphicsitem_cast<Item*>(item))
            return found;
    }
    return nullptr;
}

inline QRectF rectInParent(const QGraphicsItem* item)
{
    return item->mapRectToParent(item->boundingRect());
}

inline QBrush markBrush(const MarkSensorGraphic& graphic)
{
    return child<QGraphicsRectItem>(graphic)->brush();
}

} // namespace sensor_graphic_test

class SensorGraphicTest : public ::testing::Test
{
protected:
    sensor_graphic_test::SensorStyle style_;
};

