#pragma once

#include "kelvane_export.h"

#include <QColor>
#include <QString>

namespace harq {

/// A display group of sensors or regions together with the damage responses
/// (fire, flooding, abandonment) it serves. A plain value, copied or shared.
///
/// Sensors and regions hold their view group through a shared pointer, so one
/// group may serve many of them. A region listens only to sensors whose group
/// shares a response bit with its own. Changing a group that is in use does
/// not re-associate anything: offer the sensors to the regions again.
class KELVANE_EXPORT ViewGroup
{
public:
    /// Empty name and group code, response DamageResponse::NA (0).
    ViewGroup() = default;
    /// A group named \a name with group code \a group and the response bit set
    /// \a response (DamageResponse::ResponseType values ORed together).
    ViewGroup(const QString& name, const QString& group, int response);

    /// Replaces name, group code and response bits at once.
    void setViewGroup(const QString& name, const QString& group, int response);
    /// Sets the name shown for the group.
    void setName(const QString& name) { name_ = name; }
    /// Sets the group code; see group().
    void setGroup(const QString& group) { group_ = group; }
    /// Sets the response bit set; see responseType().
    void setResponse(int response) { response_ = response; }

    /// Name of the group.
    const QString& name() const { return name_; }
    /// Group code: the sensor layer groups sensors by it; region types keep their icon name here.
    const QString& group() const { return group_; }
    /// Bit set of DamageResponse::ResponseType values.
    int responseType() const { return response_; }

    /// True when the DamageResponse::FIRE bit is set.
    bool isResponseFire() const;
    /// True when the DamageResponse::SINK (flooding) bit is set.
    bool isResponseSink() const;
    /// True when the DamageResponse::ABANDON bit is set.
    bool isResponseAbandon() const;

    /// True when the two response bit sets share a bit; NA shares nothing, not even with itself.
    bool hasCommonResponse(const ViewGroup& other) const;
    /// True when \a a and \a b share a response bit, as the member overload.
    static bool hasCommonResponse(const ViewGroup& a, const ViewGroup& b);

private:
    QString name_;
    QString group_;
    int response_ = 0;
};

/// A damage response type (combinable bits) with its display name and colour.
///
/// The damage style builds the response of a combined type by mixing its single
/// responses; a damaged compartment is painted in its response's colour.
class KELVANE_EXPORT DamageResponse
{
public:
    /// Response bits, combinable with OR: NA (0) none, FIRE (1) fire, SINK (2)
    /// flooding, ABANDON (4) abandonment, ALL (65535) every bit.
    enum ResponseType { NA = 0, FIRE = 1, SINK = 2, ABANDON = 4, ALL = 65535 };

    /// Type NA, empty name, invalid colour.
    DamageResponse() = default;
    /// A response of the type bits \a type, shown as \a name in \a color.
    /// \a color is a colour name such as "#FF0000"; names Qt does not know give an invalid colour.
    DamageResponse(int type, const QString& name, const QString& color);

    /// Display name.
    const QString& name() const { return name_; }
    /// Display colour; invalid when the name given to the constructor was not understood.
    QColor color() const { return color_; }
    /// The type bits (ResponseType values ORed together).
    int response() const { return type_; }
    /// True when some bit of \a type is set in this response's type bits.
    bool hasResponse(int type) const { return (type_ & type) != 0; }

    /// Joins \a other into this response: type bits ORed, names joined by "+",
    /// colours mixed by the packed-ARGB mean (carries cross channels, so pure
    /// red and pure blue give (127, 128, 127)); the result is always opaque. Returns *this.
    DamageResponse& mixWith(const DamageResponse& other);
    /// A copy of \a a mixed with \a b.
    static DamageResponse mix(const DamageResponse& a, const DamageResponse& b);
    /// The colour mixWith() gives for two responses of the colours \a a and \a b.
    static QColor mixColor(const QColor& a, const QColor& b);

private:
    int type_ = NA;
    QString name_;
    QColor color_;
};

} // namespace harq
