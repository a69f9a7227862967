// Scenario files: validation and the timeline played into the store.

#include "point_store.h"
#include "scenario_player.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QtEndian>

namespace {

constexpr int kWaitMs = 3000;

qint32 intValue(const PointStore& store, const QByteArray& name)
{
    return qFromLittleEndian<qint32>(store.value(name).bytes.constData());
}

TEST(ScenarioPlayer, InitialValuesThenEventsInTimeOrder)
{
    PointStore store;
    ScenarioPlayer player(&store);
    QString error;
    ASSERT_TRUE(player.parse(R"({"points": [{"name": "D1-SMK-001", "type": "int", "value": 0},
                                             {"name": "D1-TMP-001", "type": "double", "value": 21.5},
                                             {"name": "D1-MSG", "type": "text", "value": "正常"}],
                                 "events": [{"at": 2.0, "name": "D1-SMK-001", "value": 0},
                                            {"at": 1.0, "name": "D1-SMK-001", "value": 1},
                                            {"at": 1.5, "name": "NEW", "value": 3.25}]})",
                             &error))
        << error.toStdString();
    QSignalSpy changes(&store, &PointStore::changed);
    QSignalSpy finished(&player, &ScenarioPlayer::roundFinished);
    player.start(20.0);

    EXPECT_EQ(intValue(store, "D1-SMK-001"), 0);
    EXPECT_EQ(store.value("D1-TMP-001").type, 128);
    EXPECT_EQ(qFromLittleEndian<double>(store.value("D1-TMP-001").bytes.constData()), 21.5);
    EXPECT_EQ(store.value("D1-MSG").bytes, QByteArray::fromHex("D5FDB3A3"));
    ASSERT_TRUE(finished.wait(kWaitMs));

    QList<QByteArray> order;
    for (const QList<QVariant>& change : qAsConst(changes))
        order << change.at(0).toByteArray();
    EXPECT_EQ(order, QList<QByteArray>({"D1-SMK-001", "D1-TMP-001", "D1-MSG", "D1-SMK-001", "NEW", "D1-SMK-001"}));
    EXPECT_EQ(intValue(store, "D1-SMK-001"), 0);
    EXPECT_EQ(store.value("NEW").type, 128);
}

TEST(ScenarioPlayer, RepeatingTimelineStartsAgain)
{
    PointStore store;
    ScenarioPlayer player(&store);
    QString error;
    ASSERT_TRUE(player.parse(R"({"points": [], "events": [{"at": 0.1, "name": "A", "value": 1},
                                                          {"at": 0.2, "name": "A", "value": 0}],
                                 "repeat": true})",
                             &error));
    QSignalSpy finished(&player, &ScenarioPlayer::roundFinished);
    player.start(4.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished.count() >= 3; }, kWaitMs));
}

TEST(ScenarioPlayer, RefusesMalformedScenarios)
{
    PointStore store;
    ScenarioPlayer player(&store);
    QString error;
    EXPECT_FALSE(player.parse("not json", &error));
    EXPECT_FALSE(player.parse(R"({"points": [{"name": "A", "type": "bool", "value": 1}]})", &error));
    EXPECT_NE(error.indexOf("points[0]"), -1);
    EXPECT_FALSE(player.parse(R"({"points": [{"name": "A", "type": "int", "value": 1.5}]})", &error));
    EXPECT_FALSE(player.parse(R"({"points": [{"type": "int", "value": 1}]})", &error));
    EXPECT_FALSE(player.parse(R"({"events": [{"at": -1, "name": "A", "value": 1}]})", &error));
    EXPECT_FALSE(player.parse(R"({"events": [{"at": 1, "name": "A", "value": "x"}],
                                  "points": [{"name": "A", "type": "float", "value": 1}]})",
                              &error));
    EXPECT_FALSE(player.parse(R"({"events": [{"at": 0, "name": "A", "value": 1}], "repeat": true})", &error));
    // Times the player cannot keep at the speed asked for, and a repeating round under a millisecond.
    const char* const timeline = R"({"events": [{"at": 1e-4, "name": "A", "value": 1},
                                                {"at": 3e7, "name": "A", "value": 0}], "repeat": true})";
    ASSERT_TRUE(player.parse(timeline, &error));
    EXPECT_TRUE(player.checkSpeed(1, &error));
    EXPECT_FALSE(player.checkSpeed(0.5, &error));
    EXPECT_NE(error.indexOf(R"(events[1]: "at" 3e+07 s at --speed 0.5)"), -1) << error.toStdString();
    EXPECT_FALSE(player.checkSpeed(1e11, &error));
    EXPECT_NE(error.indexOf("shorter than 1 ms"), -1) << error.toStdString();
    EXPECT_FALSE(player.load("/nonexistent/scenario.json", &error));
    EXPECT_NE(error.indexOf("/nonexistent/scenario.json"), -1);
}

} // namespace
