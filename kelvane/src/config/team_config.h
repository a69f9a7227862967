#pragma once

#include "kelvane_export.h"

#include <QPixmap>
#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

/// Process-wide catalogue of the damage-control teams that can be placed on a
/// deck, with how many of each kind exist and how many are still free.
class KELVANE_EXPORT TeamConfig
{
public:
    /// One kind of team.
    struct Team
    {
        Team(const QString& file, const QString& name, const QPixmap& pix, int count);

        QString file; ///< icon file name
        QString name;
        QPixmap pix;
        int count;     ///< teams of this kind
        int available; ///< teams of this kind not deployed
    };

    /// The one instance, created on first use.
    static TeamConfig& instance();

    TeamConfig(const TeamConfig&) = delete;
    TeamConfig& operator=(const TeamConfig&) = delete;
    ~TeamConfig();

    /// Reads the global `team` of a Lua file. The catalogue is emptied before the
    /// file is opened, so a file that fails to load (std::runtime_error) leaves no teams.
    void loadTeam(const QString& filename);

    /// Marker width in scene units.
    qreal width() const { return width_; }
    qreal opacity() const { return opacity_; }

    std::size_t teamTypes() const { return teams_.size(); }
    /// Entry \a ix; \a ix must be below teamTypes().
    const QString& nameAt(std::size_t ix) const;
    QPixmap pixmapAt(std::size_t ix) const;
    int countAt(std::size_t ix) const;
    int availableAt(std::size_t ix) const;

    /// One team of the first kind named \a name goes out; unbounded, may drop below 0.
    void deployTeam(const QString& name);
    /// One team of the first kind named \a name comes back; unbounded, may exceed the count.
    void withdrawTeam(const QString& name);
    /// Every kind is back at its count.
    void withdrawTeams();
    /// A kind named \a name exists and has a team left.
    bool teamAvailable(const QString& name) const;
    /// Position of the first kind named \a name, or the largest std::size_t if none.
    std::size_t teamIndex(const QString& name) const;
    bool existTeam(const QString& name) const;
    /// Icon file name of the first kind named \a name, or empty.
    QString fileByName(const QString& name) const;

protected:
    TeamConfig();

    Team* teamByName(const QString& name);
    const Team* teamByName(const QString& name) const;
    /// Takes the icon folder from the configuration file's location.
    void orientIconPath(const QString& tag_file);

private:
    static std::unique_ptr<TeamConfig> self_;

    QString icon_path_;
    qreal width_;
    qreal opacity_;
    std::vector<Team> teams_;
};
