#pragma once

#include "kelvane_export.h"

#include <QObject>
#include <QString>

namespace harq {

/// One component entry of an equipment.
class KELVANE_EXPORT EquipmentItem : public QObject
{
    Q_OBJECT

public:
    explicit EquipmentItem(QObject* parent = nullptr);
    ~EquipmentItem() override;

    const QString& name() const { return name_; }
    const QString& specification() const { return specification_; }
    int count() const { return amount_; }

    void setName(const QString& name) { name_ = name; }
    void setSpecification(const QString& specification) { specification_ = specification; }
    void setCount(int count) { amount_ = count; }

private:
    QString name_;
    QString specification_;
    int amount_ = 0;
};

} // namespace harq
