#pragma once

#include "kelvane_export.h"

#include <QPixmap>
#include <QString>

#include <memory>
#include <vector>

/// Process-wide size and opacity of equipment markers, and the pictures of the
/// equipment kinds, which the host hands in by name.
class KELVANE_EXPORT EquipmentConfig
{
public:
    /// The picture of one equipment kind.
    struct Eq
    {
        QString name;
        QPixmap pix;
    };

    /// The one instance, created on first use.
    static EquipmentConfig& instance();

    EquipmentConfig(const EquipmentConfig&) = delete;
    EquipmentConfig& operator=(const EquipmentConfig&) = delete;
    ~EquipmentConfig();

    /// Reads the global `equipment` of a Lua file (size and opacity only; the
    /// pictures are left alone); throws std::runtime_error when the file cannot be loaded.
    void loadConfig(const QString& filename);
    /// Appends a picture; with duplicate names the first one is found.
    void addEquipment(const QString& name, QPixmap pix);

    /// Marker width in scene units.
    qreal width() const { return width_; }
    qreal opacity() const { return opacity_; }

    /// Picture of the first entry named \a name, or a null pixmap.
    QPixmap pixmapByName(const QString& name) const;
    bool existPixmap(const QString& name) const;
    /// Removes every picture.
    void clearPixmap();

protected:
    EquipmentConfig();

    Eq* eqByName(const QString& name);
    const Eq* eqByName(const QString& name) const;
    /// Takes the icon folder from the configuration file's location.
    void orientIconPath(const QString& tag_file);

private:
    static std::unique_ptr<EquipmentConfig> self_;

    QString icon_path_;
    qreal width_;
    qreal opacity_;
    std::vector<Eq> equips_;
};
