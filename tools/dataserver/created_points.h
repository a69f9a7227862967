#pragma once

#include <QByteArray>

#include <deque>

class PointStore;
class SubscriberIndex;

/**
 * The points that exist because a client wrote a name that had no value. They
 * outlive their writer, since other clients may rely on them (consoles share
 * state through such points and catch up by booking them), up to `capacity` in
 * all. Beyond it, the oldest one that no client has booked is forgotten to make
 * room; when every one is booked, no new point can be created.
 */
class CreatedPoints
{
public:
    CreatedPoints(PointStore* store, const SubscriberIndex* subscribers, int capacity);

    /// Makes room for one more point if need be; false when there is none.
    bool makeRoom();
    /// Records a point just created by a write.
    void add(const QByteArray& name) { order_.push_back(name); }
    /// Points created by writing held now.
    int size() const { return int(order_.size()); }

private:
    PointStore* store_;
    const SubscriberIndex* subscribers_;
    int capacity_;
    // Oldest first; booked points met while making room go to the back.
    std::deque<QByteArray> order_;
    // SubscriberIndex::releases() when a search last found every point booked:
    // until a name is let go, another search would find the same.
    qint64 all_booked_at_ = -1;
};
