#include "config/sensor_config.h"

#include "deployment.h"
#include "sensor_style_loading.h"
#include "lua_facade.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

const QByteArray kStyled = "sensor = { width = '12', text_color = 12, opacity = true,\n"
                           "  view_group = { { name = 'fire', group = 'f', response = 1 }, 3,\n"
                           "                 { name = 'only a name' },\n"
                           "                 { name = 'fire', group = 'second', response = 2 } },\n"
                           "  state = { 'green', {}, 'blue' } }\n";

TEST(SensorConfig, StartsWithBuiltInStyle)
{
    const SensorConfig& config = SensorConfig::instance();
    EXPECT_DOUBLE_EQ(config.width(), 60.0);
    EXPECT_DOUBLE_EQ(config.opacity(), 0.8);
    EXPECT_DOUBLE_EQ(config.fontScale(), 0.8);
    EXPECT_EQ(config.textColor(), "#0000FF");
    EXPECT_EQ(config.stateColor(0), QColor(Qt::red));
    EXPECT_EQ(config.stateColor(1), QColor(Qt::yellow));
    EXPECT_EQ(config.stateColor(2), QColor(Qt::magenta));
    EXPECT_EQ(config.stateColor(3), QColor("#808000"));
    EXPECT_EQ(config.stateColor(7), QColor("#808000"));
    EXPECT_EQ(config.stateColor(-1), QColor("#808000"));
    EXPECT_TRUE(config.viewGroups().isEmpty());
}

TEST(SensorConfig, ReadsKeysWithTheirConversions)
{
    const Deployment deployment;
    loadWithIcons(deployment, kStyled);
    const SensorConfig& config = SensorConfig::instance();

    EXPECT_DOUBLE_EQ(config.width(), 12.0);
    EXPECT_EQ(config.textColor(), "12");
    EXPECT_DOUBLE_EQ(config.opacity(), 0.6); // a boolean is never read
    EXPECT_DOUBLE_EQ(config.fontScale(), 0.8);

    // The element that is not a colour name keeps its place as an invalid colour.
    EXPECT_EQ(config.stateColor(0), QColor(0, 128, 0)); // SVG green
    EXPECT_FALSE(config.stateColor(1).isValid());
    EXPECT_EQ(config.stateColor(2), QColor(Qt::blue));
    EXPECT_EQ(config.stateColor(3), QColor(Qt::blue));
    EXPECT_EQ(config.stateColor(-5), QColor(Qt::blue));

    ASSERT_EQ(config.viewGroups().size(), 3);
#ifdef KELVANE_MAINTENANCE
    EXPECT_EQ(config.viewGroups().at(1).name(), "only a name");
    EXPECT_EQ(config.viewGroups().at(1).group(), QString());
    EXPECT_EQ(config.viewGroups().at(2).responseType(), 2);
#else
    EXPECT_EQ(config.viewGroupByName("fire")->group(), "f"); // the first of two equal names
    EXPECT_EQ(config.viewGroupByGroup("second")->responseType(), 2);
    const auto onlyName = config.viewGroupByGroup(QString());
    ASSERT_NE(onlyName, nullptr);
    EXPECT_EQ(onlyName->name(), "only a name");
    EXPECT_EQ(onlyName->responseType(), 0);
    EXPECT_EQ(config.viewGroupByName("Fire"), nullptr);
    EXPECT_EQ(config.viewGroupByGroup("none"), nullptr);
#endif
}

TEST(SensorConfig, EmptyTableGivesLoadDefaults)
{
    const Deployment deployment;
    loadWithIcons(deployment, kStyled);
    loadWithIcons(deployment, "sensor = { state = 'not a list' }\n");
    const SensorConfig& config = SensorConfig::instance();
    EXPECT_DOUBLE_EQ(config.width(), 40.0);
    EXPECT_EQ(config.textColor(), "#000080");
    EXPECT_DOUBLE_EQ(config.opacity(), 0.6);
    EXPECT_DOUBLE_EQ(config.fontScale(), 0.8);
    EXPECT_TRUE(config.viewGroups().isEmpty());
    EXPECT_FALSE(config.stateColor(0).isValid());
    EXPECT_FALSE(config.stateColor(-1).isValid());
}

TEST(SensorConfig, WithoutSensorTableNothingChanges)
{
    const Deployment deployment;
    loadWithIcons(deployment, "sensor = { width = 33, state = { '#00FF00' } }\n");
    loadWithIcons(deployment, "region = {}\n");
    EXPECT_DOUBLE_EQ(SensorConfig::instance().width(), 33.0);
    EXPECT_EQ(SensorConfig::instance().stateColor(4), QColor(Qt::green));

    const QString broken = deployment.config("broken.lua", "sensor = {\n");
    EXPECT_TRUE(errorOf([&] { SensorConfig::instance().loadStyle(broken); })
                    .startsWith("加载配置文件" + broken + "错误。\r\n详细信息:LUA预编译语法错误\r\n"));
    EXPECT_DOUBLE_EQ(SensorConfig::instance().width(), 33.0);
}

TEST(SensorConfig, IconsAreCachedByNameFailuresIncluded)
{
    const Deployment deployment;
    deployment.icon("sensor_cached.png", Qt::red, 8);
    loadWithIcons(deployment, "sensor = {}\n");
    const SensorConfig& config = SensorConfig::instance();

    const QPixmap first = config.icon("sensor_cached.png");
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.toImage().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(config.icon("sensor_cached.png").cacheKey(), first.cacheKey());

    EXPECT_TRUE(config.icon("sensor_late.png").isNull());
    deployment.icon("sensor_late.png", Qt::blue, 8);
    EXPECT_TRUE(config.icon("sensor_late.png").isNull());

    // A second deployment moves the folder, yet a cached name keeps its old picture.
    const Deployment other;
    other.icon("sensor_cached.png", Qt::green, 8);
    other.icon("sensor_fresh.png", Qt::green, 8);
    loadWithIcons(other, "sensor = {}\n");
    EXPECT_EQ(config.icon("sensor_cached.png").toImage().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(config.icon("sensor_fresh.png").toImage().pixelColor(0, 0), QColor(Qt::green));
}

TEST(SensorConfig, ListWithAHugeBorderIsReadUpToTheLimit)
{
    // Entries 2, 4, ..., 2^30 in a constructor make the length operator answer 2^30.
    QByteArray state = "{ '#00FF00'";
    for (qint64 key = 2; key <= (qint64(1) << 30); key *= 2)
        state += ", [" + QByteArray::number(key) + "] = '#00FF00'";
    const Deployment deployment;
    loadWithIcons(deployment, "sensor = { state = " + state + " } }\n");
    const SensorConfig& config = SensorConfig::instance();
    const int last = ostrel::kMaxListLength - 1; // position 65536, which is 2^16
    EXPECT_EQ(config.stateColor(last), QColor(Qt::green));
    EXPECT_FALSE(config.stateColor(last - 1).isValid());
    EXPECT_EQ(config.stateColor(1 << 30), QColor(Qt::green));
}

} // namespace
