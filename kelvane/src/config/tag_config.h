#pragma once

#include "kelvane_export.h"

#include <QPixmap>
#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

/// Process-wide catalogue of the free markers (an icon and a name) that can be
/// placed on a deck.
class KELVANE_EXPORT TagConfig
{
public:
    /// One kind of marker.
    struct Tag
    {
        QString file; ///< icon file name
        QString name;
        QPixmap pix;
    };

    /// The one instance, created on first use.
    static TagConfig& instance();

    ~TagConfig();

    /// Reads the global `tag` of a Lua file. The catalogue is emptied before the
    /// file is opened, so a file that fails to load (std::runtime_error) leaves no tags.
    void loadTag(const QString& filename);
    /// Appends a tag whose pixmap is the icon \a file of the icon folder (null if it cannot be read).
    void addTag(QString file, const QString& name);

    /// Marker width in scene units.
    qreal width() const { return width_; }
    qreal opacity() const { return opacity_; }

    std::size_t tagsCount() const { return tags_.size(); }
    /// Entry \a ix; \a ix must be below tagsCount().
    const QString& nameAt(std::size_t ix) const;
    QPixmap pixmapAt(std::size_t ix) const;
    /// Pixmap of the first tag named \a name, or a null pixmap.
    QPixmap pixmapByName(const QString& name) const;
    /// Icon file name of the first tag named \a name, or empty.
    QString fileByName(const QString& name) const;
    /// Position of the first tag named \a name, or the largest std::size_t if none.
    std::size_t tagIndex(const QString& name) const;
    bool existTag(const QString& name) const;

protected:
    TagConfig();

    Tag* tagByName(const QString& name);
    const Tag* tagByName(const QString& name) const;
    /// Takes the icon folder from the configuration file's location.
    void orientIconPath(const QString& tag_file);

private:
    static std::unique_ptr<TagConfig> self_;

    QString icon_path_;
    qreal width_;
    qreal opacity_;
    std::vector<Tag> tags_;
};
