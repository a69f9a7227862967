#pragma once

#include <QByteArray>
#include <QList>

#include <deque>

class PointStore;
class SubscriberIndex;

/**
 * The points that exist because a client wrote a name that had no value. They
 * outlive their writer, since other clients may rely on them (consoles share
 * state through such points and catch up by booking them), up to `capacity` in
 * all. Beyond it, the oldest one that no client has booked is forgotten to make
 * room; when every one is booked, no new point can be created.
 *
 * Points under a kept prefix (the stations' shared incident state, say) are
 * never forgotten: a client writing filler names then pushes out only other
 * points, and is refused once kept and booked points are all that is left.
 */
class CreatedPoints
{
public:
    CreatedPoints(PointStore* store, const SubscriberIndex* subscribers, int capacity,
                  QList<QByteArray> keptPrefixes = {});

    /// Makes room for one more point if need be; false when there is none.
    bool makeRoom();
    /// Records a point just created by a write.
    void add(const QByteArray& name);
    /// Points created by writing held now, kept ones included.
    int size() const { return int(order_.size()) + kept_; }

private:
    PointStore* store_;
    const SubscriberIndex* subscribers_;
    int capacity_;
    QList<QByteArray> kept_prefixes_;
    // Kept points are only counted: they are never candidates for forgetting.
    int kept_ = 0;
    // Oldest first; booked points met while making room go to the back.
    std::deque<QByteArray> order_;
    // SubscriberIndex::releases() when a search last found every point booked:
    // until a name is let go, another search would find the same.
    qint64 all_booked_at_ = -1;
};
