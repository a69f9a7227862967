#pragma once

#include <QLatin1String>
#include <QString>

#include <cstddef>

/// Reads an enumeration named in a settings file or on the command line: the
/// value whose entry in \a table (in the enumeration's order, each with a
/// `key`) has \a key, in any case. True and \a value set when one has it;
/// false and \a value untouched otherwise.
template <typename Enum, typename Table>
bool keyedEnumFromKey(const QString& key, const Table& table, Enum* value)
{
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (key.compare(QLatin1String(table[i].key), Qt::CaseInsensitive) == 0) {
            *value = Enum(i);
            return true;
        }
    }
    return false;
}
