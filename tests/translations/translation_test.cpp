#include "entity/neighbour.h"
#include "lua_facade.h"
#ifndef KELVANE_MAINTENANCE
#include "entity/deck.h"
#include "graphics/damage_boundary.h"
#endif

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>

#include <stdexcept>

namespace {

/// The message loadLuaConfig throws for a file that does not exist.
QString missingFileMessage()
{
    try {
        ostrel::LuaStatePtr state(ostrel::loadLuaConfig(QStringLiteral("/nonexistent/ship.lua")));
    } catch (const std::runtime_error& error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

/// The message loadLuaConfig throws for a script that does not compile.
QString syntaxErrorMessage()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.lua"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1").arg(path);
    file.write("x = = 1");
    file.close();
    try {
        ostrel::LuaStatePtr state(ostrel::loadLuaConfig(path));
    } catch (const std::runtime_error& error) {
        return QString::fromUtf8(error.what()).replace(path, QStringLiteral("broken.lua"));
    }
    return QString();
}

/// The built kelvane_en.qm installed for the duration of a test.
class English : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(translator_.load(QStringLiteral("kelvane_en"), QStringLiteral(KELVANE_QM_DIR)));
        QCoreApplication::installTranslator(&translator_);
    }
    void TearDown() override { QCoreApplication::removeTranslator(&translator_); }

private:
    QTranslator translator_;
};

TEST(Chinese, TextsStayChineseWithoutATranslator)
{
    EXPECT_EQ(missingFileMessage(), QStringLiteral("配置文件/nonexistent/ship.lua不存在"));
}

TEST_F(English, MissingLuaFileIsReportedInEnglish)
{
    EXPECT_EQ(missingFileMessage(), QStringLiteral("Configuration file /nonexistent/ship.lua does not exist"));
}

TEST_F(English, LuaStatusTexts)
{
    EXPECT_EQ(ostrel::luaErrorMsg(-1), QStringLiteral("Unknown Lua error"));
}

// The template and the Lua status inside it are looked up separately.
TEST_F(English, ScriptThatDoesNotCompile)
{
    EXPECT_TRUE(syntaxErrorMessage().startsWith(
        QStringLiteral("Error loading configuration file broken.lua.\r\nDetails: Lua syntax error during compilation\r\n")))
        << syntaxErrorMessage().toStdString();
}

TEST_F(English, DirectionNames)
{
    EXPECT_EQ(harq::directionStr(harq::UP), QStringLiteral("Above"));
    EXPECT_EQ(harq::directionStr(harq::BACK), QStringLiteral("Rear"));
    EXPECT_EQ(harq::directionStr(harq::CENTER), QStringLiteral("Centre"));
}

#ifndef KELVANE_MAINTENANCE
TEST_F(English, BoundaryTypeNames)
{
    harq::Deck deck;
    DamageBoundary boundary(&deck);
    boundary.setBType(DamageBoundary::SMOKE);
    EXPECT_EQ(boundary.btypeStr(), QStringLiteral("Smoke boundary"));
    boundary.setBType(DamageBoundary::FIRE);
    EXPECT_EQ(boundary.btypeStr(), QStringLiteral("Fire boundary"));
}
#endif

} // namespace
