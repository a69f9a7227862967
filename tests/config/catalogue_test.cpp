#include "config/equipment_config.h"
#include "config/tag_config.h"
#include "config/team_config.h"

#include "deployment.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr std::size_t kNotFound = std::numeric_limits<std::size_t>::max();

const QByteArray kTeams = "team = { width = 70, opacity = 0.5, member = {\n"
                          "  { name = 'fire', icon = 'fire.png', count = 2 },\n"
                          "  false,\n"
                          "  { name = 'lonely' },\n"
                          "  { name = 'fire', icon = 'other.png', count = 9 } } }\n";

TEST(Catalogues, StartWithBuiltInSizes)
{
    EXPECT_DOUBLE_EQ(TeamConfig::instance().width(), 60.0);
    EXPECT_DOUBLE_EQ(TeamConfig::instance().opacity(), 0.8);
    EXPECT_DOUBLE_EQ(TagConfig::instance().width(), 50.0);
    EXPECT_DOUBLE_EQ(TagConfig::instance().opacity(), 0.7);
    EXPECT_DOUBLE_EQ(EquipmentConfig::instance().width(), 50.0);
    EXPECT_DOUBLE_EQ(EquipmentConfig::instance().opacity(), 0.7);
    EXPECT_EQ(TeamConfig::instance().teamTypes(), 0u);
    EXPECT_EQ(TagConfig::instance().tagsCount(), 0u);
}

TEST(TeamConfig, LoadsTeamsWithIconsAndCounts)
{
    const Deployment deployment;
    deployment.icon("fire.png", Qt::red, 16);
    TeamConfig& teams = TeamConfig::instance();
    teams.loadTeam(deployment.config("team.lua", kTeams));

    EXPECT_DOUBLE_EQ(teams.width(), 70.0);
    EXPECT_DOUBLE_EQ(teams.opacity(), 0.5);
    ASSERT_EQ(teams.teamTypes(), 3u);
    EXPECT_EQ(teams.nameAt(0), "fire");
    EXPECT_EQ(teams.pixmapAt(0).size(), QSize(16, 16));
    EXPECT_EQ(teams.countAt(0), 2);
    EXPECT_EQ(teams.availableAt(0), 2);

    EXPECT_EQ(teams.nameAt(1), "lonely");
    EXPECT_TRUE(teams.pixmapAt(1).isNull());
    EXPECT_EQ(teams.countAt(1), 0);
    EXPECT_EQ(teams.fileByName("lonely"), QString());
    EXPECT_FALSE(teams.teamAvailable("lonely"));
    EXPECT_TRUE(teams.existTeam("lonely"));

    EXPECT_TRUE(teams.pixmapAt(2).isNull()); // other.png is missing
    EXPECT_EQ(teams.fileByName("fire"), "fire.png");
    EXPECT_EQ(teams.teamIndex("fire"), 0u);
    EXPECT_EQ(teams.teamIndex("Fire"), kNotFound);
    EXPECT_FALSE(teams.existTeam("Fire"));
    EXPECT_EQ(teams.fileByName("Fire"), QString());
}

TEST(TeamConfig, DeployingCountsWithoutBounds)
{
    const Deployment deployment;
    TeamConfig& teams = TeamConfig::instance();
    teams.loadTeam(deployment.config("team.lua", kTeams));

    for (int ix = 0; ix < 3; ++ix)
        teams.deployTeam("fire");
    EXPECT_EQ(teams.availableAt(0), -1);
    EXPECT_EQ(teams.availableAt(2), 9); // only the first of equal names is counted
    EXPECT_FALSE(teams.teamAvailable("fire"));
    teams.deployTeam("nobody");

    teams.withdrawTeam("fire");
    teams.withdrawTeam("fire");
    EXPECT_TRUE(teams.teamAvailable("fire"));
    teams.withdrawTeam("fire");
    teams.withdrawTeam("fire");
    EXPECT_EQ(teams.availableAt(0), 3);

    teams.withdrawTeams();
    EXPECT_EQ(teams.availableAt(0), 2);
    teams.deployTeam("fire");
    teams.loadTeam(deployment.config("team.lua", kTeams));
    EXPECT_EQ(teams.availableAt(0), 2);
}

TEST(TeamConfig, FailedLoadLeavesNoTeams)
{
    const Deployment deployment;
    TeamConfig& teams = TeamConfig::instance();
    teams.loadTeam(deployment.config("team.lua", kTeams));
    const QString missing = deployment.configPath("absent.lua");
    EXPECT_EQ(errorOf([&] { teams.loadTeam(missing); }), "配置文件" + missing + "不存在");
    EXPECT_EQ(teams.teamTypes(), 0u);
    EXPECT_DOUBLE_EQ(teams.width(), 70.0);

    teams.loadTeam(deployment.config("team.lua", kTeams));
    teams.loadTeam(deployment.config("none.lua", "tag = {}\n"));
    EXPECT_EQ(teams.teamTypes(), 0u);

    // A count that would wrap is refused by name; nothing of the file is kept.
    const QString huge = deployment.config("huge.lua", "team = { width = 1, member = { { name = 'a', count = 1 },\n"
                                                       "  { name = 'b', count = 3000000000 } } }\n");
    EXPECT_EQ(errorOf([&] { teams.loadTeam(huge); }),
              "配置文件" + huge + "中count的值3000000000超出范围-2147483648至2147483647");
    EXPECT_EQ(teams.teamTypes(), 0u);
    EXPECT_DOUBLE_EQ(teams.width(), 70.0);
}

