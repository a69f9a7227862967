#pragma once

// Wire structures of the data-point protocol, shared by the client library and
// the data server. They are byte-packed memory images of the frame parts; the
// protocol is little-endian and so is every host this toolkit runs on, so the
// structures are copied to and from the wire as they are.

#include "value_types.h"

#include <QtGlobal>

#include <cstring>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the wire structures are little-endian memory images");

#pragma pack(push, 1)

/// Frame head marker, 4 bytes: the bytes FA FA FA FA that open every frame.
struct stIoId {
    quint32 dwID; ///< bytes 0-3, always tavimorio::kHeadId (0xFAFAFAFA)
};

/// Frame header, 12 bytes: head marker, sequence, command, spare word, data length, unit count.
///
/// A frame is this header, wLn bytes of data part (units back to back) and the
/// tail EE EE, so it is wLn + 14 bytes long (tavimorio::kFrameOverhead). On
/// receipt only the marker, wLn and cSm are examined.
struct stIoHd {
    stIoId stId;  ///< offset 0, 4 bytes: head marker FA FA FA FA
    quint16 wSqn; ///< offset 4, 2 bytes: sequence number of the frame, counted per client object from 0 and wrapping after 65535
    quint8 cCmd;  ///< offset 6, 1 byte: frame command, tavimorio::kCmdData (2) for book and write frames, tavimorio::kCmdPlain (0) for cancel and read frames
    quint16 wCdDt; ///< offset 7, 2 bytes: spare, 0 in every frame sent
    quint16 wLn;  ///< offset 9, 2 bytes: length of the data part in bytes, header and tail not counted
    quint8 cSm;   ///< offset 11, 1 byte: number of units in the data part; the client always sends 1
};

/// Unit name: length byte followed by up to 255 GBK bytes (one spare byte for a terminator).
///
/// On the wire a unit starts with cLn and exactly cLn name bytes, without a
/// terminator; the structure is the largest form, used as a scratch copy.
struct stIONm {
    quint8 cLn;     ///< unit offset 0, 1 byte: name length L in bytes (0 to 255)
    char szNm[256]; ///< unit offset 1, L bytes: the data point's name in GBK; the copy kept by the client is NUL-terminated
};

/// Unit descriptor between the name and the value bytes, 8 bytes.
///
/// With L the name length and V the value length, a unit is the L + 1 name
/// bytes (stIONm), this descriptor at unit offset 1 + L and V value bytes at
/// 9 + L: L + V + 9 bytes in all.
struct stIoUt {
    quint8 chr;   ///< unit offset 1+L, 1 byte: always 0; a received unit with any other value ends the parsing of its frame
    quint8 cMd;   ///< unit offset 2+L, 1 byte: operation, one of tavimorio::UnitOp
    quint8 cLn;   ///< unit offset 3+L, 1 byte: value length V in bytes; 0 in cancel and read units
    quint8 cTp;   ///< unit offset 4+L, 1 byte: value type code (tavimorio::ValueType); its width is given by tavimorio::numericWidth
    quint32 dwTm; ///< unit offset 5+L, 4 bytes: time stamp in seconds since 1970-01-01 00:00 UTC in write units, 0 in the others; ignored on receipt
};

#pragma pack(pop)

static_assert(sizeof(stIoId) == 4, "stIoId is 4 bytes on the wire");
static_assert(sizeof(stIoHd) == 12, "stIoHd is 12 bytes on the wire");
static_assert(sizeof(stIONm) == 257, "stIONm is a length byte and 256 name bytes");
static_assert(sizeof(stIoUt) == 8, "stIoUt is 8 bytes on the wire");

/// Constants and helpers of the data-point frame format, shared by the client and the data server.
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

/// True when the four bytes at \a p are the head marker. \a p must have at least four readable bytes.
inline bool isHeadAt(const char* p)
{
    for (int i = 0; i < int(sizeof(stIoId)); ++i) {
        if (quint8(p[i]) != 0xFA)
            return false;
    }
    return true;
}

} // namespace tavimorio
