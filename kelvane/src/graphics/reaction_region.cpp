#include "graphics/reaction_region.h"

#include "config/damage_config.h"
#include "config/region_config.h"
#include "entity/region.h"
#include "graphics/solid_brush.h"
#include "kelvane_assert.h"
#include "slot_connection.h"

#include <QBrush>
#include <QGraphicsSceneMouseEvent>
#include <QPen>

#include <array>
#include <cmath>
#include <optional>

namespace {

/// Each outstanding alarm makes the region this much more opaque.
constexpr qreal kOpacityPerAlarm = 1.2;

/// kOpacityPerAlarm to the power of \a alarms. The usual counts are looked up,
/// as they change at every alarm; the table holds std::pow's own results.
qreal alarmFactor(int alarms)
{
    static const std::array<qreal, 16> kFactors = [] {
        std::array<qreal, 16> factors{};
        for (std::size_t n = 0; n < factors.size(); ++n)
            factors[n] = std::pow(kOpacityPerAlarm, int(n));
        return factors;
    }();
    if (alarms >= 0 && std::size_t(alarms) < kFactors.size())
        return kFactors[std::size_t(alarms)];
    return std::pow(kOpacityPerAlarm, alarms);
}

/// Integer mean of the two packed RGB words: carries cross channels, so red
/// and blue give #7F807F. The alpha bytes are forced opaque first.
QColor mixOpaque(const QColor& a, const QColor& b)
{
    const quint32 sum = quint32(a.rgb()) + quint32(b.rgb());
    return QColor(QRgb(sum >> 1));
}

} // namespace

ReactionRegion::ReactionRegion(harq::Region* region, QGraphicsItem* parent)
    : QGraphicsPolygonItem(parent)
    , region_(region)
{
    KELVANE_ASSERT(region_);
    setAcceptHoverEvents(true);
    // The outline itself is never drawn.
    setPen(QPen(QBrush(), 0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    checkOpacity();
    updateTooTip();
    changePath(region->regionPath());

    connect(region, &harq::Region::nameChanged, this, &ReactionRegion::changeName);
    connect(region, &harq::Region::codeChanged, this, &ReactionRegion::changeCode);
    connect(region, &harq::Region::regionPathChanged, this, &ReactionRegion::changePath);
    kelvane::connectToSlot(region, &harq::Region::alarmChanged, this, "changeAlarm(int)");
    connect(region, &harq::Region::typeChanged, this, &ReactionRegion::changeType);
}

ReactionRegion::~ReactionRegion()
{
    setParentItem(nullptr);
}

harq::Region* ReactionRegion::region()
{
    return region_;
}

const harq::Region* ReactionRegion::region() const
{
    return region_;
}

bool ReactionRegion::damaged() const
{
    return !manual_cancel_ && (manual_tag_ || alarm_count_ > 0);
}

void ReactionRegion::manualDamage()
{
    manual_tag_ = true;
    manual_cancel_ = false;
    checkOpacity();
    if (!region_)
        return;
    // Shown unmixed even under the pointer, until the next refresh.
    if (const auto response = DamageConfig::instance().response(region_->responseType()))
        setBrush(response->color());
    emit region_->damage(region_);
}

void ReactionRegion::manualRecover()
{
    manual_tag_ = false;
    manual_cancel_ = true;
    setBrush(QBrush());
    if (region_)
        emit region_->recover(region_);
}

void ReactionRegion::changeName(const QString&)
{
    updateTooTip();
}

void ReactionRegion::changeCode(const QString&)
{
    updateTooTip();
}

void ReactionRegion::changePath(QPolygonF path)
{
    setPolygon(path);
}

void ReactionRegion::changeAlarm(int alarms)
{
    if (alarms == alarm_count_)
        return;
    manual_cancel_ = false;
    alarm_count_ = alarms;
    checkOpacity();
    checkBrush();
}

void ReactionRegion::changeType()
{
    checkBrush();
}

void ReactionRegion::updateTooTip()
{
    if (region_)
        setToolTip(region_->nameAndCode());
}

void ReactionRegion::checkOpacity()
{
    setOpacity(RegionConfig::instance().hoverOpacity() * alarmFactor(alarm_count_));
}

void ReactionRegion::checkBrush()
{
    const QColor& hover = RegionConfig::instance().hoverColor();
    std::optional<QColor> fill;
    if (sensitive_)
        fill = hover;
    if (damaged() && region_) {
        if (const auto response = DamageConfig::instance().responseColor(region_->responseType()))
            fill = sensitive_ ? mixOpaque(*response, hover) : *response;
    }
    if (!fill) {
        setBrush(QBrush());
        return;
    }
    // Alarms come and go in the same colour: the brush is built once for it
    // rather than at every state change.
    setBrush(kelvane::solidBrush(fill_, *fill));
}

// The signals go out last in each handler: a host may destroy this region from
// a slot connected to them.

void ReactionRegion::hoverEnterEvent(QGraphicsSceneHoverEvent* event)
{
    sensitive_ = true;
    checkBrush();
    QGraphicsPolygonItem::hoverEnterEvent(event);
    emit enter(this);
}

void ReactionRegion::hoverLeaveEvent(QGraphicsSceneHoverEvent* event)
{
    // The layer ends a hover itself before hiding or deleting the region; Qt's
    // own leave may follow.
    if (!sensitive_)
        return;
    sensitive_ = false;
    checkBrush();
    QGraphicsPolygonItem::hoverLeaveEvent(event);
    emit leave(this);
}

void ReactionRegion::mousePressEvent(QGraphicsSceneMouseEvent*)
{
    // Keep the event accepted: as mouse grabber the region gets the double click.
}

void ReactionRegion::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event)
{
    const bool left = event->button() == Qt::LeftButton;
    QGraphicsPolygonItem::mouseDoubleClickEvent(event);
    if (left)
        emit reflectRegion(region_);
}
