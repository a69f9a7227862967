// Feeds arbitrary bytes to the data server's frame reader in arbitrary reads,
// the way a hostile client would send them. Every unit the reader hands out must
// be one the server can answer: a name of 1 to 255 bytes and a value a unit can
// carry, and a frame the server's writer makes of it must read back as the same
// unit. Input layout as for the client's parser target: repeated
// [2-byte little-endian read length][that many bytes].
//
//   dataserver_frame_fuzzer -max_len=20000 fuzz/corpus/frames

#include "CIOType.h"
#include "frame_reader.h"
#include "frame_writer.h"
#include "point_value.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr size_t kLengthBytes = 2;

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// The server answers a unit with a frame from its writer; that frame must parse back unchanged.
void checkRoundTrip(const ReceivedUnit& unit)
{
    check(!unit.name.isEmpty() && unit.name.size() <= tavimorio::kMaxNameLen);
    check(unit.value.size() <= tavimorio::kMaxNameLen);
    PointValue value;
    value.type = unit.type;
    value.bytes = unit.value;
    FrameWriter writer;
    FrameReader again;
    QStringList errors;
    QByteArray frame;
    writer.append(&frame, unit.op, unit.name, value);
    const QVector<ReceivedUnit> back = again.feed(frame, &errors);
    check(errors.isEmpty() && back.size() == 1 && again.pending() == 0);
    check(back[0].op == unit.op && back[0].name == unit.name && back[0].type == unit.type
          && back[0].value == unit.value);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FrameReader reader;
    QStringList errors;
    size_t pos = 0;
    while (pos < size) {
        size_t len = data[pos];
        if (pos + 1 < size)
            len |= size_t(data[pos + 1]) << 8;
        pos = std::min(pos + kLengthBytes, size);
        len = std::min(len, size - pos);
        const QByteArray read(reinterpret_cast<const char*>(data + pos), int(len));
        for (const ReceivedUnit& unit : reader.feed(read, &errors))
            checkRoundTrip(unit);
        // An unfinished frame is held only while it could still complete.
        check(reader.pending() < FrameReader::kMaxFrameLen + int(len) + 1);
        errors.clear();
        pos += len;
    }
    return 0;
}
