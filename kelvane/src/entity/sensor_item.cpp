#include "entity/sensor_item.h"

#include "entity/value_transform.h"

#include <QStringList>

namespace harq {

namespace {

constexpr double kDefaultLowLow = -1e38;
constexpr double kDefaultLow = -1.0;
constexpr double kDefaultHigh = 1.0;
constexpr double kDefaultHighHigh = 1e38;
constexpr int kDefaultPrecision = 3;

} // namespace

SensorItem::SensorItem(QObject* parent)
    : QObject(parent)
    , ll_(kDefaultLowLow)
    , l_(kDefaultLow)
    , h_(kDefaultHigh)
    , hh_(kDefaultHighHigh)
    , precision_width_(kDefaultPrecision)
{
}

SensorItem::~SensorItem() = default;

void SensorItem::setIcon(const QString& normal, const QString& abnormal)
{
    icon_[0] = normal;
    icon_[1] = abnormal;
}

void SensorItem::setValueTrans(ValueTransform* vt)
{
    vt_.reset(vt);
}

void SensorItem::initCheck()
{
    type_ = icon_[0].isEmpty() && icon_[1].isEmpty() ? VALUE : STATE;
    value_primary_ = 0.0;
    value_ = (l_ + h_) / 2;
}

void SensorItem::setValue(const QString& tag, double v)
{
    if (tag == tag_)
        onPrimaryValueChanged(v);
    else if (tag == confirm_tag_)
        onConfirm(v != 0.0); // NaN compares unequal, so it confirms
}

void SensorItem::loadFromStr(const QStringList&)
{
}

const QString& SensorItem::iconName() const
{
    return isNormal() ? icon_[0] : icon_[1];
}

bool SensorItem::isNormal() const
{
    return l_ < value_ && value_ < h_;
}

ValueStage SensorItem::itemStage() const
{
    if (value_ < ll_)
        return LOWLOW;
    if (value_ < l_)
        return LOW;
    if (value_ > hh_)
        return HIGHHIGH;
    if (value_ > h_)
        return HIGH;
    return NORMAL;
}

QString SensorItem::valueStr() const
{
    return tr("%1").arg(value_, 0, 'f', precision_width_, QLatin1Char(' '));
}

QString SensorItem::toolTip() const
{
    if (type_ == VALUE) {
        switch (itemStage()) {
        case LOWLOW:
            return tr("超低低限");
        case LOW:
            return tr("超低限");
        case HIGHHIGH:
            return tr("超高高限");
        case HIGH:
            return tr("超高限");
        case NORMAL:
            break;
        }
        return tr("正常");
    }
    // The part before the last dot ("smoke.alarm.png" gives "alarm"), found
    // without building a list: this runs on every state change.
    const QString& icon = iconName();
    const int last = icon.lastIndexOf(QLatin1Char('.'));
    if (last < 0)
        return icon;
    const int previous = last > 0 ? icon.lastIndexOf(QLatin1Char('.'), last - 1) : -1;
    return icon.mid(previous + 1, last - previous - 1);
}

void SensorItem::onPrimaryValueChanged(double v)
{
    if (v == value_primary_)
        return;
    const bool wasNormal = isNormal();
    value_primary_ = v;
    value_ = vt_ ? vt_->transform(v) : v;
    emit valueChanged(this);
    if (isNormal() != wasNormal) {
        onConfirm(isNormal());
        emit stateChanged(this);
    }
}

void SensorItem::onConfirm(bool confirm)
{
    confirm_ = confirm;
    emit valueChanged(this);
}

} // namespace harq
