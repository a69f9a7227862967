// The incident shared by several consoles through the real data server, kept
// across a station killed outright, and replayed from an exported scenario.

#include "sample_ship_fixture.h"
#include "alarm_commands.h"
#include "alarm_feed.h"
#include "alarm_settings.h"
#include "alarm_state.h"
#include "console_clock.h"
#include "console_keys.h"
#include "deck_plan.h"
#include "incident_catalogue.h"
#include "incident_commands.h"
#include "incident_export.h"
#include "incident_sharing.h"
#include "incident_store.h"
#include "incident_tracker.h"
#include "link_supervisor.h"
#include "operator_session.h"
#include "station_options.h"
#include "station_process.h"
#include "station_security.h"
#include "station_settings.h"
#include "tavimor_record.h"

#include "Tavimor.h"

#include "config/damage_config.h"
#include "entity/sensor_item.h"
#include "view/deck_scene.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <tuple>
#include <vector>

namespace {

using Kind = IncidentEvent::Kind;

constexpr int kShareMs = 1000;
constexpr int kWaitMs = 15000;
// The replayed incident lasts 4 s from the server's start.
constexpr int kReplayMs = 5000;
constexpr quint64 kSteeringGear = 101;
constexpr quint64 kAftStore = 102;
// Teams with a free unit each: the drainage and the leak team have one, the fire team two.
const QString kDrainTeam = QStringLiteral("排水队");
const QStringList kRacingTeams{QStringLiteral("消防队"), QStringLiteral("堵漏队")};
const QString kHost = QStringLiteral("127.0.0.1");
const QString kSmoke = QStringLiteral("D1-SMK-001");

/// One console without its window: the incident state on a plan, the history and the sharing.
struct Console {
    Console(const QString& name, quint16 port, const QString& history)
        : ship(ShipLoader().load(QStringLiteral(KELVANE_SHIP_DIR "/ship.json")))
        , incident(IncidentCatalogue::teamTypes(), IncidentCatalogue::boundaryIds(*ship))
        , commands(incident)
        , plan(&scene, *ship, incident)
        , alarms(ConsoleClock::system())
        , feed(*ship, settings, alarms, ConsoleClock::system())
        , link(kHost, port)
        , sharing(link, name, IncidentTracker::sharedPoints(IncidentCatalogue::of(*ship), incident, alarms))
    {
        IncidentCatalogue::placeStations(*ship, incident);
        QString error;
        EXPECT_TRUE(store.open(history, &error)) << error.toStdString();
        tracker = std::make_unique<IncidentTracker>(
            IncidentCatalogue::of(*ship), incident, commands, alarms,
            [this](int id) { return IncidentCatalogue::read(feed, id); }, store, sharing);
        QObject::connect(&feed, &AlarmFeed::valueChanged, tracker.get(), &IncidentTracker::valueChanged);
        link.start();
    }

    int damageOf(quint64 compartment) const { return incident.damageOf(compartment); }
    /// The teams out, as the operator would compare them.
    QStringList teams() const
    {
        QStringList out;
        for (const IncidentState::Team& team : incident.teams())
            out.append(QStringLiteral("%1@%2:%3,%4")
                           .arg(incident.teamTypes()[team.type].name)
                           .arg(team.deck)
                           .arg(qRound(team.position.x()))
                           .arg(qRound(team.position.y())));
        out.sort();
        return out;
    }
    void deploy(const QString& team, QPointF at) { commands.deployTeam(incident.teamType(team), 1, at, kSteeringGear); }

    harq::SensorItem* smoke() const { return ship->index().items(kSmoke).first(); }
    bool shelved() const { return alarms.alarm(feed.idOf(smoke()))->shelved; }

    std::unique_ptr<Ship> ship;
    IncidentState incident;
    IncidentCommands commands;
    DeckScene scene;
    DeckPlan plan;
    AlarmSettings settings;
    AlarmState alarms;
    AlarmFeed feed;
    IncidentStore store;
    LinkSupervisor link;
    IncidentSharing sharing;
    std::unique_ptr<IncidentTracker> tracker;
};

class IncidentTest : public SampleShipFixture
{
protected:
    QString file(const QString& name) const { return dir_.filePath(name); }
    /// A scenario file holding \a json.
    QString scenario(const QByteArray& json)
    {
        QFile out(file(QStringLiteral("scenario-%1.json").arg(++scenarios_)));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(json) == json.size());
        return out.fileName();
    }

    QTemporaryDir dir_;
    int scenarios_ = 0;
};

/// What the sensors reported, in order: kind and tag.
QStringList alarmSequence(const QVector<IncidentEvent>& events)
{
    QStringList out;
    for (const IncidentEvent& event : events) {
        if (event.kind == Kind::AlarmRaised || event.kind == Kind::AlarmCleared || event.kind == Kind::Acknowledged)
            out.append(IncidentEvent::kindName(event.kind) + QLatin1Char(' ') + event.subject);
    }
    return out;
}

} // namespace

