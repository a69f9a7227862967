#pragma once

#include "kelvane_export.h"

#include <QPixmap>
#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

/// Process-wide catalogue of the damage-control teams that can be placed on a
/// deck, with how many of each kind exist and how many are still free.
///
/// A team tag checks teamAvailable before it is placed, deploys a team when
/// placed and withdraws it when destroyed. Name look-ups are exact
/// (case-sensitive) and take the first kind of that name. Edition with tags only.
class KELVANE_EXPORT TeamConfig
{
public:
    /// One kind of team.
    struct Team
    {
        /// A kind with \a count teams, all of them available.
        Team(const QString& file, const QString& name, const QPixmap& pix, int count);

        QString file; ///< icon file name
        QString name; ///< name of the kind, as shown and looked up
        QPixmap pix;  ///< marker icon; null when the file could not be loaded
        int count;     ///< teams of this kind
        int available; ///< teams of this kind not deployed
    };

    /// The one instance, created on first use and kept until the process ends.
    static TeamConfig& instance();

    TeamConfig(const TeamConfig&) = delete;
    TeamConfig& operator=(const TeamConfig&) = delete;
    ~TeamConfig();

    /// Reads the global `team` of a Lua file. The catalogue is emptied before the
    /// file is opened, so a file that fails to load, or whose `count` does not
    /// fit an int (std::runtime_error), leaves no teams and the sizes as they were.
    ///
    /// The icon folder is first taken from the file's location ("icons" beside
    /// the file's folder). When `team` is a table, `width` and `opacity` are set
    /// (defaults 60 and 0.8) and every table of the list `member` adds a kind
    /// with its `name` (default "NA"), `icon` file and `count` (default 0), all
    /// of its teams available; other elements are skipped. Deployment counts
    /// start afresh, and indices handed out earlier may now name other kinds.
    void loadTeam(const QString& filename);

    /// Marker width in scene units; 60 before a load.
    qreal width() const { return width_; }
    /// Marker opacity, 0 to 1; 0.8 before a load.
    qreal opacity() const { return opacity_; }

    /// Number of kinds of team.
    std::size_t teamTypes() const { return teams_.size(); }
    /// Name of kind \a ix; \a ix must be below teamTypes() (asserted, as for the
    /// other ...At accessors). The reference is valid until the next loadTeam.
    const QString& nameAt(std::size_t ix) const;
    /// Icon of kind \a ix (a copy; null when its file could not be loaded).
    QPixmap pixmapAt(std::size_t ix) const;
    /// Number of teams of kind \a ix.
    int countAt(std::size_t ix) const;
    /// Teams of kind \a ix not deployed; may be negative or above the count,
    /// since deploying and withdrawing are not bounded.
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
    /// A kind named \a name exists, whether or not a team of it is left.
    bool existTeam(const QString& name) const;
    /// Icon file name of the first kind named \a name, or empty.
    QString fileByName(const QString& name) const;

protected:
    /// Empty catalogue, markers 60 wide at opacity 0.8. Use instance().
    TeamConfig();

    /// First kind named \a name, or null. Valid until the next loadTeam.
    Team* teamByName(const QString& name);
    /// First kind named \a name, or null. Valid until the next loadTeam.
    const Team* teamByName(const QString& name) const;
    /// Takes the icon folder from the configuration file's location: the folder
    /// "icons" beside the one holding \a tag_file, or "/" when it does not exist.
    void orientIconPath(const QString& tag_file);

private:
    static std::unique_ptr<TeamConfig> self_;

    QString icon_path_;
    qreal width_;
    qreal opacity_;
    std::vector<Team> teams_;
};
