#include "config/team_config.h"

#include "config/icon_folder.h"
#include "kelvane_assert.h"
#include "lua_facade.h"

#include <lua.hpp>

#include <limits>
#include <utility>

namespace {

// Teams use the load defaults before any load as well.
constexpr qreal kDefaultWidth = 60.0;
constexpr qreal kDefaultOpacity = 0.8;
constexpr const char* kDefaultName = "NA";
constexpr std::size_t kNotFound = std::numeric_limits<std::size_t>::max();

} // namespace

TeamConfig::Team::Team(const QString& file, const QString& name, const QPixmap& pix, int count)
    : file(file)
    , name(name)
    , pix(pix)
    , count(count)
    , available(count)
{
}

std::unique_ptr<TeamConfig> TeamConfig::self_;

TeamConfig& TeamConfig::instance()
{
    if (!self_)
        self_.reset(new TeamConfig);
    return *self_;
}

TeamConfig::TeamConfig()
    : width_(kDefaultWidth)
    , opacity_(kDefaultOpacity)
{
}

TeamConfig::~TeamConfig() = default;

void TeamConfig::loadTeam(const QString& filename)
{
    orientIconPath(filename);
    teams_.clear();

    const ostrel::LuaStatePtr state(ostrel::loadLuaConfig(filename));
    lua_State* L = state.get();
    const ostrel::LuaStackAssist guard(L);

    lua_getglobal(L, "team");
    if (lua_type(L, -1) != LUA_TTABLE)
        return;
    const int t = lua_gettop(L);

    width_ = ostrel::luaField(L, t, "width", kDefaultWidth).toReal();
    opacity_ = ostrel::luaField(L, t, "opacity", kDefaultOpacity).toReal();

    ostrel::luaForEach(L, t, "member", ostrel::kMaxListLength, [&](int) {
        if (lua_type(L, -1) != LUA_TTABLE)
            return;
        const int e = lua_gettop(L);
        const QString name = ostrel::luaField(L, e, "name", kDefaultName).toString();
        const QString icon = ostrel::luaField(L, e, "icon", QString()).toString();
        const int count = ostrel::luaField(L, e, "count", 0).toInt();
        teams_.emplace_back(icon, name, QPixmap(icon_path_ + icon), count);
    });
}

const QString& TeamConfig::nameAt(std::size_t ix) const
{
    KELVANE_ASSERT(ix < teams_.size());
    return teams_[ix].name;
}

QPixmap TeamConfig::pixmapAt(std::size_t ix) const
{
    KELVANE_ASSERT(ix < teams_.size());
    return teams_[ix].pix;
}

int TeamConfig::countAt(std::size_t ix) const
{
    KELVANE_ASSERT(ix < teams_.size());
    return teams_[ix].count;
}

int TeamConfig::availableAt(std::size_t ix) const
{
    KELVANE_ASSERT(ix < teams_.size());
    return teams_[ix].available;
}

void TeamConfig::deployTeam(const QString& name)
{
    if (Team* team = teamByName(name))
        --team->available;
}

void TeamConfig::withdrawTeam(const QString& name)
{
    if (Team* team = teamByName(name))
        ++team->available;
}

void TeamConfig::withdrawTeams()
{
    for (Team& team : teams_)
        team.available = team.count;
}

bool TeamConfig::teamAvailable(const QString& name) const
{
    const Team* team = teamByName(name);
    return team && team->available > 0;
}

std::size_t TeamConfig::teamIndex(const QString& name) const
{
    for (std::size_t ix = 0; ix < teams_.size(); ++ix) {
        if (teams_[ix].name == name)
            return ix;
    }
    return kNotFound;
}

bool TeamConfig::existTeam(const QString& name) const
{
    return teamByName(name) != nullptr;
}

QString TeamConfig::fileByName(const QString& name) const
{
    const Team* team = teamByName(name);
    return team ? team->file : QString();
}

TeamConfig::Team* TeamConfig::teamByName(const QString& name)
{
    return const_cast<Team*>(std::as_const(*this).teamByName(name));
}

const TeamConfig::Team* TeamConfig::teamByName(const QString& name) const
{
    const std::size_t ix = teamIndex(name);
    return ix == kNotFound ? nullptr : &teams_[ix];
}

void TeamConfig::orientIconPath(const QString& tag_file)
{
    icon_path_ = kelvane::iconFolderBeside(tag_file);
}
