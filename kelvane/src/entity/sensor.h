#pragma once

#include "entity/sensor_item.h"
#include "kelvane_export.h"

#include <QMetaType>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector3D>

#include <memory>
#include <vector>

namespace harq {

class Deck;
class Region;
class ViewGroup;

/// A detector or measuring point on a deck. Owns its items; it is normal while
/// every item is, and re-emits each item's state change as its own.
///
/// A sensor belongs to one Deck, which owns it. The setters are plain stores
/// that emit nothing; a sensor's view group and position matter to the regions
/// only when it is offered to them (Region::associateSensor).
class KELVANE_EXPORT Sensor : public QObject
{
    Q_OBJECT

public:
    /// The items; the sensor is their only owner.
    using Items = std::vector<std::shared_ptr<SensorItem>>;

    /// A sensor without items at (0, 0, 0), with its own view group named "NA",
    /// group code "NA" and response DamageResponse::NA, so no region accepts it
    /// until it gets another view group. A sensor meant for Deck::addSensor must
    /// get no Qt \a parent.
    explicit Sensor(QObject* parent = nullptr);
    /// Destroys the items.
    ~Sensor() override;

    /// Host-assigned identifier.
    void setID(quint64 id) { id_ = id; }
    /// Display name (the label under the icon in the maintenance edition).
    void setName(const QString& name) { name_ = name; }
    /// Sensor code (the label under the icon in the edition with tags).
    void setCode(const QString& code) { code_ = code; }
    /// Descriptive text kept for the host; the library never reads it.
    void setContent(const QString& content) { content_ = content; }
    /// Classification text kept for the host; the library never reads it.
    void setClassifier(const QString& classifier) { classifier_ = classifier; }
    /// Descriptive text kept for the host; the library never reads it.
    void setSpecific(const QString& specific) { specific_ = specific; }
    /// Name of the ship system, kept for the host; the library never reads it.
    void setSystem(const QString& system) { system_ = system; }
    /// Device name kept for the host; the library never reads it.
    void setDevice(const QString& device) { device_ = device; }
    /// Position: x and y in deck-drawing (scene) coordinates; the library ignores z.
    void setPos(QVector3D pos) { pos_ = pos; }
    /// Stores (p.x, p.y, 0).
    void setPos(QPointF p);
    /// Shares \a vg; an empty pointer leaves the sensor without a view group.
    void setViewGroup(std::shared_ptr<ViewGroup> vg);
    /// Takes sole ownership of \a vg, which must not be null (a null aborts).
    void setViewGroup(ViewGroup* vg);

    /// Host-assigned identifier (0 unless set).
    quint64 id() const { return id_; }
    /// Display name.
    const QString& name() const { return name_; }
    /// Sensor code.
    const QString& code() const { return code_; }
    /// Position as stored; x and y are deck-drawing coordinates.
    const QVector3D& position() const { return pos_; }
    /// x and y of the position.
    QPointF point() const;
    /// Null when the sensor has no view group. Borrowed: valid while the sensor
    /// keeps this group (until the next setViewGroup or its destruction).
    ViewGroup* viewGroup() const { return view_group_.get(); }
    /// Number of items.
    int itemCount() const;
    /// \a ix must lie in 0 to itemCount()-1 (anything else aborts). The item stays
    /// owned by the sensor; the pointer is valid until clearItem() or the sensor's end.
    SensorItem* itemAt(int ix) const;
    /// Start of the items in insertion order; invalidated by addItem() and clearItem().
    Items::const_iterator beginItem() const { return items_.cbegin(); }
    /// End of the items; see beginItem().
    Items::const_iterator endItem() const { return items_.cend(); }
    /// True when every item is normal (also without items).
    bool isNormal() const;
    /// True when the first item is a state item (false without items). In the
    /// maintenance edition items count as state items until their initCheck().
    bool isStateSensor() const;
    /// First item's tip while normal, else the tips of the abnormal items joined by "+".
    QString toolTip() const;
    /// The first item's normal icon, empty without items.
    QString defaultIconName() const;
    /// The default icon while normal, else the icons of the abnormal items.
    QStringList iconsName() const;

    /// Takes ownership of \a item (not null, without a Qt parent, on no other
    /// sensor) and follows its signals; an item already held is ignored.
    /// In the edition with tags it first calls SensorItem::initCheck(), which
    /// classifies the item and makes it normal; the maintenance edition leaves
    /// that to the host. Emits nothing, and the deck does not recount: add the
    /// items before the sensor goes to its deck, or call Deck::sensorCheck().
    void addItem(SensorItem* item);
    /// Disconnects and destroys all items; emits nothing, although the sensor
    /// becomes normal. Pointers from itemAt() dangle afterwards.
    void clearItem();

signals:
    /// Emitted on every SensorItem::valueChanged of an item, with the item's
    /// position \a ix; nothing in the library listens to it.
    void itemValueChanged(int ix);

protected slots:
    /// Relays \a item's value change as itemValueChanged(); an item not held is ignored.
    void onItemValueChanged(harq::SensorItem* item);
    /// Relays \a item's state change as sensorStateChanged().
    void onItemStateChanged(harq::SensorItem* item);

private:
    Items::const_iterator findItem(const SensorItem* item) const;

    quint64 id_ = 0;
    QString name_;
    QString code_;
    QString content_;
    QString classifier_;
    QString specific_;
    QString system_;
    QString device_;
    std::shared_ptr<ViewGroup> view_group_;
    QVector3D pos_;
    Items items_;

    // What only one edition has.
#ifdef KELVANE_MAINTENANCE
public:
    /// The view group's group code, empty without a view group.
    QString viewGroupGroup() const;

signals:
    /// Emitted when one of the items flips between normal and abnormal
    /// (SensorItem::stateChanged); \a self is this sensor. The sensor as a
    /// whole need not have changed: a second abnormal item emits as well.
    void sensorStateChanged(harq::Sensor* self);
#else
public:
    /// Back-link to the deck (not owned); Deck::addSensor sets it.
    void setDeck(Deck* deck) { deck_ = deck; }
    /// Back-link to the cabin containing the sensor (not owned). A cabin sets it
    /// when the sensor is offered to it; Deck::clearRegion clears it, and it
    /// turns null when the cabin is destroyed, whoever destroys it.
    void setCabin(Region* cabin);
    /// The deck holding the sensor (not owned), null before Deck::addSensor.
    Deck* deck() const { return deck_; }
    /// The cabin containing the sensor (not owned), null when none was set.
    Region* cabin() const { return cabin_; }
    /// "name[code]".
    QString nameAndCode() const;

signals:
    /// Emitted when one of the items flips between normal and abnormal
    /// (SensorItem::stateChanged); \a self is this sensor, \a item the item that
    /// flipped. The sensor as a whole need not have changed: a second abnormal
    /// item emits as well. The deck, every region that accepted the sensor and
    /// its graphic follow it.
    void sensorStateChanged(harq::Sensor* self, harq::SensorItem* item);

private:
    Deck* deck_ = nullptr;
    Region* cabin_ = nullptr;
#endif
};

} // namespace harq

Q_DECLARE_METATYPE(harq::Sensor*)
