// Units per second reaching the client's callback from the reference data
// server over 127.0.0.1, beside the same number of 8-byte messages through a
// local MQTT broker to a subscriber, the peer a user would pick instead.
//
// The data server is started here; the broker by scripts/bench, which passes
// its port in KELVANE_BENCH_MQTT_PORT.

#include "bench_main.h"
#include "data_server_process.h"
#include "process_cpu.h"
#include "wire_frames.h"

#include "CIOType.h"
#include "Tavimor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <QThread>

#include <mosquitto.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kPoints = 1000;
constexpr int kUnitsPerWriteFrame = 200;
constexpr int kUnitsPerRound = 200000;
// Units in flight: keeps the server's backlog to a subscriber far below the 1 MiB
// at which it drops a client that does not read.
constexpr int kWindow = 16000;
constexpr int kValueBytes = 8;
constexpr quint8 kDoubleType = 128;
constexpr int kStartTimeoutMs = 10000;
constexpr int kPrimeWaitMs = 200;
constexpr int kPrimeAttempts = 50;
constexpr int kMqttKeepAliveS = 60;
constexpr int kMqttWaitMs = 100;
// Waits without a message, once all are sent, before the rest counts as lost.
constexpr int kMqttIdleWaits = 20;
const char* const kLoopback = "127.0.0.1";

long g_received = 0;

void countRecords(stDt* records, int count, int)
{
    benchmark::DoNotOptimize(records);
    g_received += count;
}

QByteArray doubleBytes(double v)
{
    QByteArray out(kValueBytes, '\0');
    std::memcpy(out.data(), &v, sizeof(v));
    return out;
}

/// Write frames of kUnitsPerWriteFrame units each, over all points in turn.
QVector<QByteArray> writeFrames()
{
    QVector<QByteArray> frames;
    long i = 0;
    for (int f = 0; f < kUnitsPerRound / kUnitsPerWriteFrame; ++f) {
        QByteArray units;
        for (int k = 0; k < kUnitsPerWriteFrame; ++k, ++i)
            units.append(benchwire::unit(tavimorio::OpWrite, benchwire::pointName(i % kPoints), kDoubleType,
                                         doubleBytes(double(i))));
        frames.append(benchwire::frame(units, kUnitsPerWriteFrame, quint16(f)));
    }
    return frames;
}

// Runs the event loop for up to `ms` milliseconds or until `done`.
template <typename Done>
void serveFor(int ms, Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
}

