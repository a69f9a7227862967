#pragma once

#include "kelvane_export.h"

#include <QPixmap>
#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

/// Process-wide catalogue of the free markers (an icon and a name) that can be
/// placed on a deck.
///
/// Name look-ups are exact (case-sensitive) and take the first tag of that
/// name. Edition with tags only.
class KELVANE_EXPORT TagConfig
{
public:
    /// One kind of marker.
    struct Tag
    {
        QString file; ///< icon file name
        QString name; ///< name of the marker, as shown and looked up
        QPixmap pix;  ///< marker icon; null when the file could not be loaded
    };

    /// The one instance, created on first use and kept until the process ends.
    static TagConfig& instance();

    ~TagConfig();

    /// Reads the global `tag` of a Lua file. The catalogue is emptied before the
    /// file is opened, so a file that fails to load (std::runtime_error) leaves no tags.
    ///
    /// The icon folder is first taken from the file's location ("icons" beside
    /// the file's folder). When `tag` is a table, `width` and `opacity` are set
    /// (defaults 60 and 0.8, unlike the 50 and 0.7 before any load) and every
    /// table of the list `member` is added as addTag(`icon`, `name`) adds it, the
    /// name defaulting to "NA"; other elements are skipped.
    void loadTag(const QString& filename);
    /// Appends a tag whose pixmap is the icon \a file of the icon folder (null if it cannot be read).
    /// Before any load the folder is empty, so \a file is then taken relative to
    /// the working directory. Duplicate names are allowed; the first is found.
    void addTag(QString file, const QString& name);

    /// Marker width in scene units; 50 before a load.
    qreal width() const { return width_; }
    /// Marker opacity, 0 to 1; 0.7 before a load.
    qreal opacity() const { return opacity_; }

    /// Number of tags.
    std::size_t tagsCount() const { return tags_.size(); }
    /// Name of tag \a ix; \a ix must be below tagsCount() (asserted). The
    /// reference is valid until the next loadTag or addTag.
    const QString& nameAt(std::size_t ix) const;
    /// Icon of tag \a ix (a copy); \a ix must be below tagsCount() (asserted).
    QPixmap pixmapAt(std::size_t ix) const;
    /// Pixmap of the first tag named \a name, or a null pixmap.
    QPixmap pixmapByName(const QString& name) const;
    /// Icon file name of the first tag named \a name, or empty.
    QString fileByName(const QString& name) const;
    /// Position of the first tag named \a name, or the largest std::size_t if none.
    std::size_t tagIndex(const QString& name) const;
    /// A tag named \a name exists.
    bool existTag(const QString& name) const;

protected:
    /// Empty catalogue, markers 50 wide at opacity 0.7. Use instance().
    TagConfig();

    /// First tag named \a name, or null. Valid until the next loadTag or addTag.
    Tag* tagByName(const QString& name);
    /// First tag named \a name, or null. Valid until the next loadTag or addTag.
    const Tag* tagByName(const QString& name) const;
    /// Takes the icon folder from the configuration file's location: the folder
    /// "icons" beside the one holding \a tag_file, or "/" when it does not exist.
    void orientIconPath(const QString& tag_file);

private:
    static std::unique_ptr<TagConfig> self_;

    QString icon_path_;
    qreal width_;
    qreal opacity_;
    std::vector<Tag> tags_;
};
