#pragma once

#include "kelvane_export.h"

#include "entity/view_group.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

/// Process-wide style of sensor pictures: icon size and opacity, label colour
/// and scale, the colours that mark abnormal items, the icon files and the
/// sensor view groups.
///
/// Loading may be repeated at any time; nobody is notified, and graphics built
/// earlier keep what they took. Before any load: width 60, opacity 0.8, label
/// colour "#0000FF", item colours red, yellow, magenta, olive.
///
/// The maintenance edition keeps its view groups by value and has no look-ups
/// by name or group; its icon folder is set by the host with setIconPath
/// instead of being derived from the configuration file.
class KELVANE_EXPORT SensorConfig
{
    // What only one edition has; first, as the shared declarations use ViewGroups.
#ifdef KELVANE_MAINTENANCE
public:
    /// The sensor view groups, held by value.
    using ViewGroups = QList<harq::ViewGroup>;

    /// Sets the icon folder; trailing slashes are normalised to one. An empty
    /// \a path (or "/" alone) leaves the folder empty, so icon names are then
    /// taken relative to the working directory. Icons already cached keep their pixmaps.
    void setIconPath(const QString& path);
#else
public:
    /// The sensor view groups, shared with whoever looks them up.
    using ViewGroups = QList<std::shared_ptr<harq::ViewGroup>>;

    /// First view group whose group code is \a group (exact, case-sensitive); empty if none.
    /// The group is shared, so it stays alive across a reload while the caller holds it.
    std::shared_ptr<harq::ViewGroup> viewGroupByGroup(const QString& group) const;
    /// First view group named \a name (exact, case-sensitive); empty if none. Shared like viewGroupByGroup's result.
    std::shared_ptr<harq::ViewGroup> viewGroupByName(const QString& name) const;

protected:
    /// Takes the icon folder from the configuration file's location: the folder
    /// "icons" beside the one holding \a tag_file, or "/" when it does not exist.
    void orientIconPath(const QString& tag_file);
#endif

public:
    /// Colour names of abnormal items, by item position within a sensor.
    using StateColors = QStringList;

    /// The one instance, created on first use and kept until the process ends.
    static SensorConfig& instance();

    SensorConfig(const SensorConfig&) = delete;
    SensorConfig& operator=(const SensorConfig&) = delete;
    ~SensorConfig();

    /// Reads the global `sensor` of a Lua file; throws std::runtime_error when the
    /// file cannot be loaded or a view group's `response` does not fit an int,
    /// and then nothing but the icon folder changes. The icon folder is taken from the file's location
    /// first (edition with tags), so it changes even when loading fails.
    ///
    /// When `sensor` is not a table nothing else changes. Otherwise `width`
    /// (default 40), `text_color` (default "#000080") and `opacity` (default
    /// 0.6) are set, the view groups are replaced by the tables of the list
    /// `view_group` (`name` default "NA", `group`, `response`; other elements
    /// skipped), and the item colours by the list `state` (every element takes
    /// its position; one that is not a string or number gives an empty, hence
    /// invalid, colour; no `state` list leaves no colours at all).
    void loadStyle(const QString& filename);

    /// The icon file \a name of the icon folder. Pixmaps are cached by the bare
    /// name for the life of the process, failures (null pixmaps) included: a
    /// name asked for before the icon folder changes keeps its old pixmap, and
    /// a file that appears later is not picked up.
    QPixmap icon(const QString& name) const;

    /// Width of a sensor icon in scene units.
    qreal width() const { return width_; }
    /// Opacity of sensor icons and labels.
    qreal opacity() const { return opacity_; }
    /// Scale of sensor labels; not configurable.
    qreal fontScale() const { return font_scale_; }
    /// Colour name of sensor labels.
    const QString& textColor() const { return text_color_; }
    /// Colour sensor graphics give their labels: textColor() through the
    /// colour map, textColor() itself without one.
    QColor labelColor() const;

    /// Shows sensor pictures in other colours (a host's night palette): icons
    /// that are SVG documents with every colour mapped through \a map
    /// (SvgColourMap), other icons as they are, and labels in labelColor().
    /// An empty function (the default) shows them as configured. A change
    /// drops the cached icons; graphics take the colours when they are built
    /// (SensorGraphic::setSensor), so a host rebuilds the deck it shows.
    void setColourMap(std::function<QColor(const QColor&)> map);
    /// Sensor labels whose line would be less than \a pixels high on screen
    /// are not drawn: at a zoom that shows thousands of sensors their codes are
    /// a few pixels high and cannot be read, yet drawing them is most of a
    /// repaint. Labels read it as they paint, so it shows at the next repaint
    /// of each. 0 (the default), less, or not finite: labels are drawn at any
    /// size. A label whose text a host replaced through its document is drawn
    /// at any size.
    void setMinimumLabelSize(qreal pixels);
    /// See setMinimumLabelSize().
    qreal minimumLabelSize() const { return minimum_label_size_; }
    /// Mark colour of the abnormal item at position \a ix of its sensor; positions
    /// outside the list take the last colour; invalid when no colours are configured.
    QColor stateColor(int ix) const;
    /// The sensor view groups in file order.
    const ViewGroups& viewGroups() const { return view_groups_; }

protected:
    /// The style before any load (see the class description). Use instance().
    SensorConfig();

    /// Folder the icon files are read from, ending in "/" once set; empty before.
    const QString& iconPath() const { return icon_path_; }

private:
    void parseStateColors();

    static std::unique_ptr<SensorConfig> self_;

    QString icon_path_;
    qreal width_;
    qreal opacity_;
    qreal font_scale_;
    QString text_color_;
    std::function<QColor(const QColor&)> colour_map_;
    qreal minimum_label_size_ = 0;
    ViewGroups view_groups_;
    StateColors state_colors_;
    /// state_colors_ as colours, parsed once: marks ask on every state change.
    QVector<QColor> parsed_state_colors_;
};
