#include "entity/view_group.h"

#include <QCoreApplication>

namespace harq {

ViewGroup::ViewGroup(const QString& name, const QString& group, int response)
    : name_(name)
    , group_(group)
    , response_(response)
{
}

void ViewGroup::setViewGroup(const QString& name, const QString& group, int response)
{
    name_ = name;
    group_ = group;
    response_ = response;
}

bool ViewGroup::isResponseFire() const
{
    return (response_ & DamageResponse::FIRE) != 0;
}

bool ViewGroup::isResponseSink() const
{
    return (response_ & DamageResponse::SINK) != 0;
}

bool ViewGroup::isResponseAbandon() const
{
    return (response_ & DamageResponse::ABANDON) != 0;
}

bool ViewGroup::hasCommonResponse(const ViewGroup& other) const
{
    return (response_ & other.response_) != 0;
}

bool ViewGroup::hasCommonResponse(const ViewGroup& a, const ViewGroup& b)
{
    return a.hasCommonResponse(b);
}

DamageResponse::DamageResponse(int type, const QString& name, const QString& color)
    : type_(type)
    , name_(name)
    , color_(color)
{
}

DamageResponse& DamageResponse::mixWith(const DamageResponse& other)
{
    type_ |= other.type_;
    name_ += QCoreApplication::translate("harq::DamageResponse", "+") + other.name_;
    color_ = mixColor(color_, other.color_);
    return *this;
}

QColor DamageResponse::mixColor(const QColor& a, const QColor& b)
{
    // The packed values are added as one unsigned word, so carries cross channels.
    const quint32 sum = quint32(a.rgba()) + quint32(b.rgba());
    return QColor(QRgb(sum >> 1)); // QColor(QRgb) is always opaque
}

DamageResponse DamageResponse::mix(const DamageResponse& a, const DamageResponse& b)
{
    DamageResponse mixed(a);
    return mixed.mixWith(b);
}

} // namespace harq
