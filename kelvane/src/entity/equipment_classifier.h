#pragma once

#include "kelvane_export.h"

#include <QObject>
#include <QString>

#ifdef KELVANE_MAINTENANCE
#include <memory>
#include <vector>
#endif

namespace harq {

#ifdef KELVANE_MAINTENANCE
class Equipment;
#endif

/// A kind of equipment. One classifier object stands for one kind: the
/// equipment layer groups tags by classifier pointer.
class KELVANE_EXPORT EquipmentClassifier : public QObject
{
    Q_OBJECT

public:
    /// Bits of classifier(): the damage the kind fights.
    enum Fights { AntiFire = 1, AntiSink = 2 };

#ifdef KELVANE_MAINTENANCE
    using Equipments = std::vector<std::shared_ptr<Equipment>>;
#endif

    explicit EquipmentClassifier(QObject* parent = nullptr);
    ~EquipmentClassifier() override;

    quint64 id() const { return id_; }
    void setID(quint64 id) { id_ = id; }
    const QString& name() const { return name_; }
    void setName(const QString& name) { name_ = name; }
    const QString& icon() const { return icon_; }
    void setIcon(const QString& icon) { icon_ = icon; }
    bool isMoveable() const { return moveable_; }
    bool isFixed() const { return !moveable_; }
    void setMoveable(bool moveable) { moveable_ = moveable; }
    int classifier() const { return classifier_; }
    void setClassifier(int classifier) { classifier_ = classifier; }
    /// Fights fire. In the maintenance edition only the exact code AntiFire counts.
    bool isAntiFire() const;
    /// Fights flooding. In the maintenance edition only the exact code AntiSink counts.
    bool isAntiSink() const;
#ifdef KELVANE_MAINTENANCE
    /// Keeps \a equipment alive as long as this kind; the library reads nothing from it.
    void holdEquipment(std::shared_ptr<Equipment> equipment);
    const Equipments& equipments() const { return equipments_; }
#else
    const QString& situation() const { return situation_; }
    void setSituation(const QString& situation) { situation_ = situation; }
#endif

private:
    quint64 id_ = 0;
    QString name_;
    QString icon_;
    bool moveable_ = false;
    int classifier_ = 0;
#ifdef KELVANE_MAINTENANCE
    Equipments equipments_;
#else
    QString situation_;
#endif
};

} // namespace harq
