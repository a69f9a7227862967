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
/// A plain copyable value.
class KELVANE_EXPORT DeviceList
{
public:
    /// (device name, device count) pairs in insertion order.
    using Devices = std::vector<std::pair<QString, QString>>;

    /// An empty list for the cabin named \a cabin.
    explicit DeviceList(const QString& cabin = QString());

    /// Sets the name of the cabin the list belongs to.
    void setCabin(const QString& cabin) { cabin_ = cabin; }
    /// Name of the cabin the list belongs to.
    const QString& cabinName() const { return cabin_; }
    /// Appends a device \a name with its \a count, kept verbatim (units or words
    /// included); there is no duplicate check.
    void addDevice(const QString& name, const QString& count);
    /// Removes all devices; the cabin name stays.
    void clear();
    /// Number of devices.
    std::size_t count() const { return devices_.size(); }
    /// \a ix must be below count() (anything else aborts). The reference is
    /// valid until the list changes.
    const QString& deviceNameAt(std::size_t ix) const;
    /// \a ix must be below count() (anything else aborts); the count as added.
    const QString& deviceCountAt(std::size_t ix) const;

private:
    QString cabin_;
    Devices devices_;
};

/// The fire card of a compartment: what a fire-fighting team reads there.
///
/// A plain record filled by the host: the texts start empty and the setters
/// emit nothing. Nothing in the library creates, fills or shows a card.
class KELVANE_EXPORT Firecard : public QObject
{
    Q_OBJECT

public:
    /// An empty card without a compartment.
    explicit Firecard(QObject* parent = nullptr);
    ~Firecard() override;

    /// The compartment of the card (not owned, may be null); the card notices its destruction.
    void setCenter(Region* center);
    /// The compartment of the card (not owned); null unless set, and null again
    /// once that compartment is destroyed (by Deck::clearRegion, for instance).
    Region* center() const { return center_; }

    /// Access passages.
    const QString& passage() const { return passage_; }
    /// Ventilation.
    const QString& ventilation() const { return ventilation_; }
    /// Electric power.
    const QString& power() const { return power_; }
    /// Oil (fuel).
    const QString& oil() const { return oil_; }
    /// Equipment.
    const QString& equipment() const { return equipment_; }
    /// Segregation (isolation) of the compartment.
    const QString& segregation() const { return segregation_; }
    /// Smoke.
    const QString& smoke() const { return smoke_; }
    /// Fire extension (spread).
    const QString& extension() const { return extension_; }
    /// Sets the access passages text.
    void setPassage(const QString& text) { passage_ = text; }
    /// Sets the ventilation text.
    void setVentilation(const QString& text) { ventilation_ = text; }
    /// Sets the electric power text.
    void setPower(const QString& text) { power_ = text; }
    /// Sets the oil (fuel) text.
    void setOil(const QString& text) { oil_ = text; }
    /// Sets the equipment text.
    void setEquipment(const QString& text) { equipment_ = text; }
    /// Sets the segregation (isolation) text.
    void setSegregation(const QString& text) { segregation_ = text; }
    /// Sets the smoke text.
    void setSmoke(const QString& text) { smoke_ = text; }
    /// Sets the fire extension (spread) text.
    void setExtension(const QString& text) { extension_ = text; }

    /// The danger sources inside the compartment, modifiable in place; the
    /// reference lives as long as the card.
    DeviceList& dangerSourceInner() { return ds_inner_; }
    /// Appends the danger sources of one surrounding compartment.
    /// Stores a copy of \a list; references from dangerSourceOuterAt() may dangle afterwards.
    void addDangerSourceOuter(const DeviceList& list) { ds_outer_.push_back(list); }
    /// Number of surrounding compartments with danger-source lists.
    std::size_t dangerSourceOuterCount() const { return ds_outer_.size(); }
    /// \a ix must be below dangerSourceOuterCount() (anything else aborts). The
    /// list is modifiable in place; the reference is valid until the next
    /// addDangerSourceOuter() or the card's end.
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
