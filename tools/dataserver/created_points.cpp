#include "created_points.h"

#include "point_store.h"
#include "subscriber_index.h"

#include <algorithm>
#include <utility>

CreatedPoints::CreatedPoints(PointStore* store, const SubscriberIndex* subscribers, int capacity,
                             QList<QByteArray> keptPrefixes)
    : store_(store)
    , subscribers_(subscribers)
    , capacity_(capacity)
    , kept_prefixes_(std::move(keptPrefixes))
{
}

void CreatedPoints::add(const QByteArray& name)
{
    if (std::any_of(kept_prefixes_.cbegin(), kept_prefixes_.cend(),
                    [&name](const QByteArray& prefix) { return name.startsWith(prefix); }))
        ++kept_;
    else
        order_.push_back(name);
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
    for (std::size_t checked = 0; checked < order_.size(); ++checked) {
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
