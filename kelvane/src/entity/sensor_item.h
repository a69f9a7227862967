#pragma once

#include "kelvane_export.h"

#include <QMetaType>
#include <QObject>
#include <QString>

#include <array>
#include <memory>

namespace harq {

class ValueTransform;

/// Where an item's value lies against its four limits. A value equal to a limit
/// belongs to the inner stage, so NORMAL covers low() and high() themselves,
/// which SensorItem::isNormal() does not.
enum ValueStage { LOWLOW = 0, LOW = 1, NORMAL = 2, HIGH = 3, HIGHHIGH = 4 };

/// One live data point of a sensor: converts the raw value, judges it normal
/// (low < value < high, strict) and tracks whether a change awaits acknowledgement.
///
/// Changes travel upward as signals: the owning Sensor relays them, and the deck,
/// the regions and the sensor graphic follow the sensor. The setters are plain
/// stores that emit nothing: set tags, icons, limits and the transform before
/// the item goes live.
class KELVANE_EXPORT SensorItem : public QObject
{
    Q_OBJECT

public:
    /// Kind of item, fixed by initCheck(): STATE (0) a two-state item shown by
    /// its two icons, VALUE (1) a measured value shown as a number.
    enum ItemType { STATE = 0, VALUE = 1 };

    /// A state item with the limits -1e38, -1, 1 and 1e38, value and raw value 0,
    /// three decimals, no transform and nothing awaiting acknowledgement. An item
    /// meant for Sensor::addItem must get no Qt \a parent.
    explicit SensorItem(QObject* parent = nullptr);
    ~SensorItem() override;

    /// Name of the data point carrying the raw value, matched exactly (case-sensitive).
    void setTag(const QString& tag) { tag_ = tag; }
    /// Name of the data point carrying the acknowledgement flag (non-zero: acknowledged).
    void setConfirmTag(const QString& tag) { confirm_tag_ = tag; }
    /// Icon file names (of the sensor style's icon folder) for the normal and
    /// the abnormal state. Whether either is set decides the kind at initCheck().
    void setIcon(const QString& normal, const QString& abnormal);
    /// Low-low limit; only itemStage() and toolTip() read it.
    void setLowLow(double v) { ll_ = v; }
    /// Low limit, exclusive bound of the normal band. Emits nothing: if this
    /// re-judges the current value, the sensor's listeners are not told.
    void setLow(double v) { l_ = v; }
    /// High-high limit; only itemStage() and toolTip() read it.
    void setHighHigh(double v) { hh_ = v; }
    /// High limit, exclusive bound of the normal band; emits nothing, as setLow().
    void setHigh(double v) { h_ = v; }
    /// Number of decimals shown by valueStr().
    void setPrecisionWidth(int width) { precision_width_ = width; }
    /// Takes ownership of \a vt, releasing any previous transform; null removes it.
    /// The current value is not recomputed: the transform applies from the next raw value.
    void setValueTrans(ValueTransform* vt);

    /// Classifies the item (no icon at all: value item, else state item) and
    /// puts it in the middle of its normal band with a raw value of 0. Emits nothing.
    /// Sensor::addItem calls it in the edition with tags; in the maintenance
    /// edition the host calls it once icons and limits are set (until then the
    /// item counts as a state item).
    void initCheck();
    /// Offers a data-point update; names other than the tag and the
    /// acknowledgement tag are ignored, so any update may go to any item.
    /// A \a tag equal to tag() goes to onPrimaryValueChanged(\a v), else one
    /// equal to confirmTag() to onConfirm(\a v != 0), so a NaN acknowledges.
    /// An item listening to one name for both only takes the value.
    void setValue(const QString& tag, double v);
    /// Does nothing; kept for hosts that load items from text.
    void loadFromStr(const QStringList& fields);

    /// Name of the data point carrying the raw value.
    const QString& tag() const { return tag_; }
    /// Name of the data point carrying the acknowledgement flag.
    const QString& confirmTag() const { return confirm_tag_; }
    /// Icon name for the normal state.
    const QString& normalIconName() const { return icon_[0]; }
    /// Icon name for the abnormal state.
    const QString& abnormalIconName() const { return icon_[1]; }
    /// The icon of the current state.
    const QString& iconName() const;
    /// The raw value as last received (0 after initCheck()).
    double valuePrimary() const { return value_primary_; }
    /// The engineering value: the raw value through the transform, if any.
    double value() const { return value_; }
    /// Low-low limit (default -1e38).
    double lowLow() const { return ll_; }
    /// Low limit (default -1).
    double low() const { return l_; }
    /// High-high limit (default 1e38).
    double highHigh() const { return hh_; }
    /// High limit (default 1).
    double high() const { return h_; }
    /// Decimals shown by valueStr() (default 3).
    int precisionWidth() const { return precision_width_; }
    /// True for an item shown as a number (it had no icon at initCheck()).
    bool isValueItem() const { return type_ == VALUE; }
    /// True for an item shown by its icons; also for any item before initCheck().
    bool isStateItem() const { return type_ == STATE; }
    /// True when value() lies strictly between low() and high(); NaN is abnormal.
    bool isNormal() const;
    /// The negation of isNormal().
    bool isAbnormal() const { return !isNormal(); }
    /// True while a change awaits acknowledgement.
    bool needConfirm() const { return !confirm_; }
    /// Stage of value() against the four limits; a NaN value gives NORMAL.
    ValueStage itemStage() const;
    /// The value with precisionWidth() decimals ("12.500" for 12.5 by default).
    QString valueStr() const;
    /// Limit text for value items, icon base name of the current state for state items.
    ///
    /// A value item gives the translated stage text (beyond the low-low, low,
    /// high-high or high limit, or normal); a value on low() or high() is abnormal
    /// yet reads as normal here. A state item gives the file name of iconName()
    /// without its extension: the part between the last two dots ("alarm" for
    /// "smoke.alarm.png", "door_open" for "door_open.png"), the whole name without a dot.
    QString toolTip() const;

public slots:
    /// Takes a new raw value \a v. A value equal to the last raw value (exact
    /// comparison, so also a first 0 after initCheck()) is ignored and emits
    /// nothing; a NaN never equals it, so every NaN counts. Otherwise the
    /// value is transformed and valueChanged() emitted; if that flipped the item
    /// between normal and abnormal, onConfirm(isNormal()) follows (turning
    /// abnormal awaits acknowledgement, returning to normal clears it, a second
    /// valueChanged()) and then stateChanged().
    void onPrimaryValueChanged(double v);
    /// Sets the acknowledgement flag (\a confirm true: nothing awaits) and emits
    /// valueChanged(), also when the flag did not change. Never changes the normal state.
    void onConfirm(bool confirm);

signals:
    /// Emitted when a raw value flips the item between normal and abnormal,
    /// after the acknowledgement flag was updated; \a self is this item.
    void stateChanged(harq::SensorItem* self);
    /// Emitted on every accepted raw value and every onConfirm() call, so twice
    /// before a stateChanged(); \a self is this item.
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
