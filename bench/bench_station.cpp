// The station during an alarm flood, in this process as kelvane-station runs
// it (window, history, shared incident state) against the reference data
// server on 127.0.0.1: 1,000 alarms written to the server at once while the
// station is live, and a link that comes back to 1,000 alarms raised while it
// was down. The ship is the sample ship with every sensor four times over
// (1,316 state items); the window is 1920x1080 on the offscreen platform.
//
// Reported: the process's CPU from the burst until the alarm list has painted
// all 1,000 rows and two seconds after; the same above what the station costs
// anyway (before the alarms' arrival the idle share measured before the burst,
// from their arrival on the steady share of the blinking that follows); the CPU
// from the arrival until the rows were painted, nothing taken off; and, from
// the alarms' arrival (for the link, from its return) to the end, the longest
// pause between two paints of the window and the longest pause of the event
// loop.

#include "bench_main.h"
#include "data_server_process.h"
#include "process_cpu.h"

#include "alarm_list.h"
#include "alarm_settings.h"
#include "data_link.h"
#include "tavimor_record.h"
#include "ship.h"
#include "ship_loader.h"
#include "station_config.h"
#include "station_options.h"
#include "station_security.h"
#include "station_session.h"

#include "Tavimor.h"
#include "entity/deck.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <memory>

namespace {

const QString kShipDir = QStringLiteral(KELVANE_SHIP_DIR);
constexpr int kAlarms = 1000;
constexpr int kCopies = 3;        // copies of each sample sensor beside the original
constexpr int kCopyIdStride = 10000;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kStartMs = 3000;
constexpr int kAfterShownMs = 2000;
constexpr int kIdleMs = 1000;
constexpr int kGiveUpMs = 240000;
constexpr int kHeartbeatMs = 5;
constexpr qint32 kAlarm = 1;
constexpr qint32 kNormal = 0;

void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

/// The sample ship with kCopies more of each sensor (at the same place, as the
/// ship reader wants each sensor inside its compartment), written into
/// `folder`; returns the ship file.
QString writeFloodShip(const QString& folder)
{
    QFile in(kShipDir + QStringLiteral("/ship.json"));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QJsonObject ship = QJsonDocument::fromJson(in.readAll()).object();
    const QJsonArray originals = ship.value(QStringLiteral("sensors")).toArray();
    QJsonArray sensors = originals;
    for (int copy = 1; copy <= kCopies; ++copy) {
        const QString suffix = QStringLiteral("-C%1").arg(copy);
        for (const QJsonValue& value : originals) {
            QJsonObject sensor = value.toObject();
            sensor[QStringLiteral("id")] = sensor.value(QStringLiteral("id")).toInt() + copy * kCopyIdStride;
            sensor[QStringLiteral("code")] = sensor.value(QStringLiteral("code")).toString() + suffix;
            QJsonArray items;
            for (const QJsonValue& itemValue : sensor.value(QStringLiteral("items")).toArray()) {
                QJsonObject item = itemValue.toObject();
                const QString tag = item.value(QStringLiteral("tag")).toString();
                item[QStringLiteral("tag")] = tag + suffix;
                QString confirm = item.value(QStringLiteral("confirm_tag")).toString();
                if (confirm.startsWith(tag))
                    item[QStringLiteral("confirm_tag")] = tag + suffix + confirm.mid(tag.size());
                items.append(item);
            }
            sensor[QStringLiteral("items")] = items;
            sensors.append(sensor);
        }
    }
    ship[QStringLiteral("sensors")] = sensors;
    QDir(folder).mkpath(QStringLiteral("decks"));
    for (const QString& drawing : QDir(kShipDir + QStringLiteral("/decks")).entryList(QDir::Files))
        QFile::copy(kShipDir + QStringLiteral("/decks/") + drawing, folder + QStringLiteral("/decks/") + drawing);
    const QString path = folder + QStringLiteral("/ship.json");
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(ship).toJson()) < 0)
        return {};
    return path;
}

/// Paints of the window and turns of the event loop, while watching.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget& window)
        : window_(window)
    {
        heartbeat_.setInterval(kHeartbeatMs);
        connect(&heartbeat_, &QTimer::timeout, this, [this] {
            longestStall_ = std::max(longestStall_, clock_.elapsed() - lastBeat_);
            lastBeat_ = clock_.elapsed();
        });
    }

    void start()
    {
        clock_.start();
        lastBeat_ = lastPaint_ = 0;
        longestStall_ = longestPaintGap_ = 0;
        qApp->installEventFilter(this);
        heartbeat_.start();
    }
    /// Pauses count from now on; the CPU and the clock keep running.
    void restartPauses()
    {
        lastBeat_ = lastPaint_ = clock_.elapsed();
        longestStall_ = longestPaintGap_ = 0;
    }
    void stop()
    {
        heartbeat_.stop();
        qApp->removeEventFilter(this);
    }
    qint64 elapsed() const { return clock_.elapsed(); }
    qint64 lastPaint() const { return lastPaint_; }
    qint64 longestPaintGap() const { return longestPaintGap_; }
    /// Beyond the heartbeat's own period.
    qint64 longestStall() const { return std::max<qint64>(0, longestStall_ - kHeartbeatMs); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->window() == &window_) {
            longestPaintGap_ = std::max(longestPaintGap_, clock_.elapsed() - lastPaint_);
            lastPaint_ = clock_.elapsed();
        }
        return false;
    }

