#pragma once

#include "kelvane_export.h"

#include <QObject>
#include <QString>

namespace harq {

/// One component entry of an equipment. A plain record: the setters emit nothing.
class KELVANE_EXPORT EquipmentItem : public QObject
{
    Q_OBJECT

public:
    /// An empty entry with count 0. An item meant for Equipment::addItem must
    /// get no Qt \a parent.
    explicit EquipmentItem(QObject* parent = nullptr);
    ~EquipmentItem() override;

    /// Name of the component.
    const QString& name() const { return name_; }
    /// Model and rating text (its specification); empty until set.
    const QString& specification() const { return specification_; }
    /// Number of pieces.
    int count() const { return amount_; }

    /// Sets the name of the component.
    void setName(const QString& name) { name_ = name; }
    /// Sets the component's model and rating text (its specification).
    void setSpecification(const QString& specification) { specification_ = specification; }
    /// Sets the number of pieces.
    void setCount(int count) { amount_ = count; }

private:
    QString name_;
    QString specification_;
    int amount_ = 0;
};

} // namespace harq
