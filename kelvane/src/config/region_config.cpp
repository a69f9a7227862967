#include "config/region_config.h"

#include "lua_reader_helpers.h"

namespace {

constexpr qreal kInitialHoverOpacity = 0.3;

constexpr qreal kDefaultHoverOpacity = 0.3;
constexpr const char* kDefaultHoverColor = "#00FFFF";
constexpr const char* kDefaultName = "NA";
constexpr const char* kDefaultEditColor = "#0000FF";
constexpr const char* kDefaultTraceColor = "#FF0000";
constexpr qreal kDefaultPenWidth = 4.0;
// Traced segments are drawn thinner than the line being edited.
constexpr qreal kTraceWidthRatio = 0.5;

const std::shared_ptr<harq::ViewGroup> kNoGroup;

} // namespace

std::unique_ptr<RegionConfig> RegionConfig::self_;

RegionConfig& RegionConfig::instance()
{
    if (!self_)
        self_.reset(new RegionConfig);
    return *self_;
}

RegionConfig::RegionConfig()
    : hover_opacity_(kInitialHoverOpacity)
{
}

RegionConfig::~RegionConfig() = default;

void RegionConfig::loadStyle(const QString& filename)
{
    const ostrel::LuaStatePtr state(ostrel::loadLuaConfig(filename));
    lua_State* L = state.get();
    const ostrel::LuaStackAssist guard(L);

    const int t = ostrel::luaGlobalTable(L, "region");
    if (t == 0)
        return;

    // Everything is read before anything is kept, so a refused value leaves the style as it was.
    const qreal hover_opacity = ostrel::luaField(L, t, "hover_opacity", kDefaultHoverOpacity).toReal();
    const QColor hover_color(ostrel::luaField(L, t, "hover_color", kDefaultHoverColor).toString());

    SrTypes sensitives;
    // Positions in the list are type numbers, so elements that are not tables leave their slot empty.
    ostrel::luaForEachTable(L, t, "view_group", kRegionTypes, [&](int position, int e) {
        const QString name = ostrel::luaField(L, e, "name", kDefaultName).toString();
        const QString icon = ostrel::luaField(L, e, "icon", QString()).toString();
        const int response = ostrel::luaIntField(L, e, "response", 0, filename);
        sensitives[std::size_t(position - 1)] = std::make_shared<harq::ViewGroup>(name, icon, response);
    });

    hover_opacity_ = hover_opacity;
    hover_color_ = hover_color;
    sensitives_ = std::move(sensitives);

    loadSceneStyle(L);
}

void RegionConfig::loadSceneStyle(lua_State* lua)
{
    const ostrel::LuaStackAssist guard(lua);

    const int t = ostrel::luaGlobalTable(lua, "scene");
    if (t == 0)
        return;

    const QColor edit(ostrel::luaField(lua, t, "color", kDefaultEditColor).toString());
    const QColor trace(ostrel::luaField(lua, t, "trace", kDefaultTraceColor).toString());
    const qreal width = ostrel::luaField(lua, t, "width", kDefaultPenWidth).toReal();

    path_edit_pen_ = QPen(edit);
    path_edit_pen_.setWidthF(width);
    path_trace_pen_ = QPen(trace);
    path_trace_pen_.setWidthF(width * kTraceWidthRatio);
}

const std::shared_ptr<harq::ViewGroup>& RegionConfig::slot(int type) const
{
    if (type < 0 || type >= kRegionTypes)
        return kNoGroup;
    return sensitives_[std::size_t(type)];
}

QString RegionConfig::srName(int type) const
{
    const auto& group = slot(type);
    return group ? group->name() : QString();
}

QString RegionConfig::srIconName(int type) const
{
    const auto& group = slot(type);
    return group ? group->group() : QString();
}

int RegionConfig::srType(const QString& name) const
{
    for (int type = 0; type < kRegionTypes; ++type) {
        const auto& group = sensitives_[std::size_t(type)];
        if (group && group->name() == name)
            return type;
    }
    return 0;
}

QList<int> RegionConfig::srTypes() const
{
    QList<int> types;
    for (int type = 0; type < kRegionTypes; ++type)
        types.append(type);
    return types;
}
