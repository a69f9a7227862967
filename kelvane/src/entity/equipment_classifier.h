#pragma once

#include "kelvane_export.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace harq {

class Equipment;

/// A kind of equipment. One classifier object stands for one kind: the
/// equipment layer groups tags by classifier pointer.
///
/// A plain record: the setters emit nothing. The host creates the kinds once;
/// they must outlive the equipment and tags pointing at them.
class KELVANE_EXPORT EquipmentClassifier : public QObject
{
    Q_OBJECT

public:
    /// Bits of classifier(): the damage the kind fights. AntiFire (1) fire,
    /// AntiSink (2) flooding.
    enum Fights { AntiFire = 1, AntiSink = 2 };

    /// A fixed kind with id 0, empty name and icon, fighting nothing.
    explicit EquipmentClassifier(QObject* parent = nullptr);
    ~EquipmentClassifier() override;

    /// Host-assigned identifier.
    quint64 id() const { return id_; }
    /// Sets the identifier.
    void setID(quint64 id) { id_ = id; }
    /// Name of the kind. In the edition with tags the equipment tags show it as
    /// their tool tip, and the equipment catalogue keeps pictures by this name.
    const QString& name() const { return name_; }
    /// Sets the name of the kind.
    void setName(const QString& name) { name_ = name; }
    /// Icon name.
    const QString& icon() const { return icon_; }
    /// Sets the icon name.
    void setIcon(const QString& icon) { icon_ = icon; }
    /// True when pieces of this kind can be moved.
    bool isMoveable() const { return moveable_; }
    /// The negation of isMoveable().
    bool isFixed() const { return !moveable_; }
    /// Sets whether pieces of this kind can be moved (default false).
    void setMoveable(bool moveable) { moveable_ = moveable; }
    /// The damage code: a bit set of Fights values (0 unless set).
    int classifier() const { return classifier_; }
    /// Sets the damage code; see classifier().
    void setClassifier(int classifier) { classifier_ = classifier; }
    /// Fights fire. In the maintenance edition only the exact code AntiFire counts.
    bool isAntiFire() const;
    /// Fights flooding. In the maintenance edition only the exact code AntiSink counts.
    bool isAntiSink() const;

private:
    quint64 id_ = 0;
    QString name_;
    QString icon_;
    bool moveable_ = false;
    int classifier_ = 0;

    // What only one edition has.
#ifdef KELVANE_MAINTENANCE
public:
    /// Equipment kept alive by holdEquipment().
    using Equipments = std::vector<std::shared_ptr<Equipment>>;
    /// Keeps \a equipment alive as long as this kind; the library reads nothing from it.
    void holdEquipment(std::shared_ptr<Equipment> equipment);
    /// The equipment held so far, in the order held.
    const Equipments& equipments() const { return equipments_; }

private:
    Equipments equipments_;
#else
public:
    /// Free text on where or when the kind is used.
    const QString& situation() const { return situation_; }
    /// Sets the text on where or when the kind is used.
    void setSituation(const QString& situation) { situation_ = situation; }

private:
    QString situation_;
#endif
};

} // namespace harq
