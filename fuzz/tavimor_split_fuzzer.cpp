// The split test without end: the fuzzer's bytes choose a stream of well-formed
// frames (with garbage around them) and the cuts of its reads; the client must
// deliver the records an independent decoder finds, whole and cut alike.
//
//   tavimor_split_fuzzer -max_len=4096 fuzz/corpus/split

#include "split_harness.h"
#include "wire_stream.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdint>
#include <cstdlib>

namespace {

// Choices taken from the input, two bytes at a time; 0 once it is used up.
struct InputChoices {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;

    unsigned pick(unsigned n)
    {
        unsigned v = 0;
        for (int i = 0; i < 2 && pos < size; ++i)
            v = v << 8 | data[pos++];
        return n == 0 ? 0 : v % n;
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    QLoggingCategory::setFilterRules(QStringLiteral("kelvane.tavimor.wire.debug=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One client for every input.
    static SplitHarness harness;
    InputChoices choices{data, size};
    wirestream::Generator<InputChoices> generator(choices);
    std::vector<stDt> want;
    const QByteArray whole = wirestream::assemble(generator, &want);
    const std::vector<QByteArray> cuts = wirestream::cut(whole, choices, unsigned(whole.size()));
    if (!wirestream::sameRecords(harness.deliver({whole}), want) || !wirestream::sameRecords(harness.deliver(cuts), want))
        std::abort();
    return 0;
}
