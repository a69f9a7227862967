#pragma once

#include "kelvane_export.h"

#include <QPixmap>
#include <QString>

#include <memory>
#include <vector>

/// Process-wide size and opacity of equipment markers, and the pictures of the
/// equipment kinds, which the host hands in by name.
///
/// Name look-ups are exact (case-sensitive) and take the first entry of that
/// name. Edition with tags only.
class KELVANE_EXPORT EquipmentConfig
{
public:
    /// The picture of one equipment kind.
    struct Eq
    {
        QString name; ///< name of the equipment kind, as looked up
        QPixmap pix;  ///< its picture, as handed in by the host
    };

    /// The one instance, created on first use and kept until the process ends.
    static EquipmentConfig& instance();

    EquipmentConfig(const EquipmentConfig&) = delete;
    EquipmentConfig& operator=(const EquipmentConfig&) = delete;
    ~EquipmentConfig();

    /// Reads the global `equipment` of a Lua file (size and opacity only; the
    /// pictures are left alone); throws std::runtime_error when the file cannot be loaded.
    /// When `equipment` is a table, `width` and `opacity` are set (defaults 60
    /// and 0.8, unlike the 50 and 0.7 before any load); otherwise nothing changes.
    void loadConfig(const QString& filename);
    /// Appends a picture; with duplicate names the first one is found.
    void addEquipment(const QString& name, QPixmap pix);

    /// Marker width in scene units; 50 before a load.
    qreal width() const { return width_; }
    /// Marker opacity, 0 to 1; 0.7 before a load.
    qreal opacity() const { return opacity_; }

    /// Picture of the first entry named \a name, or a null pixmap.
    QPixmap pixmapByName(const QString& name) const;
    /// An entry named \a name exists (its picture may still be null).
    bool existPixmap(const QString& name) const;
    /// Removes every picture.
    void clearPixmap();

protected:
    /// No pictures, markers 50 wide at opacity 0.7. Use instance().
    EquipmentConfig();

    /// First entry named \a name, or null. Valid until the next addEquipment or clearPixmap.
    Eq* eqByName(const QString& name);
    /// First entry named \a name, or null. Valid until the next addEquipment or clearPixmap.
    const Eq* eqByName(const QString& name) const;
    /// Takes the icon folder from the configuration file's location: the folder
    /// "icons" beside the one holding \a tag_file, or "/" when it does not exist.
    /// No operation reads it: pictures are handed in ready-made.
    void orientIconPath(const QString& tag_file);

private:
    static std::unique_ptr<EquipmentConfig> self_;

    QString icon_path_;
    qreal width_;
    qreal opacity_;
    std::vector<Eq> equips_;
};
