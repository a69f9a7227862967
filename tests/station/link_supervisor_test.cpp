// The station's one link against servers that connect without serving: full,
// closing, hung, or refusing a shared write. Real processes and TCP on 127.0.0.1.

#include "incident_sharing.h"
#include "link_supervisor.h"
#include "record_pacer.h"
#include "tavimor_record.h"
#include "station_process.h"

#include "Tavimor.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QMetaObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <functional>
#include <memory>

namespace {

const QString kHost = QStringLiteral("127.0.0.1");
// The one point of the scenario: what the link books and the probe reads.
const QString kPoint = QStringLiteral("P");
const QString kFill = QStringLiteral("FILL");
const QString kShared = QStringLiteral("KLV.INC.DMG.1");
constexpr int kWaitMs = LinkSupervisor::kDeadlineMs + RetryPolicy::kLongestMs + 5000;

/// What the link and the sharing on it reported, as words in order.
class LinkRecord
{
public:
    LinkRecord(LinkSupervisor& link, IncidentSharing& sharing)
    {
        QObject::connect(&link, &LinkSupervisor::stateChanged, [this](LinkSupervisor::State state, int ms) {
            if (state == LinkSupervisor::State::AwaitingAnswer)
                words_.append(QStringLiteral("connected"));
            else if (state == LinkSupervisor::State::Live)
                words_.append(QStringLiteral("live"));
            else if (state == LinkSupervisor::State::WaitingToRetry)
                // The pause in whole seconds: a coarse timer may report a little more than it was given.
                words_.append(QStringLiteral("retry%1s").arg((ms + 500) / 1000));
        });
        QObject::connect(&sharing, &IncidentSharing::publicationChanged,
                         [this](int, int refused, int) { words_.append(QStringLiteral("refused%1").arg(refused)); });
    }

    /// Waits until \a expected appeared in order since the last call; false if
    /// it did not, or if "live" came although not expected.
    bool waitFor(const QStringList& expected)
    {
        const auto found = [&] {
            int next = 0;
            for (int i = from_; i < words_.size() && next < expected.size(); ++i)
                next += matches(words_.at(i), expected.at(next)) ? 1 : 0;
            return next == expected.size();
        };
        const bool ok = QTest::qWaitFor(found, kWaitMs)
            && (expected.contains(QStringLiteral("live")) || !words_.mid(from_).contains(QStringLiteral("live")));
        from_ = words_.size();
        return ok;
    }

    QString text() const { return words_.join(QLatin1Char(' ')); }

private:
    // "retry" stands for a retry after any pause, where the row does not test the back-off.
    static bool matches(const QString& word, const QString& expected)
    {
        return word == expected || (expected == QLatin1String("retry") && word.startsWith(expected));
    }

    QStringList words_;
    int from_ = 0;
};

/// What the link connects to, and what the steps of a case act on.
struct Scene {
    QTemporaryDir dir;
    DataServerProcess server;
    QTcpServer bare;
    // A client that takes the server's one place, or its one created point.
    std::unique_ptr<Tavimor> filler;
    std::unique_ptr<IncidentSharing> sharing;

    quint16 startServer(const QStringList& limits)
    {
        QFile scenario(dir.filePath(QStringLiteral("scenario.json")));
        const QByteArray json = R"({"points": [{"name": "P", "type": "int", "value": 1}], "events": []})";
        if (!scenario.open(QIODevice::WriteOnly) || scenario.write(json) != json.size())
            return 0;
        scenario.close();
        return server.start(scenario.fileName(), 0, limits) ? server.port() : 0;
    }
    bool fill(quint16 port)
    {
        filler = std::make_unique<Tavimor>();
        filler->setRecordHandler(filler.get(), [](stDt*, int) {});
        return filler->InitSvr(kHost, port) == 1 && filler->BookDt(kFill, 0, 1, nullptr) == 0
            && filler->WriteDt(kFill, tavimor::intRecord(1)) > 0;
    }
};

struct Step {
    std::function<void(Scene&)> act;
    QStringList expected;
};

struct Case {
    const char* name;
    std::function<quint16(Scene&)> serve;
    std::vector<Step> steps;
};

const auto nothing = [](Scene&) {};
const auto signalServer = [](int signal) { return [signal](Scene& s) { ::kill(pid_t(s.server.pid()), signal); }; };

} // namespace

