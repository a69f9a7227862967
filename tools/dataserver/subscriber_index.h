#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>

class ClientSession;

/**
 * Which sessions booked which names, so that a new value costs work for its
 * subscribers only, not for every connected client.
 */
class SubscriberIndex
{
public:
    void add(const QByteArray& name, ClientSession* session);
    void remove(const QByteArray& name, ClientSession* session);
    /// The sessions that booked `name` (a copy: delivering may change the index).
    QSet<ClientSession*> of(const QByteArray& name) const { return sessions_.value(name); }
    /// True when some session has booked `name`.
    bool booked(const QByteArray& name) const { return sessions_.contains(name); }
    /// How many times a name stopped being booked by any session; it only grows.
    qint64 releases() const { return releases_; }

private:
    QHash<QByteArray, QSet<ClientSession*>> sessions_;
    qint64 releases_ = 0;
};
