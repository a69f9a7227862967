// The client's frame parser on realistic and hostile input, fed in the 8 KiB
// reads of its receive buffer, beside memcpy of the same bytes.

#include "bench_main.h"
#include "wire_frames.h"

#include "CIOType.h"
#include "tavimor_reader.h"

#include <QCoreApplication>

#include <cstring>
#include <vector>

namespace {

constexpr int kChunk = 8192;
constexpr int kRealisticBytes = 1 << 20;
constexpr int kMaxUnitsPerFrame = 255;
// Heads announcing long frames (the largest the old 8 KiB receive buffer held),
// packed so that each one's first unit lands on the next head: each must be
// judged false from its first unit, without waiting for its length.
constexpr quint16 kLargestHeldData = quint16(kChunk - tavimorio::kFrameOverhead);

long g_records = 0;

void countRecords(stDt* records, int count, int)
{
    benchmark::DoNotOptimize(records);
    g_records += count;
}

void feedAll(TavimorReader& reader, const QByteArray& stream)
{
    reader.feed(stream.constData(), stream.size());
}

void setRates(benchmark::State& state, const QByteArray& stream, long units)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * stream.size());
    state.counters["units/s"] = benchmark::Counter(double(units) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}

QByteArray realistic(int unitsPerFrame, long* units)
{
    return benchwire::realisticStream(kRealisticBytes, unitsPerFrame, units);
}

QByteArray allHeadBytes(int bytes)
{
    return QByteArray(bytes, char(0xFA));
}

QByteArray largestHeads(int bytes)
{
    stIoHd hd{};
    hd.stId.dwID = tavimorio::kHeadId;
    hd.wLn = kLargestHeldData;
    hd.cSm = kMaxUnitsPerFrame;
    const QByteArray head(reinterpret_cast<const char*>(&hd), sizeof(hd));
    QByteArray out;
    while (out.size() < bytes)
        out.append(head);
    return out;
}

// Reference: the same bytes copied in the same chunks into a receive-sized buffer.
void copyAll(const QByteArray& stream, char* into)
{
    for (int pos = 0; pos < stream.size(); pos += kChunk) {
        const int n = std::min(kChunk, int(stream.size()) - pos);
        std::memcpy(into, stream.constData() + pos, size_t(n));
        benchmark::ClobberMemory();
    }
}

void BM_MemcpyRealistic(benchmark::State& state)
{
    long units = 0;
    const QByteArray stream = realistic(int(state.range(0)), &units);
    std::vector<char> into(kChunk);
    for (auto _ : state)
        copyAll(stream, into.data());
    setRates(state, stream, units);
}

void BM_ParseRealistic(benchmark::State& state)
{
    long units = 0;
    const QByteArray stream = realistic(int(state.range(0)), &units);
    TavimorReader client;
    client.setRecordHandler([](stDt* records, int count) { countRecords(records, count, 1); });
    g_records = 0;
    for (auto _ : state)
        feedAll(client, stream);
    if (g_records != units * long(state.iterations()))
        state.SkipWithError("not every unit reached the callback");
    setRates(state, stream, units);
}

void BM_MemcpyHostile(benchmark::State& state)
{
    const QByteArray stream = allHeadBytes(int(state.range(0)));
    std::vector<char> into(kChunk);
    for (auto _ : state)
        copyAll(stream, into.data());
    state.SetBytesProcessed(int64_t(state.iterations()) * stream.size());
}

void parseHostile(benchmark::State& state, const QByteArray& stream)
{
    TavimorReader client;
    client.setRecordHandler([](stDt* records, int count) { countRecords(records, count, 1); });
    g_records = 0;
    for (auto _ : state)
        feedAll(client, stream);
    if (g_records != 0)
        state.SkipWithError("hostile bytes produced records");
    state.SetBytesProcessed(int64_t(state.iterations()) * stream.size());
}

void BM_ParseAllHeadBytes(benchmark::State& state)
{
    parseHostile(state, allHeadBytes(int(state.range(0))));
}

void BM_ParseLargestHeads(benchmark::State& state)
{
    parseHostile(state, largestHeads(int(state.range(0))));
}

} // namespace

// One unit per frame is what the reference server sends; 16 a batching server.
BENCHMARK(BM_MemcpyRealistic)->Arg(1)->Arg(16);
BENCHMARK(BM_ParseRealistic)->Arg(1)->Arg(16);
// Linear means the same MB/s at 16 times the size.
BENCHMARK(BM_MemcpyHostile)->Arg(1 << 18)->Arg(1 << 22);
BENCHMARK(BM_ParseAllHeadBytes)->Arg(1 << 18)->Arg(1 << 22);
BENCHMARK(BM_ParseLargestHeads)->Arg(1 << 18)->Arg(1 << 22);

int main(int argc, char** argv)
{
    return benchmain::run<QCoreApplication>(argc, argv);
}
