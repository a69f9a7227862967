// The sample ship's catalogues, which the edition with tags alone reads.
#include "config/equipment_config.h"
#include "config/tag_config.h"
#include "config/team_config.h"

#include "sample_ship.h"

#include <gtest/gtest.h>

namespace {

using sample_ship::iconLoads;
using sample_ship::sample;

TEST(SampleShip, Catalogues)
{
    TeamConfig& teams = TeamConfig::instance();
    teams.loadTeam(sample("team.lua"));
    ASSERT_EQ(teams.teamTypes(), 4u);
    for (std::size_t ix = 0; ix < teams.teamTypes(); ++ix) {
        EXPECT_FALSE(teams.pixmapAt(ix).isNull()) << teams.nameAt(ix).toStdString();
        EXPECT_GT(teams.countAt(ix), 0);
    }

    TagConfig& tags = TagConfig::instance();
    tags.loadTag(sample("tag.lua"));
    ASSERT_EQ(tags.tagsCount(), 4u);
    for (std::size_t ix = 0; ix < tags.tagsCount(); ++ix)
        EXPECT_FALSE(tags.pixmapAt(ix).isNull()) << tags.nameAt(ix).toStdString();

    EquipmentConfig& equipment = EquipmentConfig::instance();
    equipment.loadConfig(sample("equipment.lua"));
    EXPECT_DOUBLE_EQ(equipment.width(), 40.0);
    for (const char* name : {"equip_extinguisher.svg", "equip_pump.svg", "equip_breathing.svg", "equip_hose.svg"})
        EXPECT_TRUE(iconLoads(name)) << name;
}

} // namespace
