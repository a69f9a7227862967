#include "booking_table.h"

#include <QTimer>

void BookingTable::book(const QByteArray& name, int periodMs, bool hasValue)
{
    cancel(name);
    periods_.insert(name, periodMs);
    if (periodMs == 0)
        return;
    if (hasValue)
        join(name, periodMs);
    else
        waiting_.insert(name);
}

void BookingTable::cancel(const QByteArray& name)
{
    const auto booking = periods_.constFind(name);
    if (booking == periods_.constEnd())
        return;
    const int periodMs = booking.value();
    periods_.erase(booking);
    if (!waiting_.remove(name))
        leave(name, periodMs);
}

void BookingTable::valueAppeared(const QByteArray& name)
{
    if (waiting_.remove(name))
        join(name, periods_.value(name));
}

void BookingTable::valueGone(const QByteArray& name)
{
    const int periodMs = periods_.value(name);
    if (periodMs == 0 || waiting_.contains(name))
        return;
    leave(name, periodMs);
    waiting_.insert(name);
}

void BookingTable::join(const QByteArray& name, int periodMs)
{
    Group& group = groups_[periodMs];
    if (!group.timer) {
        group.timer = new QTimer(this);
        group.timer->setInterval(periodMs);
        connect(group.timer, &QTimer::timeout, this, [this, periodMs] { emit due(groups_.value(periodMs).names); });
        group.timer->start();
    }
    group.names.insert(name);
}

void BookingTable::leave(const QByteArray& name, int periodMs)
{
    const auto group = groups_.find(periodMs);
    if (group == groups_.end())
        return;
    group->names.remove(name);
    if (group->names.isEmpty()) {
        // Deleted later: this may run while the timer's own timeout is delivered.
        group->timer->stop();
        group->timer->deleteLater();
        groups_.erase(group);
    }
}
