#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "graphics/compound_sensor_graphic.h"
#include "graphics/mark_sensor_graphic.h"
#include "kelvane_edition.h"
#include "sensor_graphic_fixture.h"

#include <gtest/gtest.h>

#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsTextItem>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QStyleOptionGraphicsItem>
#include <QTextDocument>

#include <functional>
#include <vector>

using namespace sensor_graphic_test;

TEST_F(SensorGraphicTest, IconIsScaledAndCentredWithTheLabelAbove)
{
    harq::Sensor sensor;
    sensor.setName("P1");
    sensor.setCode("T01");
    sensor.setPos(QPointF(100, 50));
    auto* item = new harq::SensorItem;
    item->setTag("door");
    item->setIcon(kIcon, "sensor_graphic_alarm.png");
    sensor.addItem(item);

    CompoundSensorGraphic graphic;
    EXPECT_TRUE(graphic.childItems().isEmpty());
    EXPECT_TRUE(graphic.boundingRect().isNull());
    graphic.setSensor(&sensor);

    EXPECT_EQ(graphic.pos(), QPointF(100, 50));
    EXPECT_EQ(graphic.toolTip(), "P1:sensor_graphic_icon");

    auto* icon = child<QGraphicsPixmapItem>(graphic);
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_EQ(rectInParent(icon), QRectF(-20, -10, 40, 20));
    EXPECT_DOUBLE_EQ(icon->opacity(), 0.6);

    auto* label = child<QGraphicsTextItem>(graphic);
    ASSERT_NE(label, nullptr);
    if constexpr (kelvane::kMaintenanceEdition) {
        EXPECT_EQ(label->toPlainText(), "P1");
    } else {
        EXPECT_EQ(label->toPlainText(), "T01");
    }
    EXPECT_EQ(label->defaultTextColor(), QColor("#000080"));
    EXPECT_DOUBLE_EQ(label->scale(), 0.8);
    EXPECT_DOUBLE_EQ(label->opacity(), 0.6);
    const QRectF labelRect = rectInParent(label);
    EXPECT_NEAR(labelRect.center().x(), 0.0, 1e-9);
    EXPECT_NEAR(labelRect.bottom(), -10.0, 1e-9);

    EXPECT_EQ(graphic.boundingRect(), rectInParent(icon) | labelRect);

    // Going abnormal shows the alarm icon's name in the tool tip; the icon stays.
    item->setValue("door", 1);
    EXPECT_EQ(graphic.toolTip(), "P1:sensor_graphic_alarm");
    // Back, and forth under a new name: the kept texts follow the name.
    item->setValue("door", 0);
    EXPECT_EQ(graphic.toolTip(), "P1:sensor_graphic_icon");
    sensor.setName("P9");
    item->setValue("door", 1);
    EXPECT_EQ(graphic.toolTip(), "P9:sensor_graphic_alarm");
}

TEST_F(SensorGraphicTest, SensorWithoutItemsHasAnEmptyIconAndAGreenMark)
{
    harq::Sensor sensor;
    sensor.setName("P2");
    MarkSensorGraphic graphic;
    graphic.setSensor(&sensor);

    auto* icon = child<QGraphicsPixmapItem>(graphic);
    EXPECT_TRUE(icon->pixmap().isNull());
    EXPECT_DOUBLE_EQ(icon->scale(), 40.0);
    EXPECT_EQ(graphic.toolTip(), "P2:");
    EXPECT_NEAR(rectInParent(child<QGraphicsTextItem>(graphic)).bottom(), 0.0, 1e-9);
    EXPECT_EQ(markBrush(graphic).color(), QColor(Qt::green));
    EXPECT_EQ(markBrush(graphic).style(), Qt::SolidPattern);
}

