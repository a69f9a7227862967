#pragma once

#include "kelvane_export.h"

#include <QDate>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QVector3D>

#include <cstddef>
#include <memory>
#include <vector>

namespace harq {

class Deck;
class EquipmentClassifier;
class EquipmentItem;
class Region;

/// One placed piece (or stock) of a kind of equipment. Owns its items.
///
/// A plain record: every setter stores and emits nothing. In the edition with
/// tags an equipment tag shows it at pos() and shares its ownership.
class KELVANE_EXPORT Equipment : public QObject
{
    Q_OBJECT

public:
    /// An equipment with id, count and condition 0, a null valid date, no
    /// kind, deck, cabin or items, at (0, 0). An equipment shared with a tag
    /// through a shared pointer must get no Qt \a parent.
    explicit Equipment(QObject* parent = nullptr);
    /// Destroys the items.
    ~Equipment() override;

    /// Host-assigned identifier.
    quint64 id() const { return id_; }
    /// Sets the identifier.
    void setID(quint64 id) { id_ = id; }
    /// Number of pieces.
    int count() const { return amount_; }
    /// Sets the number of pieces.
    void setCount(int count) { amount_ = count; }
    /// The deck the equipment is on (not owned), null unless set.
    Deck* deck() const { return deck_; }
    /// Sets the deck (not owned); the library does not read it.
    void setDeck(Deck* deck) { deck_ = deck; }
    /// The kind (not owned); it must outlive this equipment.
    EquipmentClassifier* classifier() const { return classifier_; }
    /// Sets the kind (not owned, may be null); see classifier().
    void setClassifier(EquipmentClassifier* classifier) { classifier_ = classifier; }
    /// x and y of the position, in deck-drawing coordinates.
    QPointF pos() const;
    /// Stores (p.x, p.y, 0).
    void setPos(QPointF p);
    /// Date until which the equipment is valid; a null date unless set.
    QDate validDate() const { return valid_date_; }
    /// Sets the date until which the equipment is valid.
    void setValidDate(QDate date) { valid_date_ = date; }
    /// Condition code; its meaning is the host's.
    int condition() const { return condition_; }
    /// Sets the condition code.
    void setCondition(int condition) { condition_ = condition; }
    /// Model and rating text (its specification); empty until set.
    const QString& specification() const { return specification_; }
    /// Sets the equipment's model and rating text (its specification).
    void setSpecification(const QString& text) { specification_ = text; }
    /// The person or post in charge.
    const QString& charge() const { return charge_; }
    /// Sets the person or post in charge.
    void setCharge(const QString& text) { charge_ = text; }
    /// The controller.
    const QString& controller() const { return controller_; }
    /// Sets the controller.
    void setController(const QString& text) { controller_ = text; }
    /// Maintenance notes.
    const QString& maintenance() const { return maintenance_; }
    /// Sets the maintenance notes.
    void setMaintenance(const QString& text) { maintenance_ = text; }
    /// Comments.
    const QString& comments() const { return comments_; }
    /// Sets the comments.
    void setComments(const QString& text) { comments_ = text; }

    /// The cabin the equipment is in (not owned); null unless set, and null again
    /// once that cabin is destroyed (by Deck::clearRegion, for instance).
    Region* cabin() const { return cabin_; }
    /// Sets the cabin (not owned, may be null); the equipment notices its destruction.
    void setCabin(Region* cabin);
    /// Takes ownership of \a item (not null, without a Qt parent); an item
    /// already held is ignored. A null \a item aborts.
    void addItem(EquipmentItem* item);
    /// Number of items.
    std::size_t itemCount() const { return items_.size(); }
    /// \a ix must be below itemCount() (anything else aborts). The item stays
    /// owned by the equipment.
    EquipmentItem* itemAt(std::size_t ix) const;

private:
    quint64 id_ = 0;
    EquipmentClassifier* classifier_ = nullptr;
    Deck* deck_ = nullptr;
    Region* cabin_ = nullptr;
    QVector3D pos_;
    QDate valid_date_;
    int amount_ = 0;
    int condition_ = 0;
    QString specification_;
    QString charge_;
    QString controller_;
    QString maintenance_;
    QString comments_;
    std::vector<std::unique_ptr<EquipmentItem>> items_;
};

} // namespace harq
