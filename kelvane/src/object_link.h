#pragma once

#include <QObject>

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

} // namespace kelvane