TEST(LinkSupervisorTest, LiveOnlyWhileTheServerAnswers)
{
    const std::vector<Case> cases{
        {"connection left waiting, as in a full server's backlog",
         [](Scene& s) { return s.bare.listen(QHostAddress::LocalHost) ? s.bare.serverPort() : 0; },
         {{nothing, {"connected", "retry1s", "connected", "retry2s"}}}},
        {"connection closed at once, as by a full server",
         [](Scene& s) {
             QObject::connect(&s.bare, &QTcpServer::newConnection, [&s] { s.bare.nextPendingConnection()->abort(); });
             return s.bare.listen(QHostAddress::LocalHost) ? s.bare.serverPort() : 0;
         },
         {{nothing, {"retry1s", "retry2s", "retry4s"}}}},
        {"data server at its client cap, then a place frees",
         [](Scene& s) {
             const quint16 port = s.startServer({QStringLiteral("--max-clients"), QStringLiteral("1")});
             return port && s.fill(port) ? port : 0;
         },
         {{nothing, {"connected"}},
          {[](Scene&) { QTest::qWait(LinkSupervisor::kDeadlineMs / 2); }, {}},
          {[](Scene& s) { s.filler.reset(); }, {"live"}}}},
        {"data server stopped and continued",
         [](Scene& s) { return s.startServer({}); },
         {{nothing, {"live"}}, {signalServer(SIGSTOP), {"retry"}}, {signalServer(SIGCONT), {"live"}}}},
        {"shared write refused while the pool is full, then retried",
         [](Scene& s) {
             const quint16 port = s.startServer({QStringLiteral("--max-created-points"), QStringLiteral("1")});
             return port && s.fill(port) ? port : 0;
         },
         {{nothing, {"live"}},
          {[](Scene& s) { s.sharing->publish(kShared, QStringLiteral("1")); }, {"refused0", "refused1"}},
          {[](Scene& s) { s.filler->CancelDt(kFill); }, {"refused0"}}}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        Scene scene;
        const quint16 port = row.serve(scene);
        ASSERT_NE(port, 0);
        LinkSupervisor link(kHost, port);
        link.book({kPoint});
        scene.sharing = std::make_unique<IncidentSharing>(link, QStringLiteral("test"), QStringList{kShared});
        int taken = 0;
        QObject::connect(scene.sharing.get(), &IncidentSharing::received, [&taken] { ++taken; });
        LinkRecord record(link, *scene.sharing);
        link.start();
        for (const Step& step : row.steps) {
            step.act(scene);
            ASSERT_TRUE(record.waitFor(step.expected)) << record.text().toStdString();
        }
        EXPECT_EQ(scene.sharing->unpublished(), 0);
        // A write is published when the server sends it back, and only then.
        EXPECT_EQ(taken > 0, row.steps.back().expected.contains(QStringLiteral("refused0")));
        scene.server.stop();
    }
}

TEST(LinkSupervisorTest, ABurstIsHandedOnInOrderAndLetsTheEventLoopIn)
{
    QStringList heard;
    const auto frame = [](std::initializer_list<const char*> names) {
        std::vector<stDt> records;
        for (const char* name : names) {
            records.push_back(tavimor::intRecord(1));
            qstrncpy(records.back().szNm, name, sizeof records.back().szNm);
        }
        return records;
    };
    // No budget: every frame waits for a turn of its own.
    RecordPacer pacer(
        [&heard](const stDt* records, int count) {
            QStringList names;
            for (int i = 0; i < count; ++i)
                names.append(QString::fromLatin1(records[i].szNm));
            heard.append(names.join(QLatin1Char('+')));
        },
        0);
    for (const auto& records : {frame({"A", "B"}), frame({"C"}), frame({"D"})})
        pacer.take(records.data(), int(records.size()));
    QMetaObject::invokeMethod(&pacer, [&heard] { heard.append(QStringLiteral("posted")); }, Qt::QueuedConnection);
    EXPECT_TRUE(heard.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return pacer.waiting() == 0; }, kWaitMs));
    // An event posted behind the burst ran before its end.
    EXPECT_LT(heard.indexOf(QStringLiteral("posted")), heard.indexOf(QStringLiteral("D"))) << heard.join(' ').toStdString();
    heard.removeAll(QStringLiteral("posted"));
    EXPECT_EQ(heard, QStringList({"A+B", "C", "D"}));

    // Flushed (as before a change of the link's state): heard at once, in order.
    heard.clear();
    for (const auto& records : {frame({"E"}), frame({"F"})})
        pacer.take(records.data(), int(records.size()));
    pacer.flush();
    EXPECT_EQ(heard, QStringList({"E", "F"}));
}
