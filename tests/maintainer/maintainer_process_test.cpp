// The maintainer as a program: the language of what it prints.

#include <gtest/gtest.h>

#include <QProcess>

namespace {

constexpr int kRunMs = 30000;
const QString kMissingShip = QStringLiteral("/nonexistent/ship.json");

struct MaintainerRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

MaintainerRun runMaintainer(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(KELVANE_MAINTAINER_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(kRunMs)) << arguments.join(' ').toStdString();
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

TEST(MaintainerProgram, SpeaksChineseWithoutALanguage)
{
    const MaintainerRun run = runMaintainer({QStringLiteral("--ship"), kMissingShip});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains(QStringLiteral("kelvane-maintainer: 船舶文件 %1 无法打开: ").arg(kMissingShip)))
        << run.err.toStdString();
}

// The window's texts come from the same catalogue as these messages.
TEST(MaintainerProgram, EnglishTranslationReachesItsMessagesAndHelp)
{
    const MaintainerRun run =
        runMaintainer({QStringLiteral("--ship"), kMissingShip, QStringLiteral("--lang"), QStringLiteral("en")});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(
        run.err.contains(QStringLiteral("kelvane-maintainer: Ship file %1 cannot be opened: ").arg(kMissingShip)))
        << run.err.toStdString();

    const MaintainerRun help = runMaintainer({QStringLiteral("--lang=en"), QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("Configuration folder"))) << help.out.toStdString();
}

TEST(MaintainerProgram, LanguageWithoutATranslationIsABadCommandLine)
{
    const MaintainerRun run = runMaintainer({QStringLiteral("--lang"), QStringLiteral("xx")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("xx"))) << run.err.toStdString();
}