TEST_F(IncidentTest, ActionsReachEveryConsoleAndConcurrentOnesConvergeOnTheServersLastWrite)
{
    DataServerProcess server;
    ASSERT_TRUE(server.start(scenario(R"({"points": [], "events": []})")));
    std::vector<std::unique_ptr<Console>> consoles;
    for (const char* name : {"central", "bridge", "engine"})
        consoles.push_back(std::make_unique<Console>(QLatin1String(name), server.port(), file(QLatin1String(name))));
    Console& central = *consoles[0];
    Console& bridge = *consoles[1];
    const auto everywhere = [&consoles](auto check) {
        const auto all = [&] {
            return std::all_of(consoles.begin(), consoles.end(), [&](const auto& c) { return check(*c); });
        };
        return QTest::qWaitFor(all, kShareMs);
    };

    central.commands.damage(kSteeringGear, harq::DamageResponse::FIRE);
    central.deploy(kDrainTeam, QPointF(200, 300));
    const quint64 boundary = central.ship->boundaries().back().id;
    central.commands.setBoundary(boundary, true);
    EXPECT_TRUE(everywhere([](const Console& c) { return c.damageOf(kSteeringGear) == harq::DamageResponse::FIRE; }));
    EXPECT_TRUE(everywhere([&](const Console& c) { return c.incident.isBoundarySet(boundary); }));
    EXPECT_TRUE(everywhere([&](const Console& c) { return c.teams() == central.teams(); }));
    EXPECT_EQ(central.teams().filter(QStringLiteral("@1:200,300")).size(), 1);
    // A shelving reaches a console whose alarm is raised only afterwards; a
    // reason too long for a text value arrives cut.
    const QString reason(60, QChar(0x6F14)); // 120 bytes in GBK
    central.smoke()->onPrimaryValueChanged(1);
    ASSERT_TRUE(central.alarms.shelve(central.feed.idOf(central.smoke()), reason, 10));
    QTest::qWait(kShareMs / 2);
    for (const auto& console : consoles)
        console->smoke()->onPrimaryValueChanged(1);
    EXPECT_TRUE(everywhere([&](const Console& c) {
        const QString shown = c.alarms.alarm(c.feed.idOf(c.smoke()))->shelveReason;
        return c.shelved() && shown.size() > 10 && reason.startsWith(shown);
    }));

    // Two consoles act on the same compartment and the same free team unit at
    // once, in both orders: all end with what the server took last.
    for (int round = 0; round < 2; ++round) {
        Console& first = round == 0 ? central : bridge;
        Console& second = round == 0 ? bridge : central;
        first.commands.damage(kAftStore, harq::DamageResponse::SINK);
        second.commands.damage(kAftStore, harq::DamageResponse::FIRE);
        first.deploy(kRacingTeams[round], QPointF(210, 300));
        second.deploy(kRacingTeams[round], QPointF(220, 300));
        QTest::qWait(kShareMs);
        Tavimor reader;
        ASSERT_EQ(reader.InitSvr(kHost, server.port()), 1);
        const auto settled = [&] {
            stDt last{};
            reader.ReadDt(IncidentSharing::damagePoint(kAftStore), last);
            IncidentSharing::Value taken;
            const QString text = QString::fromLatin1(reinterpret_cast<const char*>(last.unDt.sz));
            return IncidentSharing::Value::parse(text, &taken)
                && std::all_of(consoles.begin(), consoles.end(), [&](const auto& c) {
                       return c->damageOf(kAftStore) == taken.payload.toInt() && c->teams() == central.teams();
                   });
        };
        EXPECT_TRUE(QTest::qWaitFor(settled, kWaitMs)) << round;
    }

    // A console started in the middle of the incident catches up, also with
    // what a console that has gone since did.
    const QStringList teams = central.teams();
    consoles.erase(consoles.begin());
    consoles.push_back(std::make_unique<Console>(QStringLiteral("late"), server.port(), file(QStringLiteral("late"))));
    EXPECT_TRUE(everywhere([&](const Console& c) {
        return c.damageOf(kSteeringGear) == harq::DamageResponse::FIRE && c.teams() == teams;
    }));
}

