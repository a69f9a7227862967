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
    EXPECT_EQ(config.responseColor(DamageResponse::FIRE), QColor(Qt::red));
    config.loadStyle(deployment.config("bare.lua", "damage = { response = 5 }\n"));
    EXPECT_EQ(config.showTime(), 500);
    EXPECT_EQ(config.hideTime(), 200);
    EXPECT_DOUBLE_EQ(config.opacity(), 0.3);
    EXPECT_FALSE(config.response(DamageResponse::ALL).has_value());
    // Colours mixed before the load are not handed out after it.
    EXPECT_FALSE(config.responseColor(DamageResponse::FIRE).has_value());
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

// Every style reader refuses an integer that does not fit its field, by name,
// instead of letting it wrap, and keeps what it had.
TEST(StyleIntegers, OutOfRangeIsRefusedNamingTheFileAndTheKey)
{
    DamageConfig& damage = DamageConfig::instance();
    const std::function<void(const QString&)> loads[] = {
        [&](const QString& path) { damage.loadStyle(path); },
        [](const QString& path) { RegionConfig::instance().loadStyle(path); },
        [](const QString& path) { SensorConfig::instance().loadStyle(path); }};
    const struct { int reader; const char* key; const char* value; const char* script; } rows[] = {
        {0, "hidetime", "3000000000", "damage = { showtime = 1, hidetime = 3000000000 }"},
        {0, "showtime", "-2147483649", "damage = { showtime = -2147483649 }"},
        {0, "type", "1e+10", "damage = { showtime = 1, response = { { type = 1e10 } } }"},
        {1, "response", "2147483648", "region = { view_group = { { response = 2147483648 } } }"},
        {2, "response", "4294967296", "sensor = { view_group = { { response = '4294967296' } } }"}};
    const Deployment deployment;
    const int before = damage.showTime();
    for (const auto& row : rows) {
        const QString path = deployment.config("range.lua", row.script);
        EXPECT_EQ(errorOf([&] { loads[row.reader](path); }),
                  QString("配置文件%1中%2的值%3超出范围-2147483648至2147483647").arg(path, row.key, row.value));
    }
    EXPECT_EQ(damage.showTime(), before) << "nothing of a refused file is kept";

    damage.loadStyle(deployment.config("ends.lua", "damage = { showtime = 2147483647, hidetime = -2147483648 }"));
    EXPECT_EQ(damage.showTime(), 2147483647);
    EXPECT_EQ(damage.hideTime(), -2147483647 - 1);
}

} // namespace
