#pragma once

// Wire structures of the data-point protocol, shared by the client library and
// the data server. They are byte-packed memory images of the frame parts; the
// protocol is little-endian and so is every host this toolkit runs on, so the
// structures are copied to and from the wire as they are.

#include <QtGlobal>

#include <cstring>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the wire structures are little-endian memory images");

#pragma pack(push, 1)

/// Frame head marker: the bytes FA FA FA FA.
struct stIoId {
    quint32 dwID;
};

/// Frame header: head marker, sequence, command, spare word, data length, unit count.
struct stIoHd {
    stIoId stId;
    quint16 wSqn;
    quint8 cCmd;
    quint16 wCdDt;
    quint16 wLn;
    quint8 cSm;
};

/// Unit name: length byte followed by up to 255 GBK bytes (one spare byte for a terminator).
struct stIONm {
    quint8 cLn;
    char szNm[256];
};

/// Unit descriptor between the name and the value bytes.
struct stIoUt {
    quint8 chr;
    quint8 cMd;
    quint8 cLn;
    quint8 cTp;
    quint32 dwTm;
};

#pragma pack(pop)

static_assert(sizeof(stIoId) == 4, "stIoId is 4 bytes on the wire");
static_assert(sizeof(stIoHd) == 12, "stIoHd is 12 bytes on the wire");
static_assert(sizeof(stIONm) == 257, "stIONm is a length byte and 256 name bytes");
static_assert(sizeof(stIoUt) == 8, "stIoUt is 8 bytes on the wire");

namespace tavimorio {

/// Head marker value (FA FA FA FA).
constexpr quint32 kHeadId = 0xFAFAFAFAu;
/// Tail marker byte; a frame ends with two of them.
constexpr quint8 kTailByte = 0xEE;
/// Bytes of the tail marker.
constexpr int kTailLen = 2;
/// Bytes a frame adds around its data part (header and tail).
constexpr int kFrameOverhead = int(sizeof(stIoHd)) + kTailLen;
/// Bytes a unit adds to its name and value (name length byte and descriptor).
constexpr int kUnitOverhead = 1 + int(sizeof(stIoUt));
/// Longest name a unit can carry.
constexpr int kMaxNameLen = 255;

/// Unit operation codes (`stIoUt::cMd`).
enum UnitOp : quint8 {
    OpBook = 1,   ///< book; from the server: update of a booked point
    OpCancel = 2, ///< cancel a booking
    OpRead = 3,   ///< read; from the server: read reply
    OpWrite = 4,  ///< write a value
};

/// Frame commands (`stIoHd::cCmd`).
constexpr quint8 kCmdPlain = 0; ///< cancel and read frames
constexpr quint8 kCmdData = 2;  ///< book and write frames

/// Value type codes (`stIoUt::cTp`) whose width the protocol fixes.
constexpr quint8 kTypeText = 64;     ///< text, V bytes of characters
constexpr quint8 kTypeWide = 128;    ///< an 8-byte value
constexpr quint8 kTypeWideAlt = 0;   ///< also an 8-byte value
constexpr quint8 kTypePeriod = 8;    ///< book units: a 4-byte period
constexpr int kWideWidth = 8;        ///< width of 8-byte values
constexpr int kNarrowWidth = 4;      ///< width of every other numeric value

/// Width of a numeric value of type code `cTp` (text has no fixed width).
constexpr int numericWidth(quint8 cTp)
{
    return (cTp == kTypeWide || cTp == kTypeWideAlt) ? kWideWidth : kNarrowWidth;
}

/// True when the four bytes at `p` are the head marker.
inline bool isHeadAt(const char* p)
{
    for (int i = 0; i < int(sizeof(stIoId)); ++i) {
        if (quint8(p[i]) != 0xFA)
            return false;
    }
    return true;
}

/// True when a whole frame, tail included, starts somewhere in p[1..len). A head
/// at `p` that announces more bytes than are buffered is then a false one.
inline bool holdsCompleteFrame(const char* p, int len)
{
    for (int j = 1; j + kFrameOverhead <= len; ++j) {
        if (!isHeadAt(p + j))
            continue;
        stIoHd hd;
        std::memcpy(&hd, p + j, sizeof(hd));
        const int end = j + int(hd.wLn) + kFrameOverhead;
        if (end <= len && quint8(p[end - 2]) == kTailByte && quint8(p[end - 1]) == kTailByte)
            return true;
    }
    return false;
}

} // namespace tavimorio
