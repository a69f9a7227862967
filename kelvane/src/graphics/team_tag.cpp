#include "graphics/team_tag.h"

#include "config/team_config.h"

#include <limits>

namespace {

constexpr std::size_t kNoTeam = std::numeric_limits<std::size_t>::max();

} // namespace

TeamTag::TeamTag(QGraphicsItem* parent)
    : PixmapTag(parent)
{
}

TeamTag::~TeamTag()
{
    if (deployed_)
        TeamConfig::instance().withdrawTeam(*deployed_);
}

bool TeamTag::available(const QString& name)
{
    return TeamConfig::instance().teamAvailable(name);
}

TeamTag* TeamTag::toTeamTag(QGraphicsItem* item)
{
    return qobject_cast<TeamTag*>(PixmapTag::toPixmapTag(item));
}

bool TeamTag::deployTeam(const QString& name)
{
    TeamConfig& teams = TeamConfig::instance();
    const bool holdsIt = deployed_ && *deployed_ == name;
    if (teams.existTeam(name) && !holdsIt && !teams.teamAvailable(name))
        return false;
    if (deployed_)
        teams.withdrawTeam(*deployed_);

    name_ = name;
    const std::size_t index = teams.teamIndex(name);
    if (index != kNoTeam)
        setTag(teams.pixmapAt(index), name);

    teams.deployTeam(name);
    deployed_ = name;
    return true;
}

void TeamTag::makeTag(const QString& tag)
{
    name_ = tag;
    PixmapTag::makeTag(tag);
}

double TeamTag::tagWidth() const
{
    return TeamConfig::instance().width();
}

double TeamTag::tagOpacity() const
{
    return TeamConfig::instance().opacity();
}
