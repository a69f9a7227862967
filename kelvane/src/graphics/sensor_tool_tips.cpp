#include "graphics/sensor_tool_tips.h"

#include "entity/sensor.h"
#include "entity/sensor_item.h"

#include <QStringBuilder>

#include <optional>

namespace {

/// One bit per item, set for an abnormal one; none for a sensor with a value
/// item or with more items than bits.
std::optional<quint64> abnormalItems(const harq::Sensor& sensor)
{
    constexpr int kBits = 64;
    if (sensor.itemCount() > kBits)
        return std::nullopt;
    quint64 bits = 0;
    for (int i = 0; i < sensor.itemCount(); ++i) {
        const harq::SensorItem* item = sensor.itemAt(i);
        if (!item->isStateItem())
            return std::nullopt;
        if (item->isAbnormal())
            bits |= quint64(1) << i;
    }
    return bits;
}

QString built(const harq::Sensor& sensor)
{
    return sensor.name() % QLatin1Char(':') % sensor.toolTip();
}

} // namespace

const QString& SensorToolTips::text(const harq::Sensor& sensor)
{
    const std::optional<quint64> abnormal = abnormalItems(sensor);
    if (!abnormal) {
        built_ = built(sensor);
        return built_;
    }
    // The name is nearly always the very string kept last time.
    if (!sensor.name().isSharedWith(name_) && sensor.name() != name_) {
        clear();
        name_ = sensor.name();
    }
    for (const Kept& kept : qAsConst(kept_)) {
        if (kept.abnormal == *abnormal)
            return kept.text;
    }
    if (kept_.size() == kKept)
        kept_.clear();
    kept_.append({*abnormal, built(sensor)});
    return kept_.last().text;
}

void SensorToolTips::clear()
{
    kept_.clear();
    name_.clear();
}