TEST_F(IncidentTest, SecuredConsolesRefuseARoguesValuesAndRecordTheirOperators)
{
    DataServerProcess server;
    ASSERT_TRUE(server.start(scenario(R"({"points": [], "events": []})")));
    QString error;
    ConsoleKeys keys;
    const QStringList names{QStringLiteral("bridge"), QStringLiteral("engine")};
    for (const QString& name : names)
        ASSERT_TRUE(ConsoleKeys::saveSecret(keys.generate(name), file(name + QStringLiteral(".key")), &error));
    ASSERT_TRUE(keys.save(file(QStringLiteral("ship-keys.json")), &error));
    OperatorAccounts accounts;
    ASSERT_TRUE(accounts.load(file(QStringLiteral("operators.json")), &error));
    ASSERT_TRUE(accounts.set(QStringLiteral("li"), OperatorAccounts::Role::Watchkeeper, QStringLiteral("long enough"), &error));
    std::vector<std::unique_ptr<Console>> consoles;
    std::vector<std::unique_ptr<StationSecurity>> security;
    for (const QString& name : names) {
        consoles.push_back(std::make_unique<Console>(name, server.port(), file(name)));
        StationOptions options;
        options.keysFile = file(QStringLiteral("ship-keys.json"));
        options.secretKeyFile = file(name + QStringLiteral(".key"));
        options.accountsFile = file(QStringLiteral("operators.json"));
        security.push_back(std::make_unique<StationSecurity>());
        ASSERT_TRUE(security.back()->load(options, &error)) << qPrintable(error);
        ASSERT_TRUE(security.back()->openAudit(file(name), QStringLiteral(KELVANE_SHIP_DIR "/ship.json"), &error));
        security.back()->secure(consoles.back()->sharing, consoles.back()->store.lastActionValues());
    }
    Console& bridge = *consoles[0];
    Console& engine = *consoles[1];
    OperatorSession& watch = *security[1]->session();
    ASSERT_EQ(watch.logIn(QStringLiteral("li"), QStringLiteral("long enough")), OperatorAccounts::Result::Accepted);
    engine.tracker->setOperatorName(watch.operatorName());

    // The operator's action reaches the other console; a rogue client's, in the engine's name, does not.
    engine.commands.damage(kSteeringGear, harq::DamageResponse::FIRE);
    LinkSupervisor rogueLink(kHost, server.port());
    IncidentSharing rogue(rogueLink, QStringLiteral("engine"), {IncidentSharing::damagePoint(kAftStore)});
    rogueLink.start();
    rogue.publish(IncidentSharing::damagePoint(kAftStore), QString::number(harq::DamageResponse::SINK));
    EXPECT_TRUE(QTest::qWaitFor([&] { return bridge.damageOf(kSteeringGear) == harq::DamageResponse::FIRE && rogue.unpublished() == 0; }, kWaitMs));
    QTest::qWait(kShareMs / 2);
    EXPECT_EQ(bridge.damageOf(kAftStore), 0);
    const auto audited = [&](int console, const QString& kind, const QString& details) {
        const QVector<AuditTrail::Row> rows = security[console]->audit().rows();
        return std::count_if(rows.begin(), rows.end(), [&](const AuditTrail::Row& row) {
            return AuditTrail::kindName(row.kind) == kind && row.details.startsWith(details);
        });
    };
    EXPECT_EQ(audited(0, QStringLiteral("value_refused"), QStringLiteral("Unsigned ") + IncidentSharing::damagePoint(kAftStore)), 1);
    EXPECT_EQ(audited(0, QStringLiteral("configuration_changed"), QStringLiteral("keys: ")), 1);

    // A watchkeeper may not lift a boundary; an acknowledgement here records who made it.
    EXPECT_FALSE(watch.attempt(OperatorSession::Action::Boundaries));
    EXPECT_EQ(audited(1, QStringLiteral("action_refused"), QStringLiteral("Boundaries")), 1);
    engine.smoke()->onPrimaryValueChanged(1);
    engine.smoke()->onPrimaryValueChanged(0);
    engine.alarms.acknowledgedByOperator(engine.feed.idOf(engine.smoke()));
    QStringList whoActed;
    for (const IncidentEvent& event : engine.store.recent(100)) {
        if (event.kind == Kind::ManualDamage || event.kind == Kind::Acknowledged)
            whoActed << IncidentEvent::kindName(event.kind) + QLatin1Char('/') + event.console + QLatin1Char('/') + event.operatorName;
    }
    EXPECT_EQ(whoActed, (QStringList{QStringLiteral("manual_damage/engine/li"), QStringLiteral("acknowledged/engine/li")}));
    EXPECT_EQ(bridge.store.recent(100).constLast().operatorName, QString());
}

