#pragma once

#include "lua_reader_helpers.h"

#include <QString>
#include <QVariant>

#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

namespace kelvane {

/// What the team and tag catalogues share: a list of entries (each with a
/// `name`, an icon `file` and its picture) read from the list `member` of one
/// global table, with the markers' width and opacity beside it, and looked up
/// by exact name, first match. Library-internal.
template <typename Entry>
struct NamedIconList
{
    /// Position answered for a name no entry has.
    static constexpr std::size_t kNotFound = std::numeric_limits<std::size_t>::max();
    /// Marker width a loaded file without the key gives.
    static constexpr qreal kDefaultWidth = 60.0;
    /// Marker opacity a loaded file without the key gives.
    static constexpr qreal kDefaultOpacity = 0.8;

    /// Position of the first entry named \a name, or kNotFound.
    static std::size_t indexOf(const std::vector<Entry>& entries, const QString& name)
    {
        for (std::size_t ix = 0; ix < entries.size(); ++ix) {
            if (entries[ix].name == name)
                return ix;
        }
        return kNotFound;
    }

    /// First entry named \a name, or null.
    static const Entry* find(const std::vector<Entry>& entries, const QString& name)
    {
        const std::size_t ix = indexOf(entries, name);
        return ix == kNotFound ? nullptr : &entries[ix];
    }

    /// Empties \a entries, then reads the global \a global of \a filename: when
    /// it is a table, \a width and \a opacity (defaults 60 and 0.8) and, for
    /// every table of its list `member`, `name` (default "NA") and `icon`
    /// (default empty), handed to \a make(L, element, name, icon), which
    /// returns the entry and may read more keys of the element at that stack
    /// index. A file that fails to load, or a value \a make refuses
    /// (std::runtime_error), leaves no entries and \a width and \a opacity as they were.
    template <typename Make>
    static void load(const QString& filename, const char* global, qreal& width, qreal& opacity,
                     std::vector<Entry>& entries, const Make& make)
    {
        entries.clear();

        const ostrel::LuaStatePtr state(ostrel::loadLuaConfig(filename));
        lua_State* L = state.get();
        const ostrel::LuaStackAssist guard(L);

        const int t = ostrel::luaGlobalTable(L, global);
        if (t == 0)
            return;
        const qreal read_width = ostrel::luaField(L, t, "width", kDefaultWidth).toReal();
        const qreal read_opacity = ostrel::luaField(L, t, "opacity", kDefaultOpacity).toReal();
        std::vector<Entry> read;
        ostrel::luaForEachTable(L, t, "member", ostrel::kMaxListLength, [&](int, int e) {
            const QString name = ostrel::luaField(L, e, "name", kDefaultName).toString();
            const QString icon = ostrel::luaField(L, e, "icon", QString()).toString();
            read.push_back(make(L, e, name, icon));
        });

        width = read_width;
        opacity = read_opacity;
        entries = std::move(read);
    }

private:
    static constexpr const char* kDefaultName = "NA";
};

} // namespace kelvane
