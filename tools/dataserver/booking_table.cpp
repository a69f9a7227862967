#include "booking_table.h"

#include <QTimer>

void BookingTable::book(const QByteArray& name, int periodMs)
{
    cancel(name);
    periods_.insert(name, periodMs);
    if (periodMs == 0)
        return;
    Group& group = groups_[periodMs];
    if (!group.timer) {
        group.timer = new QTimer(this);
        group.timer->setInterval(periodMs);
        connect(group.timer, &QTimer::timeout, this, [this, periodMs] { emit due(groups_.value(periodMs).names); });
        group.timer->start();
    }
    group.names.insert(name);
}

void BookingTable::cancel(const QByteArray& name)
{
    const auto booking = periods_.constFind(name);
    if (booking == periods_.constEnd())
        return;
    const int periodMs = booking.value();
    periods_.erase(booking);
    const auto group = groups_.find(periodMs);
    if (group == groups_.end())
        return;
    group->names.remove(name);
    if (group->names.isEmpty()) {
        delete group->timer;
        groups_.erase(group);
    }
}
