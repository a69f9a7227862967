#pragma once

#include "kelvane_export.h"

#include <QMetaType>
#include <QObject>
#include <QString>

#include <array>
#include <memory>

namespace harq {

class ValueTransform;

/// Where an item's value lies against its four limits.
enum ValueStage { LOWLOW = 0, LOW = 1, NORMAL = 2, HIGH = 3, HIGHHIGH = 4 };

/// One live data point of a sensor: converts the raw value, judges it normal
/// (low < value < high, strict) and tracks whether a change awaits acknowledgement.
class KELVANE_EXPORT SensorItem : public QObject
{
    Q_OBJECT

public:
    enum ItemType { STATE = 0, VALUE = 1 };

    explicit SensorItem(QObject* parent = nullptr);
    ~SensorItem() override;

    void setTag(const QString& tag) { tag_ = tag; }
    void setConfirmTag(const QString& tag) { confirm_tag_ = tag; }
    void setIcon(const QString& normal, const QString& abnormal);
    void setLowLow(double v) { ll_ = v; }
    void setLow(double v) { l_ = v; }
    void setHighHigh(double v) { hh_ = v; }
    void setHigh(double v) { h_ = v; }
    void setPrecisionWidth(int width) { precision_width_ = width; }
    /// Takes ownership of \a vt, releasing any previous transform; null removes it.
    void setValueTrans(ValueTransform* vt);

    /// Classifies the item (no icon at all: value item, else state item) and
    /// puts it in the middle of its normal band with a raw value of 0.
    void initCheck();
    /// Offers a data-point update; names other than the tag and the
    /// acknowledgement tag are ignored, so any update may go to any item.
    void setValue(const QString& tag, double v);
    /// Does nothing; kept for hosts that load items from text.
    void loadFromStr(const QStringList& fields);

    const QString& tag() const { return tag_; }
    const QString& confirmTag() const { return confirm_tag_; }
    const QString& normalIconName() const { return icon_[0]; }
    const QString& abnormalIconName() const { return icon_[1]; }
    /// The icon of the current state.
    const QString& iconName() const;
    double valuePrimary() const { return value_primary_; }
    double value() const { return value_; }
    double lowLow() const { return ll_; }
    double low() const { return l_; }
    double highHigh() const { return hh_; }
    double high() const { return h_; }
    int precisionWidth() const { return precision_width_; }
    bool isValueItem() const { return type_ == VALUE; }
    bool isStateItem() const { return type_ == STATE; }
    bool isNormal() const;
    bool isAbnormal() const { return !isNormal(); }
    /// True while a change awaits acknowledgement.
    bool needConfirm() const { return !confirm_; }
    ValueStage itemStage() const;
    /// The value with precisionWidth() decimals.
    QString valueStr() const;
    /// Limit text for value items, icon base name of the current state for state items.
    QString toolTip() const;

public slots:
    void onPrimaryValueChanged(double v);
    void onConfirm(bool confirm);

signals:
    void stateChanged(harq::SensorItem* self);
    void valueChanged(harq::SensorItem* self);

private:
    ItemType type_ = STATE;
    QString tag_;
    QString confirm_tag_;
    std::array<QString, 2> icon_;
    double ll_;
    double l_;
    double h_;
    double hh_;
    double value_ = 0.0;
    double value_primary_ = 0.0;
    int precision_width_;
    std::shared_ptr<ValueTransform> vt_;
    bool confirm_ = true;
};

} // namespace harq

Q_DECLARE_METATYPE(harq::SensorItem*)