private:
    QWidget& window_;
    QTimer heartbeat_;
    QElapsedTimer clock_;
    qint64 lastBeat_ = 0;
    qint64 lastPaint_ = 0;
    qint64 longestStall_ = 0;
    qint64 longestPaintGap_ = 0;
};

/// kelvane-station on the flood ship against a data server of its own.
class FloodStation
{
public:
    FloodStation()
        : server_(std::make_unique<benchserver::DataServer>())
    {
        QString error;
        const QString shipFile = writeFloodShip(folder_.path());
        if (server_->port() == 0 || shipFile.isEmpty()) {
            problem_ = "no data server or no ship file";
            return;
        }
        if (!stationconfig::load(kShipDir + QStringLiteral("/config"), &error)
            || !stationconfig::loadAlarmSettings(kShipDir + QStringLiteral("/config"), &settings_, &error)) {
            problem_ = error.toStdString();
            return;
        }
        ShipLoader loader;
        ship_ = loader.load(shipFile);
        if (!ship_) {
            problem_ = loader.error().toStdString();
            return;
        }
        for (harq::Deck* deck : ship_->decks())
            for (harq::Sensor* sensor : deck->sensors())
                for (int i = 0; i < sensor->itemCount(); ++i)
                    if (!sensor->itemAt(i)->isValueItem() && alarmTags_.size() < kAlarms)
                        alarmTags_.append(sensor->itemAt(i)->tag());
        options_.port = server_->port();
        options_.mute = true;
        options_.incident.console = QStringLiteral("bench");
        options_.incident.historyFile = folder_.filePath(QStringLiteral("history.sqlite"));
        link_ = std::make_unique<DataLink>(options_.address, options_.port, ship_->valueRoute(), ship_->dataPointNames());
        // No keys or accounts: the bench runs an unauthenticated console.
        if (!security_.load(options_, &error)) {
            problem_ = error.toStdString();
            return;
        }
        session_ = std::make_unique<StationSession>(*ship_, *link_, settings_, options_, security_);
        QTextStream out(&log_);
        session_->start(out);
        session_->window().resize(kWidth, kHeight);
        // A live ship: every point the burst raises has a normal value first.
        if (!writeAll(kNormal)) {
            problem_ = "the normal values could not be written";
            return;
        }
        // Under a profiler the link takes far longer to come up than its usual start.
        for (int waited = 0; !link_->isConnected() && waited < kGiveUpMs; waited += kStartMs)
            runEventLoop(kStartMs);
        runEventLoop(kStartMs);
        if (!link_->isConnected() || alarmTags_.size() != kAlarms)
            problem_ = "not connected, or too few state items";
    }

    /// Why the station did not come up; empty when it did.
    const std::string& problem() const { return problem_; }
    DataLink& link() { return *link_; }
    StationWindow& window() { return session_->window(); }
    const QAbstractItemModel* listModel() const { return session_->window().findChild<AlarmList*>()->view()->model(); }
    int listed() const { return listModel()->rowCount(); }

    /// Writes every alarm to the server through a connection of its own, all
    /// at once; the connection stays open so the event loop sends them.
    bool raiseAll() { return writeAll(kAlarm); }

    /// Replaces the data server by a fresh one on the same port.
    bool restartServer()
    {
        server_.reset();
        server_ = std::make_unique<benchserver::DataServer>(options_.port);
        return server_->port() == options_.port;
    }

private:
    bool writeAll(qint32 value)
    {
        writer_ = std::make_unique<Tavimor>();
        if (writer_->InitSvr(options_.address, options_.port) != 1)
            return false;
        for (const QString& tag : qAsConst(alarmTags_))
            if (writer_->WriteDt(tag, tavimor::intRecord(value)) <= 0)
                return false;
        return true;
    }

    QTemporaryDir folder_;
    std::unique_ptr<benchserver::DataServer> server_;
    std::unique_ptr<Tavimor> writer_;
    AlarmSettings settings_;
    std::unique_ptr<Ship> ship_;
    StationOptions options_;
    std::unique_ptr<DataLink> link_;
    StationSecurity security_;
    std::unique_ptr<StationSession> session_;
    QStringList alarmTags_;
    QString log_;
    std::string problem_;
};

