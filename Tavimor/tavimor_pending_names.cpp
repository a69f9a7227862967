#include "tavimor_pending_names.h"

void TavimorPendingNames::append(const QString& name)
{
    order_.push_back(name);
    bookings_[name].push_back(std::prev(order_.end()));
}

bool TavimorPendingNames::removeFirst(const QString& name)
{
    const auto found = bookings_.find(name);
    if (found == bookings_.end())
        return false;
    order_.erase(found->front());
    found->pop_front();
    if (found->empty())
        bookings_.erase(found);
    return true;
}

QString TavimorPendingNames::takeFirst()
{
    if (order_.empty())
        return {};
    const QString name = order_.front();
    removeFirst(name);
    return name;
}

void TavimorPendingNames::clear()
{
    order_.clear();
    bookings_.clear();
}

QStringList TavimorPendingNames::names() const
{
    QStringList names;
    names.reserve(size());
    for (const QString& name : order_)
        names.append(name);
    return names;
}