TEST_F(IncidentTest, TwoConsolesEndAnAcknowledgedAlarmAlikeAndRecordWhoAcknowledged)
{
    DataServerProcess server;
    // A link is live once the server has sent something: the two detectors start normal.
    ASSERT_TRUE(server.start(scenario(R"({"points": [{"name": "D1-SMK-001", "type": "int", "value": 0},
                                                 {"name": "D1-FLD-001", "type": "int", "value": 0}], "events": []})")));
    Tavimor sensors;
    ASSERT_EQ(sensors.InitSvr(kHost, server.port()), 1);
    Console central(QStringLiteral("central"), server.port(), file(QStringLiteral("central")));
    Console bridge(QStringLiteral("bridge"), server.port(), file(QStringLiteral("bridge")));
    std::vector<std::unique_ptr<DataLink>> values; // the consoles' sensor links
    for (Console* console : {&central, &bridge}) {
        values.push_back(std::make_unique<DataLink>(kHost, server.port(), console->ship->valueRoute(),
                                                    console->ship->dataPointNames()));
        ASSERT_TRUE(values.back()->open());
    }
    // While slow, central's acknowledgement is held back as on a slow link.
    QString held;
    bool slow = false;
    AlarmCommands commands(central.alarms, [&](const QString& point, qint32 value) {
        return slow ? (held = point, true) : values.front()->writeInt(point, value);
    });
    // Acknowledged after the clearing, or before it with the clearing overtaking the acknowledgement.
    for (const auto& [tag, crossing] : {std::pair{kSmoke, false}, {QStringLiteral("D1-FLD-001"), true}}) {
        const auto idOf = [&](const Console& c) { return c.feed.idOf(c.ship->index().items(tag).first()); };
        const auto both = [&](auto check) {
            const auto holds = [&](Console& c) { return check(c, c.alarms.alarm(idOf(c))->state); };
            return QTest::qWaitFor([&] { return holds(central) && holds(bridge); }, kWaitMs);
        };
        ASSERT_GT(sensors.WriteDt(tag, tavimor::intRecord(1)), 0);
        ASSERT_TRUE(both([](Console&, AlarmState::State s) { return s == AlarmState::State::UnacknowledgedActive; }));
        slow = crossing;
        if (crossing)
            commands.acknowledge({idOf(central)});
        ASSERT_GT(sensors.WriteDt(tag, tavimor::intRecord(0)), 0);
        ASSERT_TRUE(both([](Console&, AlarmState::State s) { return !AlarmState::isActive(s); }));
        slow = false;
        crossing ? void(values.front()->writeInt(held, 1)) : commands.acknowledge({idOf(central)});
        EXPECT_TRUE(both([&](Console& c, AlarmState::State s) {
            const QVector<IncidentEvent> events = c.store.recent(100);
            return s == AlarmState::State::Normal
                && std::count_if(events.begin(), events.end(), [&](const IncidentEvent& e) {
                       return e.kind == Kind::Acknowledged && e.subject.endsWith(tag) && e.console == "central";
                   }) == 1;
        })) << crossing;
    }
}

TEST_F(IncidentTest, TwoConsolesKeepEachOthersActionsThroughConflictsServerRestartsAndOutages)
{
    const QString empty = scenario(R"({"points": [], "events": []})");
    DataServerProcess server;
    ASSERT_TRUE(server.start(empty));
    const quint16 port = server.port();
    const auto open = [&](const char* name) { return std::make_unique<Console>(QLatin1String(name), port, file(QLatin1String(name))); };
    std::unique_ptr<Console> a = open("alpha");
    std::unique_ptr<Console> b = open("bravo");
    const auto restartServer = [&] {
        server.stop();
        ASSERT_TRUE(server.start(empty, port));
    };
    const std::vector<std::pair<const char*, std::function<bool()>>> rows{
        {"both deploy into the one free fire unit: both teams stay, on two units", [&] {
             a->deploy(kRacingTeams[0], QPointF(210, 300));
             b->deploy(kRacingTeams[0], QPointF(220, 300));
             return QTest::qWaitFor([&] {
                 return a->teams() == b->teams() && a->teams().filter(QRegularExpression(":2[12]0,300")).size() == 2;
             }, kWaitMs);
         }},
        {"a restarted server gets the state back; a console started afterwards shows it", [&] {
             a->commands.damage(kSteeringGear, harq::DamageResponse::FIRE);
             QTest::qWait(kShareMs);
             restartServer();
             const QStringList teams = a->teams();
             const auto late = open("late");
             return QTest::qWaitFor([&] {
                 return late->damageOf(kSteeringGear) == harq::DamageResponse::FIRE && late->teams() == teams;
             }, kWaitMs);
         }},
        {"an action taken offline survives a restart and is published when the server returns", [&] {
             server.stop();
             a->commands.damage(kAftStore, harq::DamageResponse::SINK);
             a.reset(); // its history is flushed as it goes
             a = open("alpha");
             EXPECT_EQ(a->damageOf(kAftStore), harq::DamageResponse::SINK);
             [&] { ASSERT_TRUE(server.start(empty, port)); }();
             return QTest::qWaitFor([&] { return b->damageOf(kAftStore) == harq::DamageResponse::SINK; }, kWaitMs);
         }},
    };
    for (const auto& [name, happens] : rows)
        EXPECT_TRUE(happens()) << name << " alpha " << a->teams().join(' ').toStdString() << " bravo "
                               << b->teams().join(' ').toStdString();
    // Nobody's team left anybody's history silently: each deployment is followed by no foreign withdrawal.
    for (Console* console : {a.get(), b.get()}) {
        const QVector<IncidentEvent> events = console->store.recent(1000);
        EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const IncidentEvent& e) { return e.kind == Kind::TeamWithdrawn; }), 0);
    }
}

