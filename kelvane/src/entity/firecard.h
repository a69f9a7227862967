#pragma once

#include "kelvane_export.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <utility>
#include <vector>

namespace harq {

class Region;

/// Danger sources of one cabin: device names with their counts (kept as text).
class KELVANE_EXPORT DeviceList
{
public:
    using Devices = std::vector<std::pair<QString, QString>>;

    explicit DeviceList(const QString& cabin = QString());

    void setCabin(const QString& cabin) { cabin_ = cabin; }
    const QString& cabinName() const { return cabin_; }
    void addDevice(const QString& name, const QString& count);
    void clear();
    std::size_t count() const { return devices_.size(); }
    /// \a ix must be below count().
    const QString& deviceNameAt(std::size_t ix) const;
    /// \a ix must be below count().
    const QString& deviceCountAt(std::size_t ix) const;

private:
    QString cabin_;
    Devices devices_;
};

/// The fire card of a compartment: what a fire-fighting team reads there.
class KELVANE_EXPORT Firecard : public QObject
{
    Q_OBJECT

public:
    explicit Firecard(QObject* parent = nullptr);
    ~Firecard() override;

    /// The compartment of the card (not owned).
    void setCenter(Region* center) { center_ = center; }
    Region* center() const { return center_; }

    const QString& passage() const { return passage_; }
    const QString& ventilation() const { return ventilation_; }
    const QString& power() const { return power_; }
    const QString& oil() const { return oil_; }
    const QString& equipment() const { return equipment_; }
    const QString& segregation() const { return segregation_; }
    const QString& smoke() const { return smoke_; }
    const QString& extension() const { return extension_; }
    void setPassage(const QString& text) { passage_ = text; }
    void setVentilation(const QString& text) { ventilation_ = text; }
    void setPower(const QString& text) { power_ = text; }
    void setOil(const QString& text) { oil_ = text; }
    void setEquipment(const QString& text) { equipment_ = text; }
    void setSegregation(const QString& text) { segregation_ = text; }
    void setSmoke(const QString& text) { smoke_ = text; }
    void setExtension(const QString& text) { extension_ = text; }

    DeviceList& dangerSourceInner() { return ds_inner_; }
    /// Appends the danger sources of one surrounding compartment.
    void addDangerSourceOuter(const DeviceList& list) { ds_outer_.push_back(list); }
    std::size_t dangerSourceOuterCount() const { return ds_outer_.size(); }
    /// \a ix must be below dangerSourceOuterCount().
    DeviceList& dangerSourceOuterAt(std::size_t ix);

private:
    Region* center_ = nullptr;
    QString passage_;
    QString ventilation_;
    QString power_;
    QString oil_;
    QString equipment_;
    QString segregation_;
    QString smoke_;
    QString extension_;
    DeviceList ds_inner_;
    std::vector<DeviceList> ds_outer_;
};

} // namespace harq
