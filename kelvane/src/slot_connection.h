#pragma once

#include "kelvane_assert.h"

#include <QMetaMethod>
#include <QObject>

namespace kelvane {

/// Connects \a signal of \a sender to the slot of \a receiver whose normalized
/// signature is \a slot, through the meta-objects. Qt calls a slot connected by
/// member-function pointer through a slot object whose reference count it
/// raises and drops, atomically, around every call; a meta-object connection
/// has none. The value path crosses several connections at each state flip,
/// and the atomics were a sixth of a flip. Order, blocking, \a type and
/// disconnection by object or by signature are those of any connection; a
/// disconnection by member-function pointer does not find it. An unknown slot
/// is an assertion failure.
template <typename Signal>
QMetaObject::Connection connectToSlot(const QObject* sender, Signal signal, const QObject* receiver, const char* slot,
                                      Qt::ConnectionType type = Qt::AutoConnection)
{
    const QMetaObject* meta = receiver->metaObject();
    const int index = meta->indexOfSlot(slot);
    KELVANE_ASSERT(index >= 0);
    return QObject::connect(sender, QMetaMethod::fromSignal(signal), receiver, meta->method(index), type);
}

} // namespace kelvane