// Sends `frames` through `writer` while at most kWindow units are on their way,
// until `target` units have reached the callback.
void pump(QTcpSocket& writer, const QVector<QByteArray>& frames, long target)
{
    long sent = 0;
    int next = 0;
    while (g_received < target) {
        while (next < frames.size() && sent - g_received + kUnitsPerWriteFrame <= kWindow) {
            writer.write(frames.at(next++));
            sent += kUnitsPerWriteFrame;
        }
        writer.flush();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void BM_ClientFromDataServer(benchmark::State& state)
{
    benchserver::DataServer server;
    Tavimor client;
    QTcpSocket writer;
    if (server.port() == 0 || client.InitSvr(kLoopback, server.port()) != 1) {
        state.SkipWithError("data server did not start");
        return;
    }
    writer.connectToHost(QHostAddress(kLoopback), server.port());
    writer.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (!writer.waitForConnected(kStartTimeoutMs)) {
        state.SkipWithError("writer did not connect");
        return;
    }
    for (int i = 0; i < kPoints; ++i)
        client.BookDt(QString::fromLatin1(benchwire::pointName(i)), 0, i + 1 == kPoints ? 1 : 0, countRecords);
    const QVector<QByteArray> frames = writeFrames();
    // Writes that reach the server before the bookings are not forwarded: write
    // every point until each booking has been answered, then time whole rounds.
    const QVector<QByteArray> firstValues = frames.mid(0, kPoints / kUnitsPerWriteFrame);
    const auto answered = [&client] { return client.unansweredNames().isEmpty(); };
    for (int attempt = 0; attempt < kPrimeAttempts && !answered(); ++attempt) {
        for (const QByteArray& frame : firstValues)
            writer.write(frame);
        writer.flush();
        serveFor(kPrimeWaitMs, answered);
    }
    if (!answered()) {
        state.SkipWithError("bookings not answered");
        return;
    }
    // Let the updates of the extra priming rounds arrive before counting.
    serveFor(kPrimeWaitMs, [] { return false; });

    double clientCpu = 0;
    double serverCpu = 0;
    for (auto _ : state) {
        const double client0 = benchcpu::cpuSeconds();
        const double server0 = benchcpu::cpuSeconds(server.pid());
        g_received = 0;
        pump(writer, frames, kUnitsPerRound);
        clientCpu += benchcpu::cpuSeconds() - client0;
        serverCpu += benchcpu::cpuSeconds(server.pid()) - server0;
    }
    const double units = double(kUnitsPerRound) * double(state.iterations());
    state.counters["units/s"] = benchmark::Counter(units, benchmark::Counter::kIsRate);
    state.counters["client_cpu_ns/unit"] = clientCpu * 1e9 / units;
    state.counters["server_cpu_ns/unit"] = serverCpu * 1e9 / units;
}

long g_mqttReceived = 0;
bool g_mqttSubscribed = false;

void onMessage(mosquitto*, void*, const mosquitto_message* message)
{
    benchmark::DoNotOptimize(message->payload);
    ++g_mqttReceived;
}

void onSubscribe(mosquitto*, void*, int, int, const int*)
{
    g_mqttSubscribed = true;
}

class MqttClient
{
public:
    explicit MqttClient(int port)
        : mosq_(mosquitto_new(nullptr, true, nullptr))
    {
        connected_ = mosq_ && mosquitto_connect(mosq_, kLoopback, port, kMqttKeepAliveS) == MOSQ_ERR_SUCCESS;
    }
    ~MqttClient()
    {
        if (mosq_) {
            mosquitto_disconnect(mosq_);
            mosquitto_destroy(mosq_);
        }
    }
    bool connected() const { return connected_; }
    mosquitto* get() const { return mosq_; }
    void loop(int timeoutMs) { mosquitto_loop(mosq_, timeoutMs, 1); }

private:
    mosquitto* mosq_;
    bool connected_ = false;
};

void BM_MqttPeer(benchmark::State& state)
{
    const char* portText = std::getenv("KELVANE_BENCH_MQTT_PORT");
    if (!portText) {
        state.SkipWithError("no broker: set KELVANE_BENCH_MQTT_PORT (scripts/bench does)");
        return;
    }
    mosquitto_lib_init();
    {
        MqttClient publisher(std::atoi(portText));
        MqttClient subscriber(std::atoi(portText));
        if (!publisher.connected() || !subscriber.connected()) {
            state.SkipWithError("broker not reachable");
            return;
        }
        mosquitto_message_callback_set(subscriber.get(), onMessage);
        mosquitto_subscribe_callback_set(subscriber.get(), onSubscribe);
        mosquitto_subscribe(subscriber.get(), nullptr, "ship/#", 0);
        while (!g_mqttSubscribed)
            subscriber.loop(kMqttWaitMs);

        QVector<QByteArray> topics;
        for (int i = 0; i < kPoints; ++i)
            topics.append("ship/" + benchwire::pointName(i));
        // QoS 0 may drop messages under load: a round ends at its last
        // delivery or after kMqttIdleWaits without one, and the rate is of the
        // messages delivered, with the share lost beside it.
        double cpu = 0;
        double seconds = 0;
        long delivered = 0;
        for (auto _ : state) {
            const double cpu0 = benchcpu::cpuSeconds();
            QElapsedTimer round;
            round.start();
            qint64 lastDeliveryNs = 0;
            g_mqttReceived = 0;
            long sent = 0;
            int idleWaits = 0;
            while (g_mqttReceived < kUnitsPerRound && idleWaits <= kMqttIdleWaits) {
                while (sent < kUnitsPerRound && sent - g_mqttReceived < kWindow) {
                    const QByteArray value = doubleBytes(double(sent));
                    mosquitto_publish(publisher.get(), nullptr, topics.at(int(sent % kPoints)).constData(),
                                      kValueBytes, value.constData(), 0, false);
                    ++sent;
                }
                publisher.loop(0);
                const long before = g_mqttReceived;
                subscriber.loop(kMqttWaitMs);
                if (g_mqttReceived != before)
                    lastDeliveryNs = round.nsecsElapsed();
                else if (sent == kUnitsPerRound)
                    ++idleWaits;
            }
            cpu += benchcpu::cpuSeconds() - cpu0;
            seconds += double(lastDeliveryNs) / 1e9;
            delivered += g_mqttReceived;
        }
        const double offered = double(kUnitsPerRound) * double(state.iterations());
        state.counters["units/s"] = seconds > 0 ? double(delivered) / seconds : 0.0;
        state.counters["lost_share"] = 1.0 - double(delivered) / offered;
        state.counters["client_cpu_ns/unit"] = delivered > 0 ? cpu * 1e9 / double(delivered) : 0.0;
    }
    mosquitto_lib_cleanup();
}

} // namespace

BENCHMARK(BM_ClientFromDataServer)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_MqttPeer)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    return benchmain::run<QCoreApplication>(argc, argv);
}
