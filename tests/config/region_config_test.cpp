#include "config/region_config.h"

#include "deployment.h"

#include "lua_facade.h"

#include <gtest/gtest.h>

#include <lua.hpp>

namespace {

harq::ViewGroup* groupPtr(int type)
{
#ifdef KELVANE_MAINTENANCE
    return RegionConfig::instance().srViewGroup(type);
#else
    return RegionConfig::instance().srViewGroupPtr(type);
#endif
}

const QByteArray kStyled = "region = { hover_opacity = 0.5, hover_color = 'red',\n"
                           "  view_group = { { name = 'cabin', icon = 'cabin.svg', response = 7 },\n"
                           "                 'not a table',\n"
                           "                 { name = 'engine', response = 3 },\n"
                           "                 { icon = 'x.svg' },\n"
                           "                 { name = 'cabin', icon = 'second.svg' } } }\n"
                           "scene = { color = 'green', trace = '#123456', width = 6 }\n";

TEST(RegionConfig, StartsUnconfigured)
{
    const RegionConfig& config = RegionConfig::instance();
    EXPECT_EQ(&config, &RegionConfig::instance());
    EXPECT_FALSE(config.hoverColor().isValid());
    EXPECT_DOUBLE_EQ(config.hoverOpacity(), 0.3);
    EXPECT_EQ(config.pathEditPen(), QPen());
    EXPECT_EQ(config.pathTracePen(), QPen());
    EXPECT_EQ(config.srTypes(), QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    for (int type = -1; type <= RegionConfig::kRegionTypes; ++type) {
        EXPECT_EQ(config.srName(type), QString());
        EXPECT_EQ(groupPtr(type), nullptr);
    }
}

TEST(RegionConfig, LoadsTypesByPositionAndBothPens)
{
    const Deployment deployment;
    RegionConfig& config = RegionConfig::instance();
    config.loadStyle(deployment.config("region.lua", kStyled));

    EXPECT_DOUBLE_EQ(config.hoverOpacity(), 0.5);
    EXPECT_EQ(config.hoverColor(), QColor(Qt::red));

    EXPECT_EQ(config.srName(0), "cabin");
    EXPECT_EQ(config.srIconName(0), "cabin.svg");
    ASSERT_NE(groupPtr(0), nullptr);
    EXPECT_EQ(groupPtr(0)->responseType(), 7);
    // A list element that is not a table still takes its type number.
    EXPECT_EQ(config.srName(1), QString());
    EXPECT_EQ(groupPtr(1), nullptr);
    EXPECT_EQ(config.srName(2), "engine");
    EXPECT_EQ(config.srIconName(2), QString());
    EXPECT_EQ(config.srName(3), "NA");
    EXPECT_EQ(config.srIconName(3), "x.svg");
    EXPECT_EQ(groupPtr(3)->responseType(), 0);
    EXPECT_EQ(config.srName(5), QString());
    EXPECT_EQ(config.srName(-1), QString());
    EXPECT_EQ(config.srName(10), QString());
    EXPECT_EQ(config.srIconName(10), QString());

    EXPECT_EQ(config.srType("engine"), 2);
    EXPECT_EQ(config.srType("cabin"), 0); // the first of two equal names
    EXPECT_EQ(config.srType("Engine"), 0);
    EXPECT_EQ(config.srType("unknown"), 0);

    EXPECT_EQ(config.pathEditPen().color(), QColor(0, 128, 0)); // SVG green
    EXPECT_EQ(config.pathEditPen().style(), Qt::SolidLine);
    EXPECT_DOUBLE_EQ(config.pathEditPen().widthF(), 6.0);
    EXPECT_EQ(config.pathTracePen().color(), QColor("#123456"));
    EXPECT_DOUBLE_EQ(config.pathTracePen().widthF(), 3.0);
}

TEST(RegionConfig, MissingKeysTakeLoadDefaults)
{
    const Deployment deployment;
    RegionConfig& config = RegionConfig::instance();
    config.loadStyle(deployment.config("styled.lua", kStyled));
    config.loadStyle(deployment.config("bare.lua", "region = { hover_color = 'no such colour' }\nscene = {}\n"));

    EXPECT_DOUBLE_EQ(config.hoverOpacity(), 0.3);
    EXPECT_FALSE(config.hoverColor().isValid());
    for (int type = 0; type < RegionConfig::kRegionTypes; ++type)
        EXPECT_EQ(groupPtr(type), nullptr) << type;
    EXPECT_EQ(config.pathEditPen().color(), QColor("#0000FF"));
    EXPECT_DOUBLE_EQ(config.pathEditPen().widthF(), 4.0);
    EXPECT_EQ(config.pathTracePen().color(), QColor("#FF0000"));
    EXPECT_DOUBLE_EQ(config.pathTracePen().widthF(), 2.0);

    config.loadStyle(deployment.config("region_only.lua", "region = {}\n"));
    EXPECT_EQ(config.hoverColor(), QColor("#00FFFF"));
}

TEST(RegionConfig, SceneIsReadOnlyWithRegion)
{
    const Deployment deployment;
    RegionConfig& config = RegionConfig::instance();
    config.loadStyle(deployment.config("styled.lua", kStyled));

    config.loadStyle(deployment.config("scene_only.lua", "scene = { color = 'black', width = 1 }\n"));
    EXPECT_EQ(config.srName(0), "cabin");
    EXPECT_EQ(config.hoverColor(), QColor(Qt::red));
    EXPECT_EQ(config.pathEditPen().color(), QColor(0, 128, 0)); // SVG green

    config.loadStyle(deployment.config("region_only.lua", "region = { hover_opacity = 0.9 }\n"));
    EXPECT_DOUBLE_EQ(config.hoverOpacity(), 0.9);
    EXPECT_EQ(config.pathEditPen().color(), QColor(0, 128, 0)); // SVG green
    EXPECT_DOUBLE_EQ(config.pathTracePen().widthF(), 3.0);
}

TEST(RegionConfig, TakesAtMostTenTypes)
{
    QByteArray text = "region = { view_group = {";
    for (int ix = 0; ix < 12; ++ix)
        text += " { name = 't" + QByteArray::number(ix) + "' },";
    text += " } }\n";
    const Deployment deployment;
    RegionConfig& config = RegionConfig::instance();
    config.loadStyle(deployment.config("twelve.lua", text));
    EXPECT_EQ(config.srName(9), "t9");
    EXPECT_EQ(config.srType("t10"), 0);
    EXPECT_EQ(config.srType("t9"), 9);
}

TEST(RegionConfig, FailedLoadChangesNothing)
{
    const Deployment deployment;
    RegionConfig& config = RegionConfig::instance();
    config.loadStyle(deployment.config("styled.lua", kStyled));
    const QString broken = deployment.config("broken.lua", "region = { hover_opacity = 0.1 }\nprint('x')\n");
    EXPECT_TRUE(errorOf([&] { config.loadStyle(broken); }).startsWith("解析配置文件" + broken + "错误。"));
    EXPECT_DOUBLE_EQ(config.hoverOpacity(), 0.5);
    EXPECT_EQ(config.srName(2), "engine");
}

TEST(RegionConfig, HandedOutGroupsOutliveAReload)
{
    const Deployment deployment;
    RegionConfig& config = RegionConfig::instance();
    config.loadStyle(deployment.config("styled.lua", kStyled));
#ifdef KELVANE_MAINTENANCE
    EXPECT_EQ(config.srViewGroup(2)->name(), "engine");
#else
    const std::shared_ptr<harq::ViewGroup> engine = config.srViewGroup(2);
    EXPECT_EQ(engine.get(), config.srViewGroupPtr(2));
    EXPECT_EQ(config.srViewGroup(11), nullptr);
    config.loadStyle(deployment.config("empty.lua", "region = {}\n"));
    EXPECT_EQ(config.srViewGroup(2), nullptr);
    EXPECT_EQ(engine->name(), "engine");
#endif
}

/// Reaches the scene reader, which hosts cannot call.
class SceneReader : public RegionConfig
{
public:
    using RegionConfig::loadSceneStyle;
};

TEST(RegionConfig, SceneReaderLeavesTheStackAsItWas)
{
    const Deployment deployment;
    const ostrel::LuaStatePtr state(
        ostrel::loadLuaConfig(deployment.config("scene.lua", "scene = { color = 'navy', width = '8' }\n")));
    lua_State* L = state.get();
    lua_pushinteger(L, 1);
    lua_pushstring(L, "kept");

    SceneReader reader;
    reader.loadSceneStyle(L);
    EXPECT_EQ(lua_gettop(L), 2);
    EXPECT_STREQ(lua_tostring(L, -1), "kept");
    EXPECT_EQ(reader.pathEditPen().color(), QColor(0, 0, 128));
    EXPECT_DOUBLE_EQ(reader.pathEditPen().widthF(), 8.0);
    EXPECT_EQ(reader.pathTracePen().color(), QColor("#FF0000"));
    EXPECT_DOUBLE_EQ(reader.pathTracePen().widthF(), 4.0);
}

TEST(RegionConfig, BrokenTextIsReadNotTrusted)
{
    const Deployment deployment;
    RegionConfig& config = RegionConfig::instance();
    config.loadStyle(deployment.config("bytes.lua", "region = { hover_color = '\\255\\0',\n"
                                                    "  view_group = { { name = 'a\\255\\254b', icon = 'i\\0j' } } }\n"));
    EXPECT_EQ(config.srName(0), QString::fromUtf8("a\xff\xfe" "b"));
    EXPECT_EQ(config.srIconName(0), "i"); // text ends at a zero byte
    EXPECT_FALSE(config.hoverColor().isValid());
}

} // namespace
