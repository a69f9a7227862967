#pragma once

#include "kelvane_assert.h"

#include <QObject>

#include <algorithm>
#include <type_traits>

namespace kelvane {

/// Points \a link, a member of \a owner, at \a target and sets it back to null
/// when \a target is destroyed, so a link to an object owned elsewhere never
/// dangles. The watch on the previous target ends; the watch ends with \a owner
/// too. \a target may be null.
template <typename T>
void linkUntilDestroyed(QObject* owner, T*& link, T* target)
{
    if (link)
        QObject::disconnect(link, &QObject::destroyed, owner, nullptr);
    link = target;
    if (target)
        QObject::connect(target, &QObject::destroyed, owner, [&link] { link = nullptr; });
}

namespace detail {

// A holder is a plain link, a list of links or a list of such lists.
template <typename Holder, typename T>
void forget(Holder& holder, const T* gone)
{
    if constexpr (std::is_pointer_v<Holder>) {
        if (holder == gone)
            holder = nullptr;
    } else if constexpr (std::is_pointer_v<typename Holder::value_type>) {
        holder.erase(std::remove(holder.begin(), holder.end(), gone), holder.end());
    } else {
        for (auto& inner : holder)
            forget(inner, gone);
    }
}

} // namespace detail

/// Forgets \a member in each of \a holders, members of \a owner, once \a member is
/// destroyed: a link to it becomes null and lists (or lists of lists) of plain
/// pointers lose every copy of it, so they never hold an object that another
/// owner deleted. Call it once per member however often the member is held; the
/// watch ends with \a owner, or by disconnecting \a member's destroyed() from
/// \a owner.
template <typename T, typename... Holders>
void forgetWhenDestroyed(QObject* owner, T* member, Holders&... holders)
{
    QObject::connect(member, &QObject::destroyed, owner,
                     [member, &holders...] { (detail::forget(holders, member), ...); });
}

/// When detachAndDelete() deletes: Now, or Later for an item that may be the
/// sender of the signal being delivered.
enum class Deletion { Now, Later };

/// Takes \a item out of the item tree and away from any parent object, so
/// neither a parent item nor a parent object deletes it a second time, then
/// deletes it. Deleted Later, it leaves its scene at once and goes once control
/// returns to the event loop.
template <typename Item>
void detachAndDelete(Item* item, Deletion when = Deletion::Now)
{
    item->setParentItem(nullptr);
    if constexpr (std::is_base_of_v<QObject, Item>) {
        item->setParent(nullptr);
        if (when == Deletion::Later) {
            if (auto* scene = item->scene())
                scene->removeItem(item);
            item->deleteLater();
            return;
        }
    } else {
        // Only an object can wait for the event loop.
        KELVANE_ASSERT(when == Deletion::Now);
    }
    delete item;
}

} // namespace kelvane
