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
class KELVANE_EXPORT Sensor : public QObject
{
    Q_OBJECT

public:
    using Items = std::vector<std::shared_ptr<SensorItem>>;

    explicit Sensor(QObject* parent = nullptr);
    ~Sensor() override;

    void setID(quint64 id) { id_ = id; }
    void setName(const QString& name) { name_ = name; }
    void setCode(const QString& code) { code_ = code; }
    void setContent(const QString& content) { content_ = content; }
    void setClassifier(const QString& classifier) { classifier_ = classifier; }
    void setSpecific(const QString& specific) { specific_ = specific; }
    void setSystem(const QString& system) { system_ = system; }
    void setDevice(const QString& device) { device_ = device; }
    void setPos(QVector3D pos) { pos_ = pos; }
    /// Stores (p.x, p.y, 0).
    void setPos(QPointF p);
#ifndef KELVANE_MAINTENANCE
    void setDeck(Deck* deck) { deck_ = deck; }
    void setCabin(Region* cabin) { cabin_ = cabin; }
#endif
    /// Shares \a vg; an empty pointer leaves the sensor without a view group.
    void setViewGroup(std::shared_ptr<ViewGroup> vg);
    /// Takes sole ownership of \a vg, which must not be null.
    void setViewGroup(ViewGroup* vg);

    quint64 id() const { return id_; }
    const QString& name() const { return name_; }
    const QString& code() const { return code_; }
#ifndef KELVANE_MAINTENANCE
    Deck* deck() const { return deck_; }
    Region* cabin() const { return cabin_; }
#endif
    const QVector3D& position() const { return pos_; }
    QPointF point() const;
    /// Null when the sensor has no view group.
    ViewGroup* viewGroup() const { return view_group_.get(); }
#ifdef KELVANE_MAINTENANCE
    /// The view group's group code, empty without a view group.
    QString viewGroupGroup() const;
#endif
    int itemCount() const;
    /// \a ix must lie in 0 .. itemCount()-1.
    SensorItem* itemAt(int ix) const;
    Items::const_iterator beginItem() const { return items_.cbegin(); }
    Items::const_iterator endItem() const { return items_.cend(); }
    /// True when every item is normal (also without items).
    bool isNormal() const;
    /// True when the first item is a state item.
    bool isStateSensor() const;
#ifndef KELVANE_MAINTENANCE
    /// "name[code]".
    QString nameAndCode() const;
#endif
    /// First item's tip while normal, else the tips of the abnormal items joined by "+".
    QString toolTip() const;
    /// The first item's normal icon, empty without items.
    QString defaultIconName() const;
    /// The default icon while normal, else the icons of the abnormal items.
    QStringList iconsName() const;

    /// Takes ownership of \a item (not null, without a Qt parent, on no other
    /// sensor) and follows its signals; an item already held is ignored.
    void addItem(SensorItem* item);
    void clearItem();

signals:
#ifdef KELVANE_MAINTENANCE
    void sensorStateChanged(harq::Sensor* self);
#else
    void sensorStateChanged(harq::Sensor* self, harq::SensorItem* item);
#endif
    void itemValueChanged(int ix);

protected slots:
    void onItemValueChanged(harq::SensorItem* item);
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
#ifndef KELVANE_MAINTENANCE
    Deck* deck_ = nullptr;
    Region* cabin_ = nullptr;
#endif
    Items items_;
};

} // namespace harq

Q_DECLARE_METATYPE(harq::Sensor*)
