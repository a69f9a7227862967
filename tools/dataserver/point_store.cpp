#include "point_store.h"

bool PointStore::contains(const QByteArray& name) const
{
    return points_.contains(name);
}

PointValue PointStore::value(const QByteArray& name) const
{
    return points_.value(name);
}

void PointStore::set(const QByteArray& name, const PointValue& value)
{
    points_.insert(name, value);
    emit changed(name);
}

void PointStore::remove(const QByteArray& name)
{
    points_.remove(name);
}
