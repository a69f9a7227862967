#pragma once

#include "kelvane_export.h"

#include "entity/view_group.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <memory>

/// Process-wide style of sensor pictures: icon size and opacity, label colour
/// and scale, the colours that mark abnormal items, the icon files and the
/// sensor view groups.
class KELVANE_EXPORT SensorConfig
{
public:
#ifdef KELVANE_MAINTENANCE
    using ViewGroups = QList<harq::ViewGroup>;
#else
    using ViewGroups = QList<std::shared_ptr<harq::ViewGroup>>;
#endif
    using StateColors = QStringList;

    /// The one instance, created on first use.
    static SensorConfig& instance();

    SensorConfig(const SensorConfig&) = delete;
    SensorConfig& operator=(const SensorConfig&) = delete;
    ~SensorConfig();

    /// Reads the global `sensor` of a Lua file; throws std::runtime_error when the
    /// file cannot be loaded. The icon folder is taken from the file's location
    /// first (edition with tags), so it changes even when loading fails.
    void loadStyle(const QString& filename);

    /// The icon file \a name of the icon folder. Pixmaps are cached by the bare
    /// name for the life of the process, failures (null pixmaps) included.
    QPixmap icon(const QString& name) const;

    /// Width of a sensor icon in scene units.
    qreal width() const { return width_; }
    /// Opacity of sensor icons and labels.
    qreal opacity() const { return opacity_; }
    /// Scale of sensor labels; not configurable.
    qreal fontScale() const { return font_scale_; }
    /// Colour name of sensor labels.
    const QString& textColor() const { return text_color_; }
    /// Mark colour of the abnormal item at position \a ix of its sensor; positions
    /// outside the list take the last colour; invalid when no colours are configured.
    QColor stateColor(int ix) const;
    /// The sensor view groups in file order.
    const ViewGroups& viewGroups() const { return view_groups_; }

#ifdef KELVANE_MAINTENANCE
    /// Sets the icon folder; trailing slashes are normalised to one.
    void setIconPath(const QString& path);
#else
    /// First view group whose group code is \a group; empty if none.
    std::shared_ptr<harq::ViewGroup> viewGroupByGroup(const QString& group) const;
    /// First view group named \a name; empty if none.
    std::shared_ptr<harq::ViewGroup> viewGroupByName(const QString& name) const;
#endif

protected:
    SensorConfig();

    const QString& iconPath() const { return icon_path_; }
#ifndef KELVANE_MAINTENANCE
    /// Takes the icon folder from the configuration file's location.
    void orientIconPath(const QString& tag_file);
#endif

private:
    static std::unique_ptr<SensorConfig> self_;

    QString icon_path_;
    qreal width_;
    qreal opacity_;
    qreal font_scale_;
    QString text_color_;
    ViewGroups view_groups_;
    StateColors state_colors_;
};