TEST_F(IncidentTest, ThreeStationsShowAnActionWithinASecondAndOneKilledComesBackWithIt)
{
    DataServerProcess server;
    // The galley's first smoke detector trips at once and stays tripped.
    ASSERT_TRUE(server.start(scenario(R"({"points": [], "events": [{"at": 0.5, "name": "D2-SMK-026", "value": 1}]})")));
    const auto arguments = [&](const char* console) {
        return QStringList{QStringLiteral("--port"), QString::number(server.port()), QStringLiteral("--console"),
                           QLatin1String(console), QStringLiteral("--history"), file(QLatin1String(console))};
    };
    // The central console is the station with a scripted operator; the other two are the station itself.
    StationProcess central;
    central.start(arguments("central"), QStringLiteral(KELVANE_STATION_DRILL_PATH));
    std::vector<std::unique_ptr<StationProcess>> others;
    for (const char* console : {"bridge", "engine"}) {
        others.push_back(std::make_unique<StationProcess>());
        others.back()->start(arguments(console));
    }
    const auto ready = [](const StationProcess& s) { return s.connections() > 0 || s.out().contains(QStringLiteral("ready")); };
    ASSERT_TRUE(central.waitForOutput(ready, kWaitMs)) << central.err().toStdString();
    for (const auto& station : others)
        ASSERT_TRUE(station->waitForOutput(ready, kWaitMs)) << station->err().toStdString();
    // Every console's own connection for the shared state is up a moment after its sensor link.
    QTest::qWait(kShareMs / 2);

    QElapsedTimer since;
    since.start();
    central.send("damage " + QByteArray::number(kSteeringGear) + ' ' + QByteArray::number(harq::DamageResponse::FIRE));
    const auto shows = [](const StationProcess& s) {
        return s.out().contains(QStringLiteral("incident: ")) && s.out().contains(QStringLiteral("[1-4-0]"));
    };
    for (const auto& station : others)
        EXPECT_TRUE(station->waitForOutput(shows, int(std::max<qint64>(0, kShareMs - since.elapsed()))))
            << station->out().toStdString();
    const auto acted = [](int count) {
        return [count](const StationProcess& s) { return s.out().count(QStringLiteral("acted: ")) == count; };
    };
    EXPECT_TRUE(central.waitForOutput(acted(1), kWaitMs)) << central.out().toStdString();
    // What the station showed a second ago must be in the history when it dies.
    QTest::qWait(kShareMs);
    others.front().reset(); // SIGKILL

    IncidentStore before;
    QString error;
    ASSERT_TRUE(before.open(file(QStringLiteral("bridge")), &error)) << error.toStdString();
    const QVector<IncidentEvent> kept = before.recent(100);
    EXPECT_EQ(alarmSequence(kept), QStringList{QStringLiteral("alarm_raised D2-SMK-026")});
    const auto damage
        = std::find_if(kept.begin(), kept.end(), [](const IncidentEvent& e) { return e.kind == Kind::ManualDamage; });
    ASSERT_NE(damage, kept.end());
    EXPECT_EQ(damage->console, QStringLiteral("central"));

    StationProcess bridge;
    bridge.start(arguments("bridge"));
    ASSERT_TRUE(bridge.waitForOutput(shows, kWaitMs)) << bridge.out().toStdString();
    EXPECT_TRUE(bridge.out().contains(QStringLiteral("history: %1 events").arg(kept.size())))
        << bridge.out().toStdString();
    central.send("recover " + QByteArray::number(kSteeringGear));
    EXPECT_TRUE(bridge.waitForOutput([](const StationProcess& s) { return s.out().count(QStringLiteral("[1-4-0]")) > 1; },
                                     kWaitMs))
        << bridge.out().toStdString() << central.out().toStdString();
    EXPECT_TRUE(central.waitForOutput(acted(2), kWaitMs)) << central.out().toStdString();
    QTest::qWait(kShareMs);
    // The restart neither raised the alarm again nor recorded the action twice; the recovery is new.
    EXPECT_EQ(before.recent(100).size(), kept.size() + 1);
}

