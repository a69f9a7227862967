#pragma once

#include "kelvane_export.h"

#include <QColor>
#include <QString>

namespace harq {

/// A display group of sensors or regions together with the damage responses
/// (fire, flooding, abandonment) it serves. A plain value, copied or shared.
class KELVANE_EXPORT ViewGroup
{
public:
    ViewGroup() = default;
    ViewGroup(const QString& name, const QString& group, int response);

    void setViewGroup(const QString& name, const QString& group, int response);
    void setName(const QString& name) { name_ = name; }
    void setGroup(const QString& group) { group_ = group; }
    void setResponse(int response) { response_ = response; }

    const QString& name() const { return name_; }
    /// Group code: the sensor layer groups sensors by it; region types keep their icon name here.
    const QString& group() const { return group_; }
    /// Bit set of DamageResponse::ResponseType values.
    int responseType() const { return response_; }

    bool isResponseFire() const;
    bool isResponseSink() const;
    bool isResponseAbandon() const;

    /// True when the two response bit sets share a bit; NA shares nothing, not even with itself.
    bool hasCommonResponse(const ViewGroup& other) const;
    static bool hasCommonResponse(const ViewGroup& a, const ViewGroup& b);

private:
    QString name_;
    QString group_;
    int response_ = 0;
};

/// A damage response type (combinable bits) with its display name and colour.
class KELVANE_EXPORT DamageResponse
{
public:
    enum ResponseType { NA = 0, FIRE = 1, SINK = 2, ABANDON = 4, ALL = 65535 };

    /// Type NA, empty name, invalid colour.
    DamageResponse() = default;
    /// \a color is a colour name such as "#FF0000"; names Qt does not know give an invalid colour.
    DamageResponse(int type, const QString& name, const QString& color);

    const QString& name() const { return name_; }
    QColor color() const { return color_; }
    int response() const { return type_; }
    /// True when some bit of \a type is set in this response's type bits.
    bool hasResponse(int type) const { return (type_ & type) != 0; }

    /// Joins \a other into this response: type bits ORed, names joined by "+",
    /// colours mixed by the packed-ARGB mean (carries cross channels). Returns *this.
    DamageResponse& mixWith(const DamageResponse& other);
    /// A copy of \a a mixed with \a b.
    static DamageResponse mix(const DamageResponse& a, const DamageResponse& b);

private:
    int type_ = NA;
    QString name_;
    QColor color_;
};

} // namespace harq
