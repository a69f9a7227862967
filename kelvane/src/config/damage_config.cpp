#include "config/damage_config.h"

#include "lua_reader_helpers.h"

namespace {

// Before any load the display uses the same values a file without the keys gives.
constexpr int kDefaultShowTime = 500;
constexpr int kDefaultHideTime = 200;
constexpr qreal kDefaultOpacity = 0.3;
constexpr const char* kDefaultName = "NA";

} // namespace

std::unique_ptr<DamageConfig> DamageConfig::self_;

DamageConfig& DamageConfig::instance()
{
    if (!self_)
        self_.reset(new DamageConfig);
    return *self_;
}

DamageConfig::DamageConfig()
    : showtime_(kDefaultShowTime)
    , hidetime_(kDefaultHideTime)
    , opacity_(kDefaultOpacity)
{
}

DamageConfig::~DamageConfig() = default;

void DamageConfig::loadStyle(const QString& filename)
{
    const ostrel::LuaStatePtr state(ostrel::loadLuaConfig(filename));
    lua_State* L = state.get();
    const ostrel::LuaStackAssist guard(L);

    const int t = ostrel::luaGlobalTable(L, "damage");
    if (t == 0)
        return;

    // Everything is read before anything is kept, so a refused value leaves the style as it was.
    const int showtime = ostrel::luaIntField(L, t, "showtime", kDefaultShowTime, filename);
    const int hidetime = ostrel::luaIntField(L, t, "hidetime", kDefaultHideTime, filename);
    const qreal opacity = ostrel::luaField(L, t, "opacity", kDefaultOpacity).toReal();

    DamageResponses responses;
    ostrel::luaForEachTable(L, t, "response", ostrel::kMaxListLength, [&](int, int e) {
        const int type = ostrel::luaIntField(L, e, "type", 0, filename);
        const QString name = ostrel::luaField(L, e, "name", kDefaultName).toString();
        const QString color = ostrel::luaField(L, e, "color", QString()).toString();
        responses.append(std::make_shared<harq::DamageResponse>(type, name, color));
    });

    showtime_ = showtime;
    hidetime_ = hidetime;
    opacity_ = opacity;
    responses_ = std::move(responses);
    colors_.clear();
}

std::optional<harq::DamageResponse> DamageConfig::response(int type) const
{
    std::optional<harq::DamageResponse> combined;
    for (const auto& entry : responses_) {
        if (!entry->hasResponse(type))
            continue;
        if (combined)
            combined->mixWith(*entry);
        else
            combined = *entry;
    }
    return combined;
}

std::optional<QColor> DamageConfig::responseColor(int type) const
{
    const auto known = colors_.constFind(type);
    if (known != colors_.cend())
        return *known;
    std::optional<QColor> combined;
    for (const auto& entry : responses_) {
        if (!entry->hasResponse(type))
            continue;
        combined = combined ? harq::DamageResponse::mixColor(*combined, entry->color()) : entry->color();
    }
    colors_.insert(type, combined);
    return combined;
}
