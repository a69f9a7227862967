// Feeds arbitrary bytes to the client's reader in arbitrary reads. Input layout:
// repeated [2-byte little-endian read length][that many bytes]; the last read
// takes whatever is left. Reads may exceed the receive buffer.
//
//   tavimor_parser_fuzzer -max_len=20000 fuzz/corpus/parser

#include "tavimor_reader.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

constexpr size_t kLengthBytes = 2;

volatile unsigned sink = 0;

// Reads every byte of every record so the sanitizers see any record the parser got wrong.
void touchRecords(stDt* records, int count, int flag)
{
    unsigned sum = unsigned(flag);
    for (int i = 0; i < count; ++i) {
        sum += records[i].cStat + unsigned(records[i].nTp);
        for (char c : records[i].szNm)
            sum += unsigned(c);
        for (unsigned char c : records[i].unDt.sz)
            sum += c;
    }
    sink = sum;
}

void dropMessage(QtMsgType, const QMessageLogContext&, const QString&)
{
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    // The per-read debug line would drown the fuzzer's own output.
    qInstallMessageHandler(dropMessage);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TavimorReader reader;
    reader.setRecordHandler([](stDt* records, int count) { touchRecords(records, count, 1); });
    size_t pos = 0;
    while (pos < size) {
        size_t len = data[pos];
        if (pos + 1 < size)
            len |= size_t(data[pos + 1]) << 8;
        pos = std::min(pos + kLengthBytes, size);
        len = std::min(len, size - pos);
        reader.feed(reinterpret_cast<const char*>(data + pos), int(len));
        pos += len;
    }
    return 0;
}
