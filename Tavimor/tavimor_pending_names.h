#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <deque>
#include <list>

/// The names booked and not answered yet, in booking order, a name as often as
/// it was booked. Every update received asks whether its name is among them,
/// so finding and removing a name take constant time, however many points
/// wait: a list searched name by name made a burst of updates cost the
/// product of the two counts.
class TavimorPendingNames
{
public:
    void append(const QString& name);
    /// Removes the earliest booking of \a name; false when none waits.
    bool removeFirst(const QString& name);
    /// Removes and returns the earliest booking; empty when none waits.
    QString takeFirst();
    void clear();
    bool isEmpty() const { return order_.empty(); }
    int size() const { return int(order_.size()); }
    QStringList names() const;

private:
    using Booking = std::list<QString>::iterator;

    std::list<QString> order_;
    // Each name's bookings in order_, earliest first.
    QHash<QString, std::deque<Booking>> bookings_;
};
