#include "tavimor_reader.h"

#include "frame_scanner.h"
#include "gbk_text.h"

#include <QIODevice>
#include <QLoggingCategory>

#include <algorithm>
#include <cstring>

using namespace tavimorio;

namespace {

constexpr int kRecordNameLen = 128;
constexpr int kTextCapacity = 128;
// Reads are taken in pieces of the client's receive buffer size.
constexpr int kReadChunk = 8192;
// The 16-bit data length allows frames this long; every one of them must survive any cut.
constexpr int kMaxFrameLen = 0xFFFF + kFrameOverhead;
constexpr int kMaxUnitsPerFrame = 0xFF;

Q_LOGGING_CATEGORY(lcWire, "kelvane.tavimor.wire")

// Copies n bytes (at most 128). Names and values are mostly a few bytes long:
// two overlapping word copies beat the string instruction a compiler picks
// for a bounded length by several times.
void copyShort(void* to, const void* from, size_t n)
{
    auto* d = static_cast<char*>(to);
    const auto* s = static_cast<const char*>(from);
    if (n >= 8 && n <= 16) {
        quint64 head, tail;
        std::memcpy(&head, s, 8);
        std::memcpy(&tail, s + n - 8, 8);
        std::memcpy(d, &head, 8);
        std::memcpy(d + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
        quint32 head, tail;
        std::memcpy(&head, s, 4);
        std::memcpy(&tail, s + n - 4, 4);
        std::memcpy(d, &head, 4);
        std::memcpy(d + n - 4, &tail, 4);
    } else {
        for (size_t i = 0; i < n; ++i)
            d[i] = s[i];
    }
}

// Fills a zeroed record from a unit.
void fillRecord(stDt& rec, const UnitView& unit, quint8 cStat)
{
    rec.cStat = cStat;
    rec.nTp = unit.type;
    const int width = unit.type == TypeText ? kTextCapacity : numericWidth(unit.type);
    copyShort(rec.unDt.sz, unit.value, size_t(std::min(unit.valueLen, width)));
    copyShort(rec.szNm, unit.name, size_t(std::min(unit.nameLen, kRecordNameLen)));
}

} // namespace

TavimorReader::TavimorReader()
    : scanner_(new FrameScanner(kMaxFrameLen, kReadChunk))
    , records_(new stDt[kMaxUnitsPerFrame]())
{
}

TavimorReader::~TavimorReader() = default;

void TavimorReader::setRecordHandler(RecordHandler handler)
{
    onRecords_ = std::move(handler);
}

void TavimorReader::setUpdateNameHandler(UpdateNameHandler handler)
{
    onUpdateName_ = std::move(handler);
}

void TavimorReader::read(QIODevice& device)
{
    // A nested call from a handler leaves the bytes to the running parse's loop.
    if (parsing_)
        return;
    while (device.bytesAvailable() > 0) {
        const qint64 got = device.read(scanner_->space(), std::min(scanner_->room(), kReadChunk));
        if (got <= 0)
            break;
        scan(int(got));
    }
}

void TavimorReader::feed(const char* bytes, int len)
{
    if (parsing_)
        return;
    while (len > 0) {
        const int n = std::min({scanner_->room(), kReadChunk, len});
        std::memcpy(scanner_->space(), bytes, size_t(n));
        scan(n);
        bytes += n;
        len -= n;
    }
}

void TavimorReader::reset()
{
    scanner_->reset();
}

int TavimorReader::pending() const
{
    return scanner_->pending();
}

void TavimorReader::scan(int received)
{
    qCDebug(lcWire, "接收应答数据长度: %d", received);
    parsing_ = true;
    scanner_->scan(received, [this](const char* frame, const stIoHd& header) { takeFrame(frame, header); });
    parsing_ = false;
}

void TavimorReader::takeFrame(const char* frame, const stIoHd& header)
{
    if (header.wLn == 0 || header.cSm == 0)
        return;
    stDt* recs = records_.get();
    int made = 0;
    walkUnits(frame + sizeof(stIoHd), header.wLn, header.cSm, [&](const UnitView& unit) {
        if (unit.op == OpBook) {
            // Filled in place: the array is zeroed, and copying a whole record per
            // unit cost as much as the rest of the parse.
            fillRecord(recs[made++], unit, 0);
            if (onUpdateName_)
                onUpdateName_(unit.name, unit.nameLen);
        } else if (unit.op == OpRead) {
            lastReadName_ = fromGbk(unit.name, unit.nameLen);
            lastRead_ = stDt{};
            fillRecord(lastRead_, unit, 1);
            recs[made++] = lastRead_;
            ++readReplies_;
        }
    });
    if (made == 0)
        return;
    if (onRecords_)
        onRecords_(recs, made);
    // The next frame gets a zeroed array again.
    std::memset(static_cast<void*>(recs), 0, sizeof(stDt) * size_t(made));
}
