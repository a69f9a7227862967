#pragma once

// Walks the units of one frame's data part with the bounds checks both ends of
// the protocol apply: the client turning units into records and the data server
// turning them into requests.

#include "CIOType.h"

#include <cstring>

namespace tavimorio {

/// One unit as it lies in the frame; the pointers point into the frame's bytes.
struct UnitView {
    quint8 op = 0;            ///< stIoUt::cMd
    quint8 type = 0;          ///< stIoUt::cTp
    const char* name = nullptr;
    int nameLen = 0;          ///< 0 to 255
    const char* value = nullptr;
    int valueLen = 0;         ///< 0 to 255
};

/// Why a walk over a data part ended.
enum class UnitStop {
    End,          ///< every byte of the data part belonged to a unit
    ExtraBytes,   ///< bytes remain after the announced number of units
    NameOverrun,  ///< a name and descriptor longer than the bytes left
    BadMarker,    ///< a descriptor whose marker byte (stIoUt::chr) is not 0
    ValueOverrun, ///< a value longer than the bytes left
    Undecided,    ///< only from checkUnit: too few bytes have arrived to tell
};

/// The outcome of a walk: why it stopped, how many units were whole, and what
/// the offending unit announced (name length, marker byte or value length).
struct UnitWalk {
    UnitStop stop = UnitStop::End;
    int units = 0;
    int offset = 0;   ///< where the walk stopped, from the start of the data part
    int announced = 0;
};

/// Checks the unit at \a p with \a room bytes left in its data part; \a avail of
/// those bytes are readable (avail <= room). Returns End when the unit fits,
/// the reason it cannot fit, or Undecided when \a avail is too short to tell.
inline UnitStop checkUnit(const char* p, int room, int avail, int* announced)
{
    if (avail < 1)
        return UnitStop::Undecided;
    const int nameLen = quint8(p[0]);
    *announced = nameLen;
    if (nameLen + kUnitOverhead > room)
        return UnitStop::NameOverrun;
    if (avail < nameLen + 2)
        return UnitStop::Undecided;
    const quint8 marker = quint8(p[1 + nameLen]);
    *announced = marker;
    if (marker != 0)
        return UnitStop::BadMarker;
    if (avail < nameLen + 4)
        return UnitStop::Undecided;
    const int valueLen = quint8(p[3 + nameLen]);
    *announced = valueLen;
    return valueLen > room - nameLen - kUnitOverhead ? UnitStop::ValueOverrun : UnitStop::End;
}

/// Calls \a onUnit(const UnitView&) for every whole unit of the \a dataLen bytes
/// at \a data, at most \a unitCount of them. A unit that does not fit ends the
/// walk; the units before it have been handed out.
template <typename OnUnit>
UnitWalk walkUnits(const char* data, int dataLen, int unitCount, OnUnit&& onUnit)
{
    UnitWalk walk;
    while (walk.offset < dataLen) {
        if (walk.units == unitCount) {
            walk.stop = UnitStop::ExtraBytes;
            return walk;
        }
        const char* p = data + walk.offset;
        const int room = dataLen - walk.offset;
        walk.stop = checkUnit(p, room, room, &walk.announced);
        if (walk.stop != UnitStop::End)
            return walk;
        UnitView unit;
        unit.nameLen = quint8(p[0]);
        unit.name = p + 1;
        unit.op = quint8(p[2 + unit.nameLen]);
        unit.valueLen = quint8(p[3 + unit.nameLen]);
        unit.type = quint8(p[4 + unit.nameLen]);
        unit.value = p + kUnitOverhead + unit.nameLen;
        onUnit(unit);
        ++walk.units;
        walk.offset += unit.nameLen + unit.valueLen + kUnitOverhead;
    }
    return walk;
}

} // namespace tavimorio
