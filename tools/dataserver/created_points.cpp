#include "created_points.h"

#include "point_store.h"
#include "subscriber_index.h"

CreatedPoints::CreatedPoints(PointStore* store, const SubscriberIndex* subscribers, int capacity)
    : store_(store)
    , subscribers_(subscribers)
    , capacity_(capacity)
{
}

bool CreatedPoints::makeRoom()
{
    if (size() < capacity_)
        return true;
    // A client writing new names to a full pool must not cost a search per name.
    if (all_booked_at_ == subscribers_->releases())
        return false;
    // Each booked point is passed over at most once, and moved to the back, so
    // the next search does not meet it first again.
    for (int checked = 0; checked < size(); ++checked) {
        const QByteArray oldest = order_.front();
        order_.pop_front();
        if (!subscribers_->booked(oldest)) {
            store_->remove(oldest);
            return true;
        }
        order_.push_back(oldest);
    }
    all_booked_at_ = subscribers_->releases();
    return false;
}
