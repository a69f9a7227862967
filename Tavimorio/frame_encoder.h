#pragma once

// Builds the one-unit frames both ends of the protocol send: the client's
// requests and the data server's updates and read replies.

#include "CIOType.h"

#include <cstring>

namespace tavimorio {

/// What one frame carries: its header fields and its one unit.
struct UnitFrame {
    quint16 sequence = 0;
    quint8 command = kCmdData;     ///< stIoHd::cCmd
    quint8 op = 0;                 ///< stIoUt::cMd, one of UnitOp
    const char* name = nullptr;    ///< GBK name bytes
    int nameLen = 0;               ///< 0 to kMaxNameLen
    quint8 type = 0;               ///< stIoUt::cTp
    quint32 time = 0;              ///< stIoUt::dwTm
    const void* value = nullptr;   ///< value bytes, copied as they are
    int valueLen = 0;              ///< 0 to 255
};

/// Length of the frame encodeFrame() writes for a name and a value of these lengths.
constexpr int frameLength(int nameLen, int valueLen)
{
    return kFrameOverhead + kUnitOverhead + nameLen + valueLen;
}

/// Writes \a unit as a frame to \a out, which has room for
/// frameLength(unit.nameLen, unit.valueLen) bytes, and returns its length.
inline int encodeFrame(const UnitFrame& unit, char* out)
{
    Q_ASSERT(unit.nameLen >= 0 && unit.nameLen <= kMaxNameLen && unit.valueLen >= 0 && unit.valueLen <= 0xFF);
    stIoHd hd{};
    hd.stId.dwID = kHeadId;
    hd.wSqn = unit.sequence;
    hd.cCmd = unit.command;
    hd.wLn = quint16(unit.nameLen + unit.valueLen + kUnitOverhead);
    hd.cSm = 1;
    stIoUt ut{};
    ut.cMd = unit.op;
    ut.cLn = quint8(unit.valueLen);
    ut.cTp = unit.type;
    ut.dwTm = unit.time;

    char* p = out;
    std::memcpy(p, &hd, sizeof(hd));
    p += sizeof(hd);
    *p++ = char(unit.nameLen);
    if (unit.nameLen > 0)
        std::memcpy(p, unit.name, size_t(unit.nameLen));
    p += unit.nameLen;
    std::memcpy(p, &ut, sizeof(ut));
    p += sizeof(ut);
    if (unit.valueLen > 0)
        std::memcpy(p, unit.value, size_t(unit.valueLen));
    p += unit.valueLen;
    *p++ = char(kTailByte);
    *p++ = char(kTailByte);
    return int(p - out);
}

} // namespace tavimorio
