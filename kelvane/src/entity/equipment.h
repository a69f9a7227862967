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
class KELVANE_EXPORT Equipment : public QObject
{
    Q_OBJECT

public:
    explicit Equipment(QObject* parent = nullptr);
    ~Equipment() override;

    quint64 id() const { return id_; }
    void setID(quint64 id) { id_ = id; }
    int count() const { return amount_; }
    void setCount(int count) { amount_ = count; }
    Deck* deck() const { return deck_; }
    void setDeck(Deck* deck) { deck_ = deck; }
    /// The kind (not owned); it must outlive this equipment.
    EquipmentClassifier* classifier() const { return classifier_; }
    void setClassifier(EquipmentClassifier* classifier) { classifier_ = classifier; }
    QPointF pos() const;
    /// Stores (p.x, p.y, 0).
    void setPos(QPointF p);
    QDate validDate() const { return valid_date_; }
    void setValidDate(QDate date) { valid_date_ = date; }
    int condition() const { return condition_; }
    void setCondition(int condition) { condition_ = condition; }
    const QString& specification() const { return specification_; }
    void setSpecification(const QString& text) { specification_ = text; }
    const QString& charge() const { return charge_; }
    void setCharge(const QString& text) { charge_ = text; }
    const QString& controller() const { return controller_; }
    void setController(const QString& text) { controller_ = text; }
    const QString& maintenance() const { return maintenance_; }
    void setMaintenance(const QString& text) { maintenance_ = text; }
    const QString& comments() const { return comments_; }
    void setComments(const QString& text) { comments_ = text; }

    /// The cabin the equipment is in (not owned).
    Region* cabin() const { return cabin_; }
    void setCabin(Region* cabin) { cabin_ = cabin; }
    /// Takes ownership of \a item (not null, without a Qt parent).
    void addItem(EquipmentItem* item);
    std::size_t itemCount() const { return items_.size(); }
    /// \a ix must be below itemCount().
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
