#include "lua_facade.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <lua.hpp>

#include <stdexcept>

namespace {

const QString kCrlf = QStringLiteral("\r\n");

/// A Lua file in its own temporary folder.
class LuaFacade : public testing::Test
{
protected:
    QString write(const QString& name, const QByteArray& text)
    {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    /// The message loadLuaConfig throws for \a path, or "" when it loads.
    static QString loadError(const QString& path)
    {
        try {
            ostrel::LuaStatePtr state(ostrel::loadLuaConfig(path));
        } catch (const std::runtime_error& error) {
            return QString::fromUtf8(error.what());
        }
        return QString();
    }

    static ostrel::LuaStatePtr load(const QString& path) { return ostrel::LuaStatePtr(ostrel::loadLuaConfig(path)); }

    QTemporaryDir dir_;
};

TEST_F(LuaFacade, MissingFileIsReportedWithItsPath)
{
    const QString path = dir_.filePath("absent.lua");
    EXPECT_EQ(loadError(path), QString("配置文件%1不存在").arg(path));
}

TEST_F(LuaFacade, SyntaxErrorCarriesStatusTextAndInterpreterMessage)
{
    const QString path = write("syntax.lua", "x = = 1\n");
    EXPECT_EQ(loadError(path), "加载配置文件" + path + "错误。" + kCrlf + "详细信息:LUA预编译语法错误" + kCrlf + path
                                   + ":1: unexpected symbol near '='");
}

TEST_F(LuaFacade, NoStandardLibraryIsOpened)
{
    const QString path = write("print.lua", "print('hello')\n");
    EXPECT_EQ(loadError(path), "解析配置文件" + path + "错误。" + kCrlf + "详细信息:LUA运行错误" + kCrlf + path
                                   + ":1: attempt to call a nil value (global 'print')");
    EXPECT_NE(loadError(write("require.lua", "require('os')\n")), QString());
    EXPECT_NE(loadError(write("string.lua", "x = string.rep('a', 3)\n")), QString());
}

TEST_F(LuaFacade, UnreadableFileIsAnUnknownError)
{
    // A folder exists but cannot be read as a file, whoever runs the test.
    const QString path = dir_.filePath("folder.lua");
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.lua"));
    const QString prefix = "加载配置文件" + path + "错误。" + kCrlf + "详细信息:LUA未知错误" + kCrlf;
    const QString message = loadError(path);
    EXPECT_TRUE(message.startsWith(prefix)) << message.toStdString();
    EXPECT_TRUE(message.mid(prefix.size()).contains("cannot read")) << message.toStdString();
}

TEST_F(LuaFacade, PathsAreTakenLiterally)
{
    EXPECT_EQ(loadError(write("甲板%1.lua", "deck = 1\n")), QString());

    // Markers in the path are not filled again by the later substitutions.
    const QString path = write("odd%2name%3.lua", "x = = 1\n");
    EXPECT_TRUE(loadError(path).startsWith("加载配置文件" + path + "错误。" + kCrlf + "详细信息:LUA预编译语法错误"
                                           + kCrlf + path + ":1:"));
}

TEST_F(LuaFacade, HostileScriptsFailInsteadOfExhaustingTheStation)
{
    // Megabytes at each step, so the memory runs out long before the clock,
    // even under an emulator.
    const QString hungry = write("hungry.lua", "local s = 'x' for i = 1, 20 do s = s .. s end\n"
                                               "t = {} for i = 1, 1e9 do t[i] = s .. i end\n");
    EXPECT_TRUE(loadError(hungry).startsWith("解析配置文件" + hungry + "错误。" + kCrlf + "详细信息:LUA内存请求错误"))
        << loadError(hungry).toStdString();

    const QString endless = write("endless.lua", "while true do end\n");
    EXPECT_TRUE(loadError(endless).startsWith("解析配置文件" + endless + "错误。" + kCrlf + "详细信息:LUA运行错误"));

    // Few instructions, each copying megabytes: only the clock can stop it.
    const QString slow = write("slow.lua", "local s = 'x' for i = 1, 24 do s = s .. s end\n"
                                           "for i = 1, 1e9 do local t = s .. s end\n");
    const QString late = loadError(slow);
    EXPECT_TRUE(late.startsWith("解析配置文件" + slow + "错误。" + kCrlf + "详细信息:LUA运行错误"));
    EXPECT_TRUE(late.endsWith(QString("longer than %1 seconds").arg(ostrel::kMaxScriptSeconds))) << late.toStdString();

    // Precompiled chunks are not verified by the interpreter, so they are refused.
    const QString binary = write("binary.lua", QByteArray("\x1bLua\x53\x00garbage", 12));
    EXPECT_TRUE(loadError(binary).startsWith("加载配置文件" + binary + "错误。" + kCrlf + "详细信息:LUA预编译语法错误"));

    const QString deep = write("deep.lua", "x = " + QByteArray(100000, '{') + QByteArray(100000, '}') + "\n");
    EXPECT_TRUE(loadError(deep).startsWith("加载配置文件" + deep + "错误。"));

    const QString recursive = write("recursive.lua", "local function f() return 1 + f() end f()\n");
    EXPECT_TRUE(loadError(recursive).startsWith("解析配置文件" + recursive + "错误。"));
}

TEST_F(LuaFacade, LimitsEndWithTheLoad)
{
    // A loaded state is the host's: after loading it may allocate freely.
    const ostrel::LuaStatePtr state = load(write("empty.lua", ""));
    lua_State* L = state.get();
    EXPECT_EQ(lua_gettop(L), 0);
    const QByteArray big(ostrel::kMaxScriptBytes + 1024, 'x');
    lua_pushlstring(L, big.constData(), std::size_t(big.size()));
    EXPECT_EQ(lua_rawlen(L, -1), std::size_t(big.size()));
}

TEST_F(LuaFacade, StatusTexts)
{
    EXPECT_EQ(ostrel::luaErrorMsg(LUA_OK), QString());
    EXPECT_EQ(ostrel::luaErrorMsg(LUA_ERRRUN), "LUA运行错误");
    EXPECT_EQ(ostrel::luaErrorMsg(LUA_ERRSYNTAX), "LUA预编译语法错误");
    EXPECT_EQ(ostrel::luaErrorMsg(LUA_ERRMEM), "LUA内存请求错误");
    EXPECT_EQ(ostrel::luaErrorMsg(LUA_ERRGCMM), "LUA内存回收扩展处理错误");
    EXPECT_EQ(ostrel::luaErrorMsg(LUA_ERRERR), "LUA消息处理句柄运行错误");
    EXPECT_EQ(ostrel::luaErrorMsg(LUA_YIELD), "LUA未知错误");
    EXPECT_EQ(ostrel::luaErrorMsg(LUA_ERRFILE), "LUA未知错误");
    EXPECT_EQ(ostrel::luaErrorMsg(-1), "LUA未知错误");
    EXPECT_EQ(ostrel::newLine(), kCrlf);
}

TEST_F(LuaFacade, ValuesConvertByKind)
{
    const ostrel::LuaStatePtr state = load(write("values.lua", "t = { i = 12, r = 1.5, s = '12', w = 'word', "
                                                               "u = '舱室', z = 'ab\\0cd', b = true, n = {}, "
                                                               "bad = '\\xff\\xfe', f = function() end }\n"
                                                               "top = 7\n"));
    lua_State* L = state.get();
    const QVariant def(QStringLiteral("default"));

    EXPECT_EQ(ostrel::luaGlobal(L, "top", def), QVariant(qlonglong(7)));
    EXPECT_EQ(ostrel::luaGlobal(L, "missing", def), def);
    ostrel::luaGlobal(L, "t", def);
    const int t = lua_gettop(L);

    const QVariant i = ostrel::luaField(L, t, "i", def);
    EXPECT_EQ(i.userType(), QMetaType::LongLong);
    EXPECT_EQ(i.toString(), "12");
    const QVariant r = ostrel::luaField(L, t, "r", def);
    EXPECT_EQ(r.userType(), QMetaType::Double);
    EXPECT_EQ(r.toDouble(), 1.5);
    const QVariant s = ostrel::luaField(L, t, "s", def);
    EXPECT_EQ(s.userType(), QMetaType::Double);
    EXPECT_EQ(s.toDouble(), 12.0);
    EXPECT_EQ(ostrel::luaField(L, t, "w", def), QVariant("word"));
    EXPECT_EQ(ostrel::luaField(L, t, "w", def).toInt(), 0);
    EXPECT_EQ(ostrel::luaField(L, t, "u", def), QVariant("舱室"));
    EXPECT_EQ(ostrel::luaField(L, t, "z", def), QVariant("ab"));
    EXPECT_EQ(ostrel::luaField(L, t, "b", def), def);
    EXPECT_EQ(ostrel::luaField(L, t, "n", def), def);
    EXPECT_EQ(ostrel::luaField(L, t, "f", def), def);
    EXPECT_EQ(ostrel::luaField(L, t, "absent", def), def);
    EXPECT_EQ(ostrel::luaField(L, t, "bad", def).userType(), QMetaType::QString);
    // Each accessor leaves its value pushed.
    EXPECT_EQ(lua_gettop(L), t + 12);
}

TEST_F(LuaFacade, StackAssistRestoresTheTop)
{
    const ostrel::LuaStatePtr state = load(write("list.lua", "list = { 'a', 2, {} }\n"));
    lua_State* L = state.get();
    lua_pushinteger(L, 1);
    {
        const ostrel::LuaStackAssist guard(L);
        ostrel::luaGlobal(L, "list", QVariant());
        const int list = lua_gettop(L);
        EXPECT_EQ(ostrel::luaTable(L, list, 1, QVariant()), QVariant("a"));
        EXPECT_EQ(ostrel::luaTable(L, list, 2, QVariant()), QVariant(qlonglong(2)));
        EXPECT_EQ(ostrel::luaTable(L, list, 3, QVariant(-1)), QVariant(-1));
        EXPECT_EQ(ostrel::luaTable(L, list, 4, QVariant(-1)), QVariant(-1));
        EXPECT_EQ(lua_gettop(L), 6);
    }
    EXPECT_EQ(lua_gettop(L), 1);
}

TEST_F(LuaFacade, ForEachVisitsEveryPositionWithinBounds)
{
    // Keys 2, 4, ..., 2^30 written in the constructor stay in the hash part, so
    // the length operator reports a border of 2^30 for thirty-one entries.
    QByteArray sparse = "{ 'x'";
    for (qint64 key = 2; key <= (qint64(1) << 30); key *= 2)
        sparse += ", [" + QByteArray::number(key) + "] = 'x'";
    sparse += " }";
    const ostrel::LuaStatePtr state = load(write("lists.lua", "t = { list = { 'a', 5, {}, 'd' }, scalar = 3, sparse = "
                                                                  + sparse + " }\n"));
    lua_State* L = state.get();
    lua_getglobal(L, "t");
    const int t = lua_gettop(L);

    QStringList seen;
    EXPECT_TRUE(ostrel::luaForEach(L, t, "list", ostrel::kMaxListLength, [&](int position) {
        seen << QString::number(position) + "=" + ostrel::luaTopValue(L, QString("-")).toString();
        lua_pushinteger(L, 99); // left over on purpose: the walk cuts it away
    }));
    EXPECT_EQ(seen, QStringList({"1=a", "2=5", "3=-", "4=d"}));
    EXPECT_EQ(lua_gettop(L), t + 1);

    int visits = 0;
    EXPECT_TRUE(ostrel::luaForEach(L, t, "list", 2, [&](int) { ++visits; }));
    EXPECT_EQ(visits, 2);

    EXPECT_FALSE(ostrel::luaForEach(L, t, "scalar", ostrel::kMaxListLength, [&](int) { ++visits; }));
    EXPECT_FALSE(ostrel::luaForEach(L, t, "absent", ostrel::kMaxListLength, [&](int) { ++visits; }));
    EXPECT_EQ(visits, 2);

    visits = 0;
    EXPECT_TRUE(ostrel::luaForEach(L, t, "sparse", ostrel::kMaxListLength, [&](int) { ++visits; }));
    EXPECT_EQ(visits, ostrel::kMaxListLength);
}

using LuaFacadeDeathTest = LuaFacade;

TEST_F(LuaFacadeDeathTest, AccessorsRequireATable)
{
    const ostrel::LuaStatePtr state = load(write("scalar.lua", "x = 1\n"));
    lua_State* L = state.get();
    lua_getglobal(L, "x");
    EXPECT_DEATH(ostrel::luaField(L, 1, "key", QVariant()),
                 "lua_type\\(L, index\\) == LUA_TTABLE.*QVariant ostrel::luaField\\(lua_State\\*, int, const char\\*, QVariant\\)");
    EXPECT_DEATH(ostrel::luaTable(L, 1, 1, QVariant()),
                 "lua_type\\(L, index\\) == LUA_TTABLE.*QVariant ostrel::luaTable\\(lua_State\\*, int, int, QVariant\\)");
    EXPECT_DEATH(ostrel::LuaStackAssist(nullptr), "lua != nullptr.*ostrel::LuaStackAssist::LuaStackAssist\\(lua_State\\*\\)");
}

} // namespace
