#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>

class QTimer;

/**
 * One client's bookings: each name with its refresh period in milliseconds (0:
 * on change only). Names of the same period share one timer, so a booking costs
 * a few dozen bytes rather than a timer of its own, and a client's refreshes of
 * one period go out in one burst. A periodic booking of a name without a value
 * waits apart and costs nothing per period until the name gets one.
 */
class BookingTable : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    /// Names booked now.
    int size() const { return periods_.size(); }
    bool contains(const QByteArray& name) const { return periods_.contains(name); }
    /// Names booked now.
    QList<QByteArray> names() const { return periods_.keys(); }
    /// Books `name`, replacing an earlier booking of it; `hasValue` says whether
    /// the point has a value now.
    void book(const QByteArray& name, int periodMs, bool hasValue);
    /// Ends the booking of `name`; unknown names are ignored.
    void cancel(const QByteArray& name);
    /// The booked point got a value: its refreshes start.
    void valueAppeared(const QByteArray& name);
    /// The booked point lost its value: its refreshes wait for the next one.
    void valueGone(const QByteArray& name);

signals:
    /// A period elapsed for these names.
    void due(const QSet<QByteArray>& names);

private:
    struct Group {
        QTimer* timer = nullptr;
        QSet<QByteArray> names;
    };

    void join(const QByteArray& name, int periodMs);
    void leave(const QByteArray& name, int periodMs);

    QHash<QByteArray, int> periods_;
    QHash<int, Group> groups_;
    // Periodic bookings of names without a value.
    QSet<QByteArray> waiting_;
};
