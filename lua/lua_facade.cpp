#include "lua_facade.h"
#include "lua_reader_helpers.h"

#include "kelvane_assert.h"

#include <QFile>
#include <QObject>

#include <lua.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace ostrel {

namespace {

// A runaway script (an endless loop) is stopped after about this many VM
// instructions, counted in steps of kHookInterval. The step is short because the
// clock is read there too, and a single instruction can take milliseconds.
constexpr int kHookInterval = 1000;
constexpr int kMaxHookCalls = 100000;

// Text mode only: Lua does not verify precompiled chunks, and a crafted one can
// corrupt memory.
constexpr const char* kChunkMode = "t";

// Accessors push one value; more room than that is never needed at once.
constexpr int kAccessorSlots = 1;

/// Limits of the script currently being loaded and run on this thread. The
/// interpreter is not re-entered while a script runs, so one slot per thread suffices.
struct ScriptLimits
{
    long long bytes = 0;
    int hook_calls = 0;
    lua_State* state = nullptr;
    std::chrono::steady_clock::time_point deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(kMaxScriptSeconds);
};

bool pastDeadline(const ScriptLimits& limits)
{
    return std::chrono::steady_clock::now() > limits.deadline;
}

thread_local ScriptLimits* t_limits = nullptr;

/// Puts the script of \a L under limits for the lifetime of this object.
class LimitScope
{
public:
    explicit LimitScope(lua_State* L)
    {
        limits_.state = L;
        t_limits = &limits_;
    }
    ~LimitScope() { t_limits = nullptr; }
    LimitScope(const LimitScope&) = delete;
    LimitScope& operator=(const LimitScope&) = delete;

private:
    ScriptLimits limits_;
};

void stopRunaway(lua_State* L, lua_Debug* /*ar*/)
{
    if (!t_limits)
        return;
    if (++t_limits->hook_calls > kMaxHookCalls)
        luaL_error(L, "configuration script runs too long");
    if (pastDeadline(*t_limits))
        luaL_error(L, "configuration script runs longer than %d seconds", kMaxScriptSeconds);
}

// Same allocation as the standard Lua allocator, refusing growth beyond the
// budget while a script is under limits. Lua turns a refusal into LUA_ERRMEM.
void* limitedAlloc(void* /*ud*/, void* ptr, size_t osize, size_t nsize)
{
    // For a new block osize carries the object's type, not a size.
    const long long old = ptr ? static_cast<long long>(osize) : 0;
    ScriptLimits* limits = t_limits;
    if (nsize == 0) {
        std::free(ptr);
        if (limits)
            limits->bytes -= old;
        return nullptr;
    }
    const long long growth = static_cast<long long>(nsize) - old;
    if (limits && growth > 0 && limits->bytes + growth > kMaxScriptBytes)
        return nullptr;
    // Slow instructions allocate (concatenating long strings): past the deadline
    // the hook is made to run before the next instruction, where it may raise.
    if (limits && growth > 0 && pastDeadline(*limits))
        lua_sethook(limits->state, stopRunaway, LUA_MASKCOUNT, 1);
    void* block = std::realloc(ptr, nsize);
    if (block && limits)
        limits->bytes += growth;
    return block;
}


[[noreturn]] void raise(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

// The path is filled in together with the other markers, so a path that
// itself contains "%2" is not mistaken for a marker.
[[noreturn]] void raiseStatus(lua_State* L, const char* templ, const QString& path, const QString& text)
{
    const QString detail = luaTopValue(L, QVariant()).toString();
    const QString message = QObject::tr(templ).arg(path, newLine(), text, detail);
    lua_close(L);
    raise(message);
}

// The variant rounds a fraction to the nearest integer, so the range is judged
// on the rounded number; NaN lies in no range.
bool inRange(const QVariant& value, IntRange range)
{
    if (value.userType() == QMetaType::Double) {
        const double rounded = std::round(value.toDouble());
        return rounded >= double(range.min) && rounded <= double(range.max);
    }
    const qlonglong number = value.toLongLong();
    return number >= range.min && number <= range.max;
}

void requireRoom(lua_State* L)
{
    const bool room = lua_checkstack(L, kAccessorSlots);
    KELVANE_ASSERT(room);
}

} // namespace

lua_State* loadLuaConfig(const QString& path)
{
    if (!QFile::exists(path))
        raise(QObject::tr("配置文件%1不存在").arg(path));

    lua_State* L = luaL_newstate();
    if (!L)
        raise(QObject::tr("创建LUA环境错误"));

    const LimitScope limits(L);
    lua_setallocf(L, limitedAlloc, nullptr);
    lua_sethook(L, stopRunaway, LUA_MASKCOUNT, kHookInterval);

    const QByteArray file = path.toUtf8();
    QString text = luaErrorMsg(luaL_loadfilex(L, file.constData(), kChunkMode));
    if (!text.isEmpty())
        raiseStatus(L, QT_TRANSLATE_NOOP("QObject", "加载配置文件%1错误。%2详细信息:%3%2%4"), path, text);

    text = luaErrorMsg(lua_pcall(L, 0, 0, 0));
    if (!text.isEmpty())
        raiseStatus(L, QT_TRANSLATE_NOOP("QObject", "解析配置文件%1错误。%2详细信息:%3%2%4"), path, text);

    lua_sethook(L, nullptr, 0, 0);
    return L;
}

QString luaErrorMsg(int status)
{
    switch (status) {
    case LUA_OK:
        return QString();
    case LUA_ERRRUN:
        return QObject::tr("LUA运行错误");
    case LUA_ERRSYNTAX:
        return QObject::tr("LUA预编译语法错误");
    case LUA_ERRMEM:
        return QObject::tr("LUA内存请求错误");
    case LUA_ERRGCMM:
        return QObject::tr("LUA内存回收扩展处理错误");
    case LUA_ERRERR:
        return QObject::tr("LUA消息处理句柄运行错误");
    default:
        return QObject::tr("LUA未知错误");
    }
}

QVariant luaTopValue(lua_State* L, QVariant def)
{
    KELVANE_ASSERT(L != nullptr);
    if (lua_gettop(L) == 0)
        return def;
    if (lua_isinteger(L, -1))
        return QVariant(qlonglong(lua_tointeger(L, -1)));
    if (lua_isnumber(L, -1))
        return QVariant(double(lua_tonumber(L, -1)));
    // Numbers were taken above, so lua_tostring never converts the slot in place.
    if (lua_isstring(L, -1))
        return QVariant(QString::fromUtf8(lua_tostring(L, -1)));
    return def;
}

QVariant luaGlobal(lua_State* L, const char* name, QVariant def)
{
    KELVANE_ASSERT(L != nullptr);
    requireRoom(L);
    lua_getglobal(L, name);
    return luaTopValue(L, def);
}

QVariant luaField(lua_State* L, int index, const char* key, QVariant def)
{
    KELVANE_ASSERT(L != nullptr);
    KELVANE_ASSERT(lua_type(L, index) == LUA_TTABLE);
    requireRoom(L);
    lua_getfield(L, index, key);
    return luaTopValue(L, def);
}

QVariant luaTable(lua_State* L, int index, int n, QVariant def)
{
    KELVANE_ASSERT(L != nullptr);
    KELVANE_ASSERT(lua_type(L, index) == LUA_TTABLE);
    requireRoom(L);
    lua_pushinteger(L, n);
    lua_gettable(L, index);
    return luaTopValue(L, def);
}

bool luaForEach(lua_State* L, int index, const char* key, int limit, const std::function<void(int position)>& visit)
{
    KELVANE_ASSERT(L != nullptr);
    KELVANE_ASSERT(lua_type(L, index) == LUA_TTABLE);
    requireRoom(L);
    lua_getfield(L, index, key);
    if (lua_type(L, -1) != LUA_TTABLE)
        return false;
    const int list = lua_gettop(L);
    // Config tables carry no metatables, so the length operator cannot raise here.
    const lua_Integer length = luaL_len(L, list);
    const int count = int(std::min<lua_Integer>(length, std::min(limit, kMaxListLength)));
    for (int position = 1; position <= count; ++position) {
        luaTable(L, list, position, QVariant());
        visit(position);
        lua_settop(L, list);
    }
    return true;
}

int luaGlobalTable(lua_State* L, const char* name)
{
    luaGlobal(L, name, QVariant());
    return lua_type(L, -1) == LUA_TTABLE ? lua_gettop(L) : 0;
}

void luaForEachTable(lua_State* L, int index, const char* key, int limit,
                     const std::function<void(int position, int element)>& visit)
{
    luaForEach(L, index, key, limit, [&](int position) {
        if (lua_type(L, -1) == LUA_TTABLE)
            visit(position, lua_gettop(L));
    });
}

int luaIntField(lua_State* L, int index, const char* key, int def, const QString& file, IntRange range)
{
    const QVariant value = luaField(L, index, key, def);
    if (!inRange(value, range)) {
        // One substitution for all markers, so a file name holding "%2" stays as it is.
        raise(QObject::tr("配置文件%1中%2的值%3超出范围%4至%5")
                  .arg(file, QString::fromUtf8(key), value.toString(), QString::number(range.min),
                       QString::number(range.max)));
    }
    return value.toInt();
}

QString newLine()
{
    return QStringLiteral("\r\n");
}

void LuaStateCloser::operator()(lua_State* L) const
{
    if (L)
        lua_close(L);
}

LuaStackAssist::LuaStackAssist(lua_State* lua)
    : lua_(lua)
    , pos_(0)
{
    KELVANE_ASSERT(lua != nullptr);
    pos_ = lua_gettop(lua_);
}

LuaStackAssist::~LuaStackAssist()
{
    lua_settop(lua_, pos_);
}

} // namespace ostrel
