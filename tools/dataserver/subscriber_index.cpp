#include "subscriber_index.h"

void SubscriberIndex::add(const QByteArray& name, ClientSession* session)
{
    sessions_[name].insert(session);
}

void SubscriberIndex::remove(const QByteArray& name, ClientSession* session)
{
    const auto entry = sessions_.find(name);
    if (entry == sessions_.end())
        return;
    entry->remove(session);
    if (entry->isEmpty()) {
        sessions_.erase(entry);
        ++releases_;
    }
}
