#pragma once

#include "kelvane_export.h"

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include <memory>

namespace harq {

class Deck;
class Neighbour;
class Sensor;
class ViewGroup;

/// An area of a deck with an outline, above all a cabin (type 1). It listens to
/// the sensors inside its outline that share a damage response with it and
/// reports damage or recovery on every state change of one of them.
class KELVANE_EXPORT Region : public QObject
{
    Q_OBJECT

public:
    /// Region type of cabins (compartments).
    static constexpr int CabinType = 1;

    explicit Region(QObject* parent = nullptr);
    ~Region() override;

    void setName(const QString& name);
    void setCode(const QString& code);
    void setType(int type);
    /// Stores the outline and emits regionPathChanged. In the maintenance
    /// edition the deck's sensors are offered again in between.
    void setRegionPath(QPolygonF path);
#ifndef KELVANE_MAINTENANCE
    void addPoint(QPointF p);
#endif

    void setID(quint64 id) { id_ = id; }
    void setRibs(const QString& ribs) { ribs_ = ribs; }
    void setSide(const QString& side) { side_ = side; }
    void setCharacteristic(int characteristic) { characteristic_ = characteristic; }
    /// Takes sole ownership of \a vg, which must not be null.
    void setViewGroup(ViewGroup* vg);
    /// Shares \a vg; an empty pointer leaves the region without a view group,
    /// so it accepts no sensor.
    void setViewGroup(std::shared_ptr<ViewGroup> vg);
    /// Stores the deck and forwards damage and recovery to its signals.
    void setDeck(Deck* deck);

    quint64 id() const { return id_; }
    const QString& code() const { return code_; }
    const QString& name() const { return name_; }
    /// "name[code]".
    QString nameAndCode() const;
    QPolygonF regionPath() const { return path_; }
    int type() const { return type_; }
    /// The view group's response bits, 0 without a view group.
    int responseType() const;
    const QString& ribs() const { return ribs_; }
    const QString& side() const { return side_; }
    int characteristic() const { return characteristic_; }
    Deck* deck() const { return deck_; }
    ViewGroup* viewGroup() const { return view_group_.get(); }
    /// The neighbour lists, created on first use as a child of this region.
    Neighbour* neighbour();

    /// Odd-even fill rule.
    bool containsPoint(QPointF p) const;
    /// Lists \a sensor (not null) if it lies inside and shares a response,
    /// otherwise drops it.
    void associateSensor(Sensor* sensor);
#ifdef KELVANE_MAINTENANCE
    /// Offers every sensor of the deck again, e.g. after the outline changed.
    void reassociateSensor();
#endif

signals:
    void nameChanged(QString name);
    void codeChanged(QString code);
    void typeChanged(int type);
    void regionPathChanged(QPolygonF path);
    void alarmChanged(int alarms);
    void damage(harq::Region* self);
    void recover(harq::Region* self);

protected slots:
    void onSensorStateChanged();

private:
    void forgetOnDestruction(Sensor* sensor);

    quint64 id_ = 0;
    QString code_;
    QString name_;
    QPolygonF path_;
    int type_ = CabinType;
    QString ribs_;
    QString side_;
    int characteristic_ = 0;
    std::shared_ptr<ViewGroup> view_group_;
    Deck* deck_ = nullptr;
    QList<Sensor*> sensors_;
    Neighbour* neighbour_ = nullptr;
};

} // namespace harq

Q_DECLARE_METATYPE(harq::Region*)
