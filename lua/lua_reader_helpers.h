#pragma once

// Helpers of the configuration readers inside the display library, so that no
// reader needs the Lua API itself. Internal: this header is not installed and the
// functions are not exported; hosts read configurations through the readers.

#include "lua_facade.h"

#include <QString>

#include <functional>
#include <limits>

namespace ostrel {

/// Range of an integer field; the whole range of int unless a field narrows it.
struct IntRange
{
    long long min = std::numeric_limits<int>::min();
    long long max = std::numeric_limits<int>::max();
};

/// t[\a key] of the table at the absolute stack \a index as an integer, as
/// luaField converted with QVariant::toInt gives it (a fraction is rounded, a
/// value of the wrong kind gives \a def, a word gives 0), except that a number
/// outside \a range throws std::runtime_error naming \a file, \a key and the
/// value instead of wrapping. The value stays pushed.
int luaIntField(lua_State* L, int index, const char* key, int def, const QString& file, IntRange range = {});

} // namespace ostrel
