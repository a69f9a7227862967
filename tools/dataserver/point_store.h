#pragma once

#include "point_value.h"

#include <QHash>
#include <QObject>

/// The server's data points by GBK name; announces every new value.
class PointStore : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    /// True once the point has a value.
    bool contains(const QByteArray& name) const;
    /// The point's value; an empty value of type int when it has none.
    PointValue value(const QByteArray& name) const;
    /// Stores a value (creating the point) and emits changed().
    void set(const QByteArray& name, const PointValue& value);
    /// Forgets a point, silently: its subscribers keep their bookings and hear of
    /// it again when it gets a new value.
    void remove(const QByteArray& name);

signals:
    void changed(const QByteArray& name);

private:
    QHash<QByteArray, PointValue> points_;
};