/// Watches from now until the list has painted all alarms and kAfterShownMs
/// after; `burst` raises them. Not inlined, so a profiler can collect inside
/// it alone (valgrind --toggle-collect='*measureFlood*').
template <typename Burst>
[[gnu::noinline]] void measureFlood(benchmark::State& state, FloodStation& station, Burst burst)
{
    PaintWatch watch(station.window());
    for (auto _ : state) {
        // What the live station costs with nothing in alarm, as it is until the alarms arrive.
        const double idle0 = benchcpu::cpuSeconds();
        runEventLoop(kIdleMs);
        const double idleShare = (benchcpu::cpuSeconds() - idle0) / (kIdleMs / 1e3);
        watch.start();
        const double cpu0 = benchcpu::cpuSeconds();
        if (!burst()) {
            state.SkipWithError("the alarms could not be raised");
            return;
        }
        // Pauses count from the alarms' arrival: while a link is down nothing
        // changes on screen, and an idle window is not a frozen one.
        watch.restartPauses();
        const double arrivedAt = double(watch.elapsed()) / 1e3;
        const double cpuAtArrival = benchcpu::cpuSeconds();
        double cpuAtShown = 0.0;
        qint64 listedAt = -1;
        qint64 shownAt = -1;
        // An event loop that sleeps while nothing is due: the watching must not
        // spin (processEvents() with a time limit polls without waiting) and
        // bill the station for its own turns.
        const QAbstractItemModel* list = station.listModel();
        const QMetaObject::Connection listing
            = QObject::connect(list, &QAbstractItemModel::rowsInserted, [&] {
                  if (listedAt < 0 && list->rowCount() >= kAlarms)
                      listedAt = watch.elapsed();
              });
        QEventLoop loop;
        QTimer check;
        check.setInterval(kHeartbeatMs);
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (listedAt >= 0 && shownAt < 0 && watch.lastPaint() >= listedAt) {
                shownAt = watch.lastPaint();
                cpuAtShown = benchcpu::cpuSeconds();
            }
            if (watch.elapsed() >= kGiveUpMs || (shownAt >= 0 && watch.elapsed() >= shownAt + kAfterShownMs))
                loop.quit();
        });
        check.start();
        if (listedAt < 0 && list->rowCount() >= kAlarms)
            listedAt = watch.elapsed();
        loop.exec();
        QObject::disconnect(listing);
        const double cpuEnd = benchcpu::cpuSeconds();
        const double seconds = double(watch.elapsed()) / 1e3;
        watch.stop();
        if (shownAt < 0) {
            const std::string why = "only " + std::to_string(station.listed()) + " alarms listed after "
                + std::to_string(kGiveUpMs / 1000) + " s";
            state.SkipWithError(why.c_str());
            return;
        }
        // The blinking that follows, at its steady rate.
        const double steady0 = benchcpu::cpuSeconds();
        runEventLoop(kAfterShownMs);
        const double steadyShare = (benchcpu::cpuSeconds() - steady0) / (kAfterShownMs / 1e3);
        // The blinking ramps up as the alarms come, so taking its steady share
        // off from their arrival on takes off rather more than it cost then.
        const double beforeArrival = (cpuAtArrival - cpu0) - idleShare * arrivedAt;
        const double fromArrival = (cpuEnd - cpuAtArrival) - steadyShare * (seconds - arrivedAt);
        state.counters["listed_after_ms"] = double(shownAt) - arrivedAt * 1e3;
        state.counters["cpu_s"] = cpuEnd - cpu0;
        state.counters["cpu_s_above_steady"] = beforeArrival + fromArrival;
        state.counters["cpu_s_until_shown"] = cpuAtShown - cpuAtArrival;
        state.counters["idle_cpu_share"] = idleShare;
        state.counters["steady_cpu_share"] = steadyShare;
        state.counters["longest_paint_gap_ms"] = double(watch.longestPaintGap());
        state.counters["longest_stall_ms"] = double(watch.longestStall());
    }
}

void BM_StationAlarmBurst(benchmark::State& state)
{
    FloodStation station;
    if (!station.problem().empty()) {
        state.SkipWithError(station.problem().c_str());
        return;
    }
    measureFlood(state, station, [&station] { return station.raiseAll(); });
}

void BM_StationLinkReturnsToStandingAlarms(benchmark::State& state)
{
    FloodStation station;
    if (!station.problem().empty()) {
        state.SkipWithError(station.problem().c_str());
        return;
    }
    // The alarms rise while the station has lost the server; it finds them standing when its link returns.
    measureFlood(state, station, [&station] {
        if (!station.restartServer() || !station.raiseAll())
            return false;
        QEventLoop loop;
        QObject::connect(&station.link(), &DataLink::connectionChanged, &loop, [&loop](bool up) {
            if (up)
                loop.quit();
        });
        QTimer::singleShot(kGiveUpMs, &loop, &QEventLoop::quit);
        loop.exec();
        return station.link().isConnected();
    });
}

} // namespace

BENCHMARK(BM_StationAlarmBurst)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StationLinkReturnsToStandingAlarms)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return benchmain::run<QApplication>(argc, argv);
}