TEST_F(IncidentTest, ExportedIncidentReplaysTheSameAlarmSequence)
{
    const QByteArray played = R"({"points": [{"name": "D1-SMK-001.ACK", "type": "int", "value": 1},
                                             {"name": "D1-FLD-001.ACK", "type": "int", "value": 1}],
        "events": [{"at": 2.0, "name": "D1-SMK-001", "value": 1}, {"at": 2.0, "name": "D1-SMK-001.ACK", "value": 0},
                   {"at": 2.5, "name": "D1-FLD-001", "value": 1}, {"at": 2.5, "name": "D1-FLD-001.ACK", "value": 0},
                   {"at": 3.0, "name": "D1-SMK-001.ACK", "value": 1}, {"at": 3.5, "name": "D1-SMK-001", "value": 0},
                   {"at": 4.0, "name": "D1-FLD-001", "value": 0}, {"at": 2.0, "name": "D1-LVL-001", "value": 5.5}]})";
    const QStringList expected{QStringLiteral("alarm_raised D1-SMK-001"), QStringLiteral("alarm_raised D1-FLD-001"),
                               QStringLiteral("acknowledged D1-SMK-001"), QStringLiteral("alarm_cleared D1-SMK-001"),
                               QStringLiteral("alarm_cleared D1-FLD-001")};
    QString source = scenario(played);
    for (int run = 0; run < 2; ++run) {
        // Every value the console starts with is in its history before the
        // incident; it shares nothing (no server on port 0).
        Console console(QStringLiteral("run%1").arg(run), 0, file(QStringLiteral("run%1").arg(run)));
        DataServerProcess server;
        ASSERT_TRUE(server.start(source));
        const qint64 from = QDateTime::currentMSecsSinceEpoch();
        DataLink link(kHost, server.port(), console.ship->valueRoute(), console.ship->dataPointNames());
        ASSERT_TRUE(link.open());
        // This console acknowledges the smoke and shelves it before the scenario's flag comes.
        harq::SensorItem* smoke = console.ship->index().items(QStringLiteral("D1-SMK-001")).first();
        ASSERT_TRUE(QTest::qWaitFor([smoke] { return smoke->isAbnormal(); }, kReplayMs));
        console.alarms.acknowledgedByOperator(console.feed.idOf(smoke));
        console.alarms.shelve(console.feed.idOf(smoke), QStringLiteral("=pump test"), 10);
        QTest::qWait(kReplayMs);
        IncidentExport incident(console.store, from, QDateTime::currentMSecsSinceEpoch());
        EXPECT_EQ(alarmSequence(incident.events()), expected) << run;
        // A station started on this history draws the level's trend from it.
        const QString level = QStringLiteral("D1-LVL-001");
        Console again(QStringLiteral("again"), 0, file(QStringLiteral("run%1").arg(run)));
        const auto& trend = again.alarms.trend().of(again.feed.idOf(again.ship->index().items(level).first()));
        ASSERT_FALSE(trend.empty());
        EXPECT_EQ(trend.back().value, console.ship->index().items(level).first()->value());
        QString error;
        source = file(QStringLiteral("exported%1.json").arg(run));
        ASSERT_TRUE(incident.writeScenario(source, &error)) << error.toStdString();
        ASSERT_TRUE(incident.writeCsv(source + QStringLiteral(".csv"), &error));
        ASSERT_TRUE(incident.writePdf(source + QStringLiteral(".pdf"), &error));
        QFile csv(source + QStringLiteral(".csv"));
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        EXPECT_EQ(lines.size(), expected.size() + 2); // the header and the shelving
        // Who acknowledged, the priority, the kind of damage and the reason, as cells of their own.
        const auto line = [&lines](const QString& kind, const QString& tag) {
            const auto found = std::find_if(lines.begin(), lines.end(), [&](const QString& l) {
                return l.contains(QLatin1Char('"') + kind + QLatin1Char('"')) && l.contains(tag);
            });
            return found == lines.end() ? QString() : *found;
        };
        const QString kindOf = IncidentEvent::kindText(Kind::Acknowledged);
        EXPECT_TRUE(line(kindOf, QStringLiteral("D1-SMK-001")).contains(QStringLiteral("\"run%1\"").arg(run)));
        EXPECT_TRUE(line(IncidentEvent::kindText(Kind::AlarmRaised), QStringLiteral("D1-FLD-001"))
                        .endsWith(QStringLiteral(",\"报警\",\"进水\",\"\"")));
        EXPECT_TRUE(line(IncidentEvent::kindText(Kind::Shelved), QStringLiteral("D1-SMK-001"))
                        .endsWith(QStringLiteral(",\"报警\",\"火灾\",\"'=pump test\"")));
    }
}

TEST_F(IncidentTest, HistoryThinsValuesAndKeepsItsRetentionAndRowLimits)
{
    IncidentStore store;
    QString error;
    ASSERT_TRUE(store.open(file(QStringLiteral("limited.sqlite")), &error)) << error.toStdString();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    constexpr qint64 kDay = 24 * 3600 * 1000;
    store.record({now - 3 * kDay, Kind::AlarmRaised, QStringLiteral("OLD"), QString(), QString(), QString()});
    for (int i = 0; i < 8; ++i) {
        store.record({now + i, Kind::AlarmRaised, QStringLiteral("T%1").arg(i), QString(), QString(), QString()});
        store.recordSample(QStringLiteral("T%1").arg(i), now + i, i, i, false);
    }
    // A burst keeps its first and last value, a change to abnormal is written at once.
    for (const auto& [ms, value, abnormal] :
         {std::tuple{5000, 1, false}, {4900, 2, false}, {4800, 3, false}, {4700, 9, true}})
        store.recordSample(QStringLiteral("BURST"), now - ms, value, value, abnormal);
    ASSERT_TRUE(store.flush());
    QList<double> burst;
    for (const IncidentStore::Sample& sample : store.samples(0, now, QStringLiteral("BURST")))
        burst.append(sample.value);
    EXPECT_EQ(burst, (QList<double>{1, 3, 9}));
    store.setLimits({2, 5, 3});
    const QVector<IncidentEvent> kept = store.recent(100);
    ASSERT_EQ(kept.size(), 5);
    EXPECT_EQ(kept.front().subject, QStringLiteral("T3"));
    EXPECT_EQ(store.samples(0, now + 100).size(), 3);
}

