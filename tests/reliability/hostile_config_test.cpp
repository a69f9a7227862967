// Configuration files written by someone careless or hostile: values of the wrong
// kind in every place, errors raised half way through, lists far too long and
// names that are not UTF-8. Each reader either throws std::runtime_error and keeps
// what it had, or reads what it can and takes the load defaults for the rest.

#include "config/damage_config.h"
#include "config/equipment_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"
#include "config/tag_config.h"
#include "config/team_config.h"

#include "deployment.h"
#include "lua_facade.h"

#include <gtest/gtest.h>

namespace {

// Every key holds something of the wrong kind; list entries are of every kind but a table.
const QByteArray kWrongKinds = R"(
local f = function() end
local odd = { f, true, 7, 'text', { {} } }
region = { hover_opacity = {}, hover_color = f, view_group = odd }
scene = { color = true, trace = {}, width = 'wide' }
sensor = { width = f, opacity = {}, text_color = false, view_group = 5, state = odd }
damage = { showtime = {}, hidetime = 'soon', opacity = f, response = { 1, 'x', { type = {}, name = f, color = 3 } } }
team = { width = 'x', opacity = true, member = { 'x', { name = {}, icon = f, count = 'many' } } }
tag = { width = {}, opacity = 'x', member = 'everyone' }
equipment = { width = f, opacity = {} }
)";

// A response list longer than any reader walks, built by the script itself.
const QByteArray kHugeList = R"(
local r = {}
for i = 1, 70000 do r[i] = { type = 1, name = 'r', color = '#FF0000' } end
damage = { response = r }
)";

TEST(HostileConfig, ValuesOfTheWrongKindTakeTheLoadDefaults)
{
    const Deployment deployment;
    const QString path = deployment.config("wrong.lua", kWrongKinds);

    RegionConfig& region = RegionConfig::instance();
    region.loadStyle(path);
    EXPECT_DOUBLE_EQ(region.hoverOpacity(), 0.3);
    EXPECT_EQ(region.hoverColor(), QColor("#00FFFF"));
    // Only the fifth entry is a table; the others leave their type slot empty.
    EXPECT_EQ(region.srName(4), "NA");
    for (int type : {0, 1, 2, 3, 5})
        EXPECT_EQ(region.srViewGroupPtr(type), nullptr) << type;
    EXPECT_EQ(region.pathEditPen().color(), QColor("#0000FF"));
    EXPECT_EQ(region.pathTracePen().color(), QColor("#FF0000"));
    // A text that is not a number reads as zero.
    EXPECT_DOUBLE_EQ(region.pathEditPen().widthF(), 0.0);

    SensorConfig& sensor = SensorConfig::instance();
    sensor.loadStyle(path);
    EXPECT_DOUBLE_EQ(sensor.width(), 40.0);
    EXPECT_DOUBLE_EQ(sensor.opacity(), 0.6);
    EXPECT_EQ(sensor.textColor(), "#000080");
    EXPECT_TRUE(sensor.viewGroups().empty());
    EXPECT_FALSE(sensor.stateColor(0).isValid());

    DamageConfig& damage = DamageConfig::instance();
    damage.loadStyle(path);
    EXPECT_EQ(damage.showTime(), 500);
    EXPECT_EQ(damage.hideTime(), 0);
    EXPECT_DOUBLE_EQ(damage.opacity(), 0.3);
    EXPECT_FALSE(damage.response(1).has_value());

    TeamConfig& teams = TeamConfig::instance();
    teams.loadTeam(path);
    EXPECT_DOUBLE_EQ(teams.width(), 0.0);
    EXPECT_DOUBLE_EQ(teams.opacity(), 0.8);
    ASSERT_EQ(teams.teamTypes(), 1u);
    EXPECT_EQ(teams.nameAt(0), "NA");
    EXPECT_EQ(teams.countAt(0), 0);
    EXPECT_TRUE(teams.pixmapAt(0).isNull());

    TagConfig& tags = TagConfig::instance();
    tags.loadTag(path);
    EXPECT_DOUBLE_EQ(tags.width(), 60.0);
    EXPECT_DOUBLE_EQ(tags.opacity(), 0.0);
    EXPECT_EQ(tags.tagsCount(), 0u);

    EquipmentConfig& equipment = EquipmentConfig::instance();
    equipment.loadConfig(path);
    EXPECT_DOUBLE_EQ(equipment.width(), 60.0);
    EXPECT_DOUBLE_EQ(equipment.opacity(), 0.8);
}

