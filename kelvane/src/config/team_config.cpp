#include "config/team_config.h"

#include "config/icon_folder.h"
#include "config/named_icon_list.h"
#include "kelvane_assert.h"

#include <utility>

namespace {

using Teams = kelvane::NamedIconList<TeamConfig::Team>;

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

// Teams use the load defaults before any load as well.
TeamConfig::TeamConfig()
    : width_(Teams::kDefaultWidth)
    , opacity_(Teams::kDefaultOpacity)
{
}

TeamConfig::~TeamConfig() = default;

void TeamConfig::loadTeam(const QString& filename)
{
    orientIconPath(filename);
    Teams::load(filename, "team", width_, opacity_, teams_,
                [this, &filename](lua_State* L, int e, const QString& name, const QString& icon) {
                    const int count = ostrel::luaIntField(L, e, "count", 0, filename);
                    return Team(icon, name, QPixmap(icon_path_ + icon), count);
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
    return Teams::indexOf(teams_, name);
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
    return Teams::find(teams_, name);
}

void TeamConfig::orientIconPath(const QString& tag_file)
{
    icon_path_ = kelvane::iconFolderBeside(tag_file);
}