TEST_F(SensorGraphicTest, MarkShowsOneBandPerAbnormalItemPosition)
{
    auto sensor = valueSensor("P3", "T03", 5);
    sensor->itemAt(0)->setIcon(kIcon, QString());
    MarkSensorGraphic graphic;
    graphic.setSensor(sensor.get());

    auto* mark = child<QGraphicsRectItem>(graphic);
    ASSERT_NE(mark, nullptr);
    // 80 % of the icon's width, centred, 20 % of its height, 4 % below it.
    EXPECT_EQ(mark->rect(), QRectF(-16, 10.8, 32, 4));
    EXPECT_DOUBLE_EQ(mark->opacity(), 0.6);
    EXPECT_EQ(mark->pen(), QPen());
    // Rectangles are kept as origin and size, so allow for rounding at the far edges.
    EXPECT_TRUE(graphic.boundingRect().adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(rectInParent(mark)));
    EXPECT_EQ(markBrush(graphic).color(), QColor(Qt::green));

    // The item's position picks the colour, not its stage.
    feed(*sensor, "t2", -5);
    EXPECT_EQ(markBrush(graphic).style(), Qt::SolidPattern);
    EXPECT_EQ(markBrush(graphic).color(), QColor("#FF00FF"));

    feed(*sensor, "t0", 5);
    feed(*sensor, "t3", 5);
    const QBrush bands = markBrush(graphic);
    ASSERT_EQ(bands.style(), Qt::LinearGradientPattern);
    const auto* gradient = static_cast<const QLinearGradient*>(bands.gradient());
    EXPECT_EQ(gradient->start(), QPointF(mark->boundingRect().left(), 0));
    EXPECT_EQ(gradient->finalStop(), QPointF(mark->boundingRect().right(), 0));
    const QGradientStops stops = gradient->stops();
    ASSERT_EQ(stops.size(), 5);
    const qreal third = 1.0 / 3;
    const QColor red("#FF0000"), magenta("#FF00FF"), olive("#808000");
    const QGradientStops expected{{0.0, red},          {third - 0.001, red},        {third, magenta},
                                  {2 * third - 0.001, magenta}, {2 * third, olive}};
    for (int i = 0; i < stops.size(); ++i) {
        EXPECT_NEAR(stops[i].first, expected[i].first, 1e-12) << "stop " << i;
        EXPECT_EQ(stops[i].second, expected[i].second) << "stop " << i;
    }

    // Positions past the configured colours share the last one.
    feed(*sensor, "t0", 0.5);
    feed(*sensor, "t2", 0.5);
    feed(*sensor, "t4", 5);
    const QGradientStops pastEnd = markBrush(graphic).gradient()->stops();
    ASSERT_EQ(pastEnd.size(), 3);
    for (const QGradientStop& stop : pastEnd)
        EXPECT_EQ(stop.second, olive);

    feed(*sensor, "t3", 0.5);
    feed(*sensor, "t4", 0.5);
    EXPECT_EQ(markBrush(graphic).color(), QColor(Qt::green));
    EXPECT_EQ(graphic.toolTip(), "P3:正常");
}

TEST_F(SensorGraphicTest, RebindingFollowsOnlyTheNewSensor)
{
    auto first = valueSensor("A", "CA", 1);
    auto second = valueSensor("B", "CB", 2);
    first->setPos(QPointF(10, 10));
    second->setPos(QPointF(30, 40));

    MarkSensorGraphic graphic;
    graphic.setSensor(first.get());
    const QList<QGraphicsItem*> children = graphic.childItems();
    graphic.setSensor(second.get());

    EXPECT_EQ(graphic.childItems(), children);
    EXPECT_EQ(graphic.sensor(), second.get());
    EXPECT_EQ(graphic.pos(), QPointF(30, 40));
    if constexpr (!kelvane::kMaintenanceEdition) {
        EXPECT_EQ(child<QGraphicsTextItem>(graphic)->toPlainText(), "CB");
    }

    feed(*first, "t0", 5);
    EXPECT_EQ(graphic.toolTip(), "B:正常");
    EXPECT_EQ(markBrush(graphic).color(), QColor(Qt::green));

    feed(*second, "t1", 5);
    EXPECT_EQ(graphic.toolTip(), "B:超高限");
    EXPECT_EQ(markBrush(graphic).color(), QColor("#FFFF00"));
}

TEST_F(SensorGraphicTest, GraphicForgetsADestroyedSensor)
{
    auto sensor = valueSensor("C", "CC", 1);
    CompoundSensorGraphic graphic;
    graphic.setSensor(sensor.get());
    sensor.reset();
    EXPECT_EQ(graphic.sensor(), nullptr);
}

TEST(SensorGraphicDeathTest, NullSensorIsRejected)
{
    MarkSensorGraphic graphic;
    EXPECT_DEATH(graphic.setSensor(nullptr), "\"sensor\" in void SensorGraphic::setSensor\\(harq::Sensor\\*\\)");
}

// The label draws its kept glyphs only while they are what the text item would
// draw: each edit a host may make, after a first paint, shows at the next one as
// on a plain text item given the same edit.
TEST_F(SensorGraphicTest, LabelDrawsWhatAPlainTextItemDraws)
{
    harq::Sensor sensor;
    sensor.setName("P1");
    sensor.setCode("P1");
    auto drawn = [](QGraphicsTextItem& item) {
        QImage image(160, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(1.7, 1.7);
        QStyleOptionGraphicsItem option;
        item.paint(&painter, &option, nullptr);
        return image;
    };
    const std::vector<std::function<void(QGraphicsTextItem&)>> edits{
        [](auto&) {}, [](auto& item) { item.setPlainText("Q2"); },
        [](auto& item) { item.setFont(QFont(item.font().family(), 23)); },
        [](auto& item) { item.setDefaultTextColor(Qt::darkRed); }, [](auto& item) { item.setTextWidth(8); },
        [](auto& item) { item.setDocument(new QTextDocument("other", &item)); }};
    for (size_t i = 0; i < edits.size(); ++i) {
        CompoundSensorGraphic graphic;
        graphic.setSensor(&sensor);
        auto* label = child<QGraphicsTextItem>(graphic);
        QGraphicsTextItem plain("P1");
        plain.setDefaultTextColor(label->defaultTextColor());
        drawn(*label);
        edits[i](*label);
        edits[i](plain);
        EXPECT_EQ(drawn(*label), drawn(plain)) << "after edit " << i;
    }
}