TEST(HostileConfig, ErrorHalfWayKeepsTheStylesAndEmptiesTheCatalogues)
{
    const Deployment deployment;
    const QString good = deployment.config("good.lua", "region = { hover_opacity = 0.9 }\n"
                                                       "sensor = { width = 33 }\n"
                                                       "damage = { showtime = 700 }\n"
                                                       "team = { member = { { name = 'fire' } } }\n");
    const QString broken = deployment.config("broken.lua", "region = { hover_opacity = 0.1 }\n"
                                                           "sensor = { width = 1 }\n"
                                                           "damage = { showtime = 1 }\n"
                                                           "team = { member = { { name = 'x' } } }\n"
                                                           "local n = nil; n.field = 1\n");
    RegionConfig::instance().loadStyle(good);
    SensorConfig::instance().loadStyle(good);
    DamageConfig::instance().loadStyle(good);
    TeamConfig::instance().loadTeam(good);

    const QString error = errorOf([&] { RegionConfig::instance().loadStyle(broken); });
    EXPECT_TRUE(error.startsWith("解析配置文件" + broken + "错误。")) << error.toStdString();
    EXPECT_TRUE(error.contains("LUA运行错误"));
    EXPECT_THROW(SensorConfig::instance().loadStyle(broken), std::runtime_error);
    EXPECT_THROW(DamageConfig::instance().loadStyle(broken), std::runtime_error);
    EXPECT_THROW(TeamConfig::instance().loadTeam(broken), std::runtime_error);

    EXPECT_DOUBLE_EQ(RegionConfig::instance().hoverOpacity(), 0.9);
    EXPECT_DOUBLE_EQ(SensorConfig::instance().width(), 33.0);
    EXPECT_EQ(DamageConfig::instance().showTime(), 700);
    EXPECT_EQ(TeamConfig::instance().teamTypes(), 0u);
}

TEST(HostileConfig, HugeListIsReadUpToTheLimit)
{
    const Deployment deployment;
    DamageConfig::instance().loadStyle(deployment.config("huge.lua", kHugeList));
    // Every response read joins the combined name with a "+".
    const std::optional<harq::DamageResponse> fire = DamageConfig::instance().response(1);
    ASSERT_TRUE(fire.has_value());
    EXPECT_EQ(fire->name().count('+'), ostrel::kMaxListLength - 1);
    EXPECT_EQ(fire->color(), QColor(Qt::red));
}

TEST(HostileConfig, NamesThatAreNotUtf8AreFoundUnderTheirDecodedText)
{
    const Deployment deployment;
    // GBK bytes where UTF-8 is expected, and a zero byte that ends the text.
    const QString path = deployment.config("gbk.lua", "team = { member = { { name = '\xcf\xfb\xb7\xc0', count = 2 } } }\n"
                                                      "tag = { member = { { name = 'a\\0b' } } }\n");
    TeamConfig& teams = TeamConfig::instance();
    teams.loadTeam(path);
    const QString decoded = QString::fromUtf8("\xcf\xfb\xb7\xc0");
    ASSERT_EQ(teams.teamTypes(), 1u);
    EXPECT_EQ(teams.nameAt(0), decoded);
    EXPECT_TRUE(teams.teamAvailable(decoded));
    TagConfig::instance().loadTag(path);
    EXPECT_TRUE(TagConfig::instance().existTag("a"));
}

} // namespace