TEST(TagConfig, LoadsTagsAndLooksThemUp)
{
    const Deployment deployment;
    deployment.icon("leak.png", Qt::blue, 12);
    TagConfig& tags = TagConfig::instance();
    tags.loadTag(deployment.config("tag.lua", "tag = { member = { { name = 'leak', icon = 'leak.png' },\n"
                                              "  { icon = 'gone.png' }, 7, { name = 'leak', icon = 'x.png' } } }\n"));

    EXPECT_DOUBLE_EQ(tags.width(), 60.0);
    EXPECT_DOUBLE_EQ(tags.opacity(), 0.8);
    ASSERT_EQ(tags.tagsCount(), 3u);
    EXPECT_EQ(tags.nameAt(1), "NA");
    EXPECT_TRUE(tags.pixmapAt(1).isNull());
    EXPECT_EQ(tags.pixmapByName("leak").size(), QSize(12, 12));
    EXPECT_EQ(tags.fileByName("leak"), "leak.png");
    EXPECT_EQ(tags.tagIndex("NA"), 1u);
    EXPECT_TRUE(tags.existTag("leak"));
    EXPECT_EQ(tags.tagIndex("unknown"), kNotFound);
    EXPECT_TRUE(tags.pixmapByName("unknown").isNull());
    EXPECT_EQ(tags.fileByName("unknown"), QString());

    tags.addTag("leak.png", "added");
    EXPECT_EQ(tags.tagsCount(), 4u);
    EXPECT_FALSE(tags.pixmapByName("added").isNull());

    const QString broken = deployment.config("broken.lua", "tag = {}\nrequire('io')\n");
    EXPECT_TRUE(errorOf([&] { tags.loadTag(broken); }).startsWith("解析配置文件" + broken + "错误。"));
    EXPECT_EQ(tags.tagsCount(), 0u);
}

TEST(EquipmentConfig, PicturesAreTheHostsAndSurviveLoads)
{
    EquipmentConfig& equipment = EquipmentConfig::instance();
    equipment.clearPixmap();
    QPixmap red(4, 4);
    red.fill(Qt::red);
    QPixmap blue(4, 4);
    blue.fill(Qt::blue);
    equipment.addEquipment("pump", red);
    equipment.addEquipment("pump", blue);
    EXPECT_EQ(equipment.pixmapByName("pump").cacheKey(), red.cacheKey());
    EXPECT_TRUE(equipment.existPixmap("pump"));
    EXPECT_FALSE(equipment.existPixmap("hose"));
    EXPECT_TRUE(equipment.pixmapByName("hose").isNull());

    const Deployment deployment;
    equipment.loadConfig(deployment.config("equipment.lua", "equipment = { width = 30 }\n"));
    EXPECT_DOUBLE_EQ(equipment.width(), 30.0);
    EXPECT_DOUBLE_EQ(equipment.opacity(), 0.8);
    EXPECT_TRUE(equipment.existPixmap("pump"));
    equipment.loadConfig(deployment.config("none.lua", "team = {}\n"));
    EXPECT_DOUBLE_EQ(equipment.width(), 30.0);

    equipment.clearPixmap();
    EXPECT_FALSE(equipment.existPixmap("pump"));
}

using CataloguesDeathTest = testing::Test;

TEST_F(CataloguesDeathTest, IndexesMustBeInRange)
{
    EXPECT_DEATH(TeamConfig::instance().nameAt(99),
                 "ix < teams_.size\\(\\).*const QString& TeamConfig::nameAt\\(std::size_t\\) const");
    EXPECT_DEATH(TeamConfig::instance().pixmapAt(99), "ix < teams_.size\\(\\).*QPixmap TeamConfig::pixmapAt");
    EXPECT_DEATH(TeamConfig::instance().countAt(99), "ix < teams_.size\\(\\).*int TeamConfig::countAt");
    EXPECT_DEATH(TeamConfig::instance().availableAt(99), "ix < teams_.size\\(\\).*int TeamConfig::availableAt");
    EXPECT_DEATH(TagConfig::instance().nameAt(99),
                 "ix < tags_.size\\(\\).*const QString& TagConfig::nameAt\\(std::size_t\\) const");
    EXPECT_DEATH(TagConfig::instance().pixmapAt(99),
                 "ix < tags_.size\\(\\).*QPixmap TagConfig::pixmapAt\\(std::size_t\\) const");
}

} // namespace
