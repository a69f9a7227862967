#pragma once

#include "kelvane_export.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

// Hosts and readers of this header need no Lua headers; only the state's name.
struct lua_State;

/// The one door through which configuration readers reach the Lua interpreter.
namespace ostrel {

/// Longest list a reader walks; longer lists are read up to here. A table can
/// report a border of 2^30 with a few dozen entries, and walking that would
/// stall the station.
constexpr int kMaxListLength = 65536;

/// Most memory, in bytes, a configuration script may allocate while it is loaded and run.
constexpr long long kMaxScriptBytes = 64LL * 1024 * 1024;

/// Longest wall-clock time, in seconds, a configuration script may take to load
/// and run; a configuration is read on the GUI thread, so a slow one freezes the host.
constexpr int kMaxScriptSeconds = 3;

/// Creates a fresh state (no standard library opened), loads the text chunk at
/// \a path and runs it. Never returns null: every failure throws
/// std::runtime_error with the UTF-8 Chinese message, after closing the state
/// if one was made. Scripts are limited to kMaxScriptBytes of memory, a
/// bounded number of instructions and kMaxScriptSeconds of wall-clock time
/// (both reported as a run-time error, "LUA运行错误"); precompiled chunks are refused. The caller
/// owns the state (see LuaStatePtr). On return the stack is empty and the
/// file's globals are set. The messages tell apart a missing file, a state
/// that could not be created, a chunk that failed to load (syntax error,
/// unreadable file) and one that failed to run; all but the second name
/// \a path, and the last two add Lua's own message.
KELVANE_EXPORT lua_State* loadLuaConfig(const QString& path);

/// Chinese text of a Lua status code; empty for success, "LUA未知错误" for unknown codes.
KELVANE_EXPORT QString luaErrorMsg(int status);

/// The value on top of the stack as a QVariant: integer → qlonglong, other
/// number or numeric string → double, string → QString (UTF-8), anything else
/// (nil, boolean, table, function, ...) or an empty stack → \a def. Does not pop.
KELVANE_EXPORT QVariant luaTopValue(lua_State* L, QVariant def);

/// Pushes the global \a name and returns it converted as luaTopValue does. The value stays pushed.
KELVANE_EXPORT QVariant luaGlobal(lua_State* L, const char* name, QVariant def);

/// Pushes t[\a key] of the table at the absolute stack \a index and returns it
/// converted. The value stays pushed. Asserts that \a index holds a table.
KELVANE_EXPORT QVariant luaField(lua_State* L, int index, const char* key, QVariant def);

/// Pushes t[\a n] of the table at the absolute stack \a index and returns it
/// converted. The value stays pushed. Asserts that \a index holds a table.
KELVANE_EXPORT QVariant luaTable(lua_State* L, int index, int n, QVariant def);

/// Walks the list t[\a key] of the table at the absolute stack \a index: for
/// each position from 1 to the smallest of the list's length (Lua's length
/// operator), \a limit and kMaxListLength, the element is pushed (as luaTable
/// does) and \a visit is called with the position; after each call the stack
/// is cut back to the list, so whatever \a visit pushed is discarded. Elements
/// of any kind are visited; \a visit checks the kind itself (the element is on
/// top of the stack). Returns false, leaving t[key] pushed, when t[key] is not
/// a table. The list stays pushed either way. Asserts that \a index holds a table.
KELVANE_EXPORT bool luaForEach(lua_State* L, int index, const char* key, int limit,
                               const std::function<void(int position)>& visit);

/// Pushes the global \a name and returns its absolute stack index when it is a
/// table, 0 otherwise. The value stays pushed either way.
KELVANE_EXPORT int luaGlobalTable(lua_State* L, const char* name);

/// As luaForEach, but \a visit is called only for elements that are tables,
/// with the element's position in the list and its absolute stack index.
KELVANE_EXPORT void luaForEachTable(lua_State* L, int index, const char* key, int limit,
                                    const std::function<void(int position, int element)>& visit);

/// The line break used in the error messages, "\r\n".
KELVANE_EXPORT QString newLine();

/// Closes a state made by loadLuaConfig.
struct KELVANE_EXPORT LuaStateCloser
{
    /// Closes \a L with lua_close; a null state is ignored.
    void operator()(lua_State* L) const;
};

/// Owner of a loaded state: a reader that has finished lets it close the state.
using LuaStatePtr = std::unique_ptr<lua_State, LuaStateCloser>;

/// Restores the stack top of a state when it goes out of scope, so a reader
/// leaves the stack as it found it on every return path.
class KELVANE_EXPORT LuaStackAssist
{
public:
    /// Records the current stack top of \a lua, which must not be null (asserted).
    /// The state is borrowed and must outlive the guard.
    explicit LuaStackAssist(lua_State* lua);
    /// Cuts the stack back to the recorded top. Never throws.
    ~LuaStackAssist();

    LuaStackAssist(const LuaStackAssist&) = delete;
    LuaStackAssist& operator=(const LuaStackAssist&) = delete;

private:
    lua_State* lua_;
    int pos_;
};

} // namespace ostrel
