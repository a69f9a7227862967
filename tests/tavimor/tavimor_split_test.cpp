// Split invariance: for streams of well-formed frames, every way TCP may cut
// them into reads yields the records one read of the whole stream yields, and
// those are the records an independent decoder finds; garbage around frames
// costs no frame and adds no record.

#include "split_harness.h"
#include "tavimor_fixture.h"
#include "wire_stream.h"

#include <QLoggingCategory>

#include <random>

namespace {

// Under AddressSanitizer every stream costs about forty times as much; a tenth of
// them keeps the sanitizer run within its time limit.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kStreams = 10000;
#else
constexpr int kStreams = 100000;
#endif

struct Seeded {
    std::mt19937 rng;
    unsigned pick(unsigned n) { return n == 0 ? 0 : unsigned(rng() % n); }
};

class SplitTest : public ::testing::Test, protected SplitHarness
{
protected:
    SplitTest()
    {
        // A debug line per read would print millions of lines.
        QLoggingCategory::setFilterRules(QStringLiteral("kelvane.tavimor.wire.debug=false"));
    }
    ~SplitTest() override { QLoggingCategory::setFilterRules(QString()); }
};

TEST_F(SplitTest, EveryCutYieldsTheRecordsTheDecoderFinds)
{
    Seeded choices{std::mt19937(20261208)};
    wirestream::Generator<Seeded> generator(choices);
    for (int n = 0; n < kStreams; ++n) {
        std::vector<stDt> want;
        const QByteArray whole = wirestream::assemble(generator, &want);
        const int most = std::initializer_list<int>{1, 16, 700, int(whole.size())}.begin()[choices.pick(4)];
        const std::vector<QByteArray> cuts = wirestream::cut(whole, choices, unsigned(most));
        ASSERT_TRUE(wirestream::sameRecords(deliver({whole}), want)) << "stream " << n << " whole";
        ASSERT_TRUE(wirestream::sameRecords(deliver(cuts), want)) << "stream " << n << " cut";
    }
}

QByteArray update(const QByteArray& name, const QByteArray& text)
{
    QByteArray unit = char(name.size()) + name + hex("00 01") + char(text.size()) + hex("40 00000000") + text;
    return hex("FAFAFAFA 0000 02 0000") + char(unit.size() & 0xFF) + char(unit.size() >> 8) + hex("01") + unit
        + hex("EEEE");
}

// A frame of `count` units of text, about `size` bytes long.
QByteArray large(const QByteArray& name, int size)
{
    QByteArray units;
    int count = 0;
    for (; units.size() + 255 + 9 + 200 < size - 14; ++count)
        units += char(255) + QByteArray(255, name.at(0)) + hex("00 01 C8 40 00000000") + QByteArray(200, 't');
    units += char(name.size()) + name + hex("00 01 00 40 00000000");
    return hex("FAFAFAFA 0000 02 0000") + char(units.size() & 0xFF) + char(units.size() >> 8) + char(count + 1)
        + units + hex("EEEE");
}

TEST_F(SplitTest, RegressionsDeliverExactlyWhatWasSent)
{
    const QByteArray a = update("A", "a");
    const QByteArray c = update("C", "c");
    const QByteArray carrier = update("OUT", "xx" + update("FORGED", "1") + "yy");
    const QByteArray first = large("F", 2962);
    const QByteArray big = large("B", 5910);
    struct Row {
        const char* fault;
        std::vector<QByteArray> reads;
        bool resetInCallback;
        std::vector<QByteArray> sent; // the frames whose records must arrive
    };
    const Row rows[] = {
        {"frame behind other data, beyond the old 4 KiB remainder", {first + big + c}, false, {first, big, c}},
        {"text carrying a whole frame, cut just after it",
         {carrier.left(carrier.indexOf("yy")), carrier.mid(carrier.indexOf("yy"))}, false, {carrier}},
        // What a reconnect from the callback does to the reader (InitSvr resets it).
        {"reset from the callback drops the old partial frame", {a + big.left(10), big.mid(10) + c}, true, {a, c}},
    };
    for (const Row& row : rows) {
        bool reset = row.resetInCallback;
        reader.setRecordHandler([&](stDt* r, int n) {
            got.insert(got.end(), r, r + n);
            if (std::exchange(reset, false))
                reader.reset();
        });
        std::vector<stDt> want;
        for (const QByteArray& frame : row.sent)
            wirestream::decode(frame, &want);
        EXPECT_TRUE(wirestream::sameRecords(deliver(row.reads), want)) << row.fault;
    }
}

} // namespace