TEST_F(IncidentTest, HistoryFailuresNeverStopTheStationAndAreTold)
{
    using State = IncidentStore::State;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const auto garbage = [](const QString& path) {
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(QByteArray(8192, 'x')) == 8192);
    };
    const auto existing = [&](const QString& path) {
        IncidentStore seeded;
        QString error;
        EXPECT_TRUE(seeded.open(path, &error)) << error.toStdString();
        for (int i = 0; i < 2000; ++i)
            seeded.record({now - 1 - i, Kind::AlarmRaised, kSmoke, QString(), QString(), QString()});
    };
    // Another program writing the file: a connection of its own holding a write transaction.
    const auto holdWrites = [](const QString& path) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE")));
    };
    const auto releaseWrites = [] { QSqlDatabase::removeDatabase(QStringLiteral("holder")); };
    IncidentStore otherStation;
    const std::vector<std::tuple<const char*, std::function<void(const QString&)>, State, const char*>> rows{
        {"not a database", garbage, State::Writing, "已损坏"},
        {"truncated", [&](const QString& path) { existing(path); QFile::resize(path, QFileInfo(path).size() / 2); },
         State::Writing, "已损坏"},
        {"held by another station", [&](const QString& path) { otherStation.openOwn(path); }, State::Off, "另一个控制台"},
        {"written by another program", [&](const QString& path) { existing(path); holdWrites(path); }, State::Off,
         "不能写入"},
        {"/dev/null/cannot be created", [](const QString&) {}, State::Off, "无法"},
    };
    for (const auto& [name, prepare, state, problem] : rows) {
        const QString path = name[0] == '/' ? QLatin1String(name) : file(QLatin1String(name));
        prepare(path);
        IncidentStore store;
        QSignalSpy told(&store, &IncidentStore::stateChanged);
        EXPECT_EQ(store.openOwn(path), state == State::Writing) << name;
        EXPECT_EQ(store.state(), state) << name;
        EXPECT_TRUE(store.problem().contains(QString::fromUtf8(problem))) << name << store.problem().toStdString();
        ASSERT_FALSE(told.isEmpty()) << name;
        EXPECT_EQ(told.last().at(1).toString(), store.problem()) << name;
        // A NaN value does not hold up the rest; a time a peer claims from 1966 becomes the time of receipt.
        store.recordSample(kSmoke, now, std::nan(""), 1.0, true);
        store.recordSample(QStringLiteral("D1-LVL-001"), now, 2.0, 2.0, false);
        store.record({-100000000000LL, Kind::ManualDamage, QStringLiteral("KLV.INC.DMG.101"), QString(), QStringLiteral("far"),
                      QStringLiteral("-100000000000|far|1")});
        store.prune(QDateTime::currentMSecsSinceEpoch());
        const int kept = store.between(now, now + 60000).size();
        EXPECT_EQ(kept, state == State::Writing ? 1 : 0) << name;
        EXPECT_EQ(store.samples(now, now).size(), kept) << name;
        EXPECT_EQ(QDir(dir_.path()).entryList({QLatin1String(name) + QStringLiteral(".damaged-*")}).size(), kept) << name;
    }
    releaseWrites();
    EXPECT_TRUE(otherStation.recent(10).isEmpty());

    // A flush refused while running is told, and so is the recovery.
    QSignalSpy changes(&otherStation, &IncidentStore::stateChanged);
    holdWrites(file(QStringLiteral("held by another station")));
    otherStation.record({now, Kind::AlarmRaised, kSmoke, QString(), QString(), QString()});
    EXPECT_FALSE(otherStation.flush());
    EXPECT_EQ(otherStation.state(), State::Failing);
    releaseWrites();
    EXPECT_TRUE(otherStation.flush());
    EXPECT_EQ(otherStation.state(), State::Writing);
    EXPECT_EQ(changes.size(), 2);

    // The station itself comes up on a damaged file; a second one on the same file writes nothing.
    const QString shared = file(QStringLiteral("shared"));
    garbage(shared);
    std::vector<std::unique_ptr<StationProcess>> stations;
    for (const char* console : {"first", "second"}) {
        stations.push_back(std::make_unique<StationProcess>());
        stations.back()->start(QStringLiteral("--port 1 --history %1 --console").arg(shared).split(' ') << console);
        ASSERT_TRUE(stations.back()->waitForOutput(
            [](const StationProcess& s) { return s.out().contains(QStringLiteral("history: ")); }, kWaitMs));
    }
    EXPECT_TRUE(stations[0]->err().contains(QStringLiteral("已损坏"))) << stations[0]->err().toStdString();
    EXPECT_TRUE(stations[1]->err().contains(QStringLiteral("另一个控制台"))) << stations[1]->err().toStdString();
}

