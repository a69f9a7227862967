#include "config/damage_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"

#include "deployment.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using harq::DamageResponse;

const QByteArray kCatalogue = "damage = { showtime = 800, hidetime = 100.6, opacity = 0.5,\n"
                              "  response = { { type = 1, name = 'fire', color = '#FF0000' },\n"
                              "               'skipped',\n"
                              "               { type = 2, name = 'flood', color = '#0000FF' },\n"
                              "               { type = 4, color = 'not a colour' } } }\n";

TEST(DamageConfig, CombinesMatchingResponsesInFileOrder)
{
    const Deployment deployment;
    DamageConfig& config = DamageConfig::instance();
    config.loadStyle(deployment.config("damage.lua", kCatalogue));

    EXPECT_EQ(config.showTime(), 800);
    EXPECT_EQ(config.hideTime(), 101);
    EXPECT_DOUBLE_EQ(config.opacity(), 0.5);

    EXPECT_FALSE(config.response(DamageResponse::NA).has_value());
    EXPECT_FALSE(config.response(8).has_value());

    const auto fire = config.response(DamageResponse::FIRE);
    ASSERT_TRUE(fire.has_value());
    EXPECT_EQ(fire->name(), "fire");
    EXPECT_EQ(fire->color(), QColor(Qt::red));

    const auto both = config.response(DamageResponse::FIRE | DamageResponse::SINK);
    ASSERT_TRUE(both.has_value());
    EXPECT_EQ(both->response(), DamageResponse::FIRE | DamageResponse::SINK);
    EXPECT_EQ(both->name(), "fire+flood");
    EXPECT_EQ(both->color(), QColor(127, 128, 127));

    const auto abandon = config.response(DamageResponse::ABANDON);
    ASSERT_TRUE(abandon.has_value());
    EXPECT_EQ(abandon->name(), "NA");
    EXPECT_FALSE(abandon->color().isValid());

    // Results are the caller's own: asking again or changing one leaves the others alone.
    auto mine = config.response(DamageResponse::FIRE);
    mine->mixWith(*config.response(DamageResponse::SINK));
    EXPECT_EQ(config.response(DamageResponse::FIRE)->name(), "fire");
    EXPECT_EQ(fire->name(), "fire");
    EXPECT_EQ(config.response(DamageResponse::ALL)->name(), "fire+flood+NA");
}

TEST(DamageConfig, EmptyTableGivesLoadDefaultsAndNoResponses)
{
    const Deployment deployment;
    DamageConfig& config = DamageConfig::instance();
    config.loadStyle(deployment.config("damage.lua", kCatalogue));
    config.loadStyle(deployment.config("bare.lua", "damage = { response = 5 }\n"));
    EXPECT_EQ(config.showTime(), 500);
    EXPECT_EQ(config.hideTime(), 200);
    EXPECT_DOUBLE_EQ(config.opacity(), 0.3);
    EXPECT_FALSE(config.response(DamageResponse::ALL).has_value());
}

TEST(DamageConfig, FileWithoutTableOrFailingChangesNothing)
{
    const Deployment deployment;
    DamageConfig& config = DamageConfig::instance();
    config.loadStyle(deployment.config("damage.lua", kCatalogue));
    config.loadStyle(deployment.config("other.lua", "sensor = {}\n"));
    const QString missing = deployment.configPath("absent.lua");
    EXPECT_EQ(errorOf([&] { config.loadStyle(missing); }), "配置文件" + missing + "不存在");
    EXPECT_EQ(config.showTime(), 800);
    EXPECT_EQ(config.response(DamageResponse::SINK)->name(), "flood");
}

// Shared by every style reader: an integer that does not fit its field is
// refused by name instead of wrapping, and the style keeps what it had.
TEST(StyleIntegers, OutOfRangeIsRefusedNamingTheFileAndTheKey)
{
    struct Row
    {
        const char* key;
        const char* value;
        QByteArray script;
        std::function<void(const QString&)> load;
        std::function<double()> probe; // a setting the file tries to change before the bad value
    };
    DamageConfig& damage = DamageConfig::instance();
    RegionConfig& region = RegionConfig::instance();
    SensorConfig& sensor = SensorConfig::instance();
    const auto loadDamage = [&](const QString& path) { damage.loadStyle(path); };
    const auto showTime = [&] { return double(damage.showTime()); };
    const Row rows[] = {
        {"hidetime", "3000000000", "damage = { showtime = 1, hidetime = 3000000000 }", loadDamage, showTime},
        {"showtime", "-2147483649", "damage = { showtime = -2147483649 }", loadDamage, showTime},
        {"type", "1e+10", "damage = { showtime = 1, response = { { type = 1e10 } } }", loadDamage, showTime},
        {"response", "2147483648", "region = { hover_opacity = 0.01, view_group = { { response = 2147483648 } } }",
         [&](const QString& path) { region.loadStyle(path); }, [&] { return region.hoverOpacity(); }},
        {"response", "4294967296", "sensor = { width = 1, view_group = { { response = '4294967296' } } }",
         [&](const QString& path) { sensor.loadStyle(path); }, [&] { return sensor.width(); }},
    };
    const Deployment deployment;
    for (const Row& row : rows) {
        const QString path = deployment.config("range.lua", row.script);
        const double before = row.probe();
        EXPECT_EQ(errorOf([&] { row.load(path); }),
                  QString("配置文件%1中%2的值%3超出范围-2147483648至2147483647").arg(path, row.key, row.value));
        EXPECT_EQ(row.probe(), before) << row.script.constData();
    }

    // The ends of the range are still read exactly.
    damage.loadStyle(deployment.config("ends.lua", "damage = { showtime = 2147483647, hidetime = -2147483648 }"));
    EXPECT_EQ(damage.showTime(), 2147483647);
    EXPECT_EQ(damage.hideTime(), -2147483647 - 1);
}

} // namespace