TEST_F(IncidentTest, ExportsAreSafeToOpenAndFailLoudly)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QString history = file(QStringLiteral("exported.sqlite"));
    {
        IncidentStore store;
        QString error;
        ASSERT_TRUE(store.open(history, &error)) << error.toStdString();
        // Names and places come from the network: they may look like formulas.
        store.record({now, Kind::ManualDamage, QStringLiteral("@SUM(A1)"), QStringLiteral("+1-4-0"),
                      QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("-1")});
        store.recordSample(QStringLiteral("D1-LVL-001"), now, 1.5, 1.5, false);
        store.recordSample(QStringLiteral("D1-LVL-001"), now + 100, std::numeric_limits<double>::infinity(), 1.0, true);
    }
    const QString range = QStringLiteral("--history %1 --export-from %2 --export-to %3 ").arg(history).arg(now - 1000).arg(now + 1000);
    const auto read = [this](const char* name) {
        QFile in(file(QLatin1String(name)));
        return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
    };
    // Settings files: one that points at a missing history, one with a misspelt key.
    const auto settings = [this](const char* name, const QByteArray& text) {
        QFile out(file(QLatin1String(name)));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(text) == text.size());
        return out.fileName();
    };
    const QString missing = settings("missing.conf", "[history]\nfile=" + file(QStringLiteral("none")).toUtf8() + "\n");
    const QString misspelt = settings("misspelt.conf", "[histroy]\nfile=x\n");
    const QString unknownLanguage = settings("language.conf", "[console]\nlanguage=tlh\n");
    const QString times = QStringLiteral("--export-from %1 --export-to %2 --csv-out x.csv ").arg(now - 1000).arg(now + 1000);
    const std::vector<std::tuple<QString, int, std::function<void()>>> rows{
        {times + QStringLiteral("--settings ") + missing, 6, {}},
        {range + QStringLiteral("--csv-out x.csv --settings ") + missing, 0, {}},
        {times + QStringLiteral("--settings ") + misspelt, 1, {}},
        {range + QStringLiteral("--csv-out x.csv --settings ") + unknownLanguage, 1, {}},
        {range + QStringLiteral("--csv-out ") + file(QStringLiteral("report.csv")), 0, [&] {
             for (const char* cell : {"\"'@SUM(A1)\"", "\"'+1-4-0\"", "\"'=HYPERLINK(\"\"x\"\")\""})
                 EXPECT_TRUE(read("report.csv").contains(QString::fromUtf8(cell))) << cell;
         }},
        {range + QStringLiteral("--pdf-out /dev/full"), 7, {}},
        {range + QStringLiteral("--kpi-out ") + file(QStringLiteral("kpi.json")), 0,
         [&] { EXPECT_TRUE(read("kpi.json").contains(QStringLiteral("\"flood_share\": 0"))) << read("kpi.json").toStdString(); }},
        {range + QStringLiteral("--scenario-out ") + file(QStringLiteral("replay.json")), 0, [&] {
             EXPECT_FALSE(read("replay.json").contains(QStringLiteral("null"))) << read("replay.json").toStdString();
             DataServerProcess replay;
             EXPECT_TRUE(replay.start(file(QStringLiteral("replay.json"))));
         }},
        {range.trimmed(), 1, {}},
        {range + QStringLiteral("--csv-out x.csv --console a\nb"), 1, {}},
        {range + QStringLiteral("--csv-out x.csv --history ") + file(QStringLiteral("none")), 6, {}},
    };
    for (const auto& [arguments, exitCode, check] : rows) {
        StationProcess station;
        station.start(arguments.split(' '));
        ASSERT_TRUE(station.waitForExit(kWaitMs)) << arguments.toStdString();
        EXPECT_EQ(station.exitCode(), exitCode) << arguments.toStdString() << station.err().toStdString();
        if (check)
            check();
    }
}

TEST(StationSettings, RememberingAValueRewritesOnlyItsLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("station.conf"));
    const std::vector<std::pair<QByteArray, QByteArray>> rows{
        {"# bridge\n[console]\nname=bridge\n\n[server]\nport=7300\n",
         "# bridge\n[console]\nname=bridge\nlanguage=en\n\n[server]\nport=7300\n"},
        {"[console]\nlanguage = zh_CN\nname=a,b\n", "[console]\nlanguage=en\nname=a,b\n"},
        {"[server]\nport=7300", "[server]\nport=7300\n\n[console]\nlanguage=en\n"},
    };
    for (const auto& [before, after] : rows) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(before) == before.size());
        file.close();
        QString error;
        ASSERT_TRUE(StationSettings::remember(path, QStringLiteral("console/language"), QStringLiteral("en"), &error));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), after) << before.toStdString();
    }
    // Below a file, where no folder can be made.
    QString error;
    EXPECT_FALSE(StationSettings::remember(path + QStringLiteral("/station.conf"), QStringLiteral("console/language"),
                                           QStringLiteral("en"), &error));
    EXPECT_FALSE(error.isEmpty());
}
