#include "frame_reader.h"

#include <algorithm>
#include <cstring>

using namespace tavimorio;

namespace {

// A one-unit frame with a short name and a 4-byte value.
constexpr int kTypicalFrameLen = kFrameOverhead + kUnitOverhead + 4 + 4;
constexpr int kReadChunk = 8192;

QString stopText(const UnitWalk& walk, int dataLen, int unitCount)
{
    switch (walk.stop) {
    case UnitStop::ExtraBytes:
        return QStringLiteral("%1 bytes after the announced %2 units").arg(dataLen - walk.offset).arg(unitCount);
    case UnitStop::NameOverrun:
        return QStringLiteral("unit name of %1 bytes overruns its frame").arg(walk.announced);
    case UnitStop::BadMarker:
        return QStringLiteral("unit marker byte is %1, not 0").arg(walk.announced);
    case UnitStop::ValueOverrun:
        return QStringLiteral("unit value of %1 bytes overruns its frame").arg(walk.announced);
    case UnitStop::End:
    case UnitStop::Undecided:
        break;
    }
    return QString();
}

} // namespace

FrameReader::FrameReader()
    : scanner_(kMaxFrameLen, kReadChunk)
{
}

QVector<ReceivedUnit> FrameReader::feed(const QByteArray& bytes, QStringList* errors)
{
    QVector<ReceivedUnit> units;
    // Enough for one-unit frames of short names without growing (and copying) the vector.
    units.reserve(bytes.size() / kTypicalFrameLen);
    const auto onFrame = [&](const char* frame, const stIoHd& header) { takeFrame(frame, header, &units, errors); };
    for (int pos = 0; pos < bytes.size();) {
        const int n = int(std::min<qsizetype>(scanner_.room(), bytes.size() - pos));
        std::memcpy(scanner_.space(), bytes.constData() + pos, size_t(n));
        pos += n;
        scanner_.scan(n, onFrame);
    }
    // One line per kind and call, however hostile the stream.
    const FrameScanner::Counts counts = scanner_.takeCounts();
    if (counts.falseHeads > 0)
        errors->append(QStringLiteral("%1 false heads skipped (length over %2, no tail marker or a first unit that cannot fit)")
                           .arg(counts.falseHeads)
                           .arg(kMaxFrameLen));
    if (counts.skippedBytes > 0)
        errors->append(QStringLiteral("%1 bytes outside frames skipped").arg(counts.skippedBytes));
    return units;
}

void FrameReader::takeFrame(const char* frame, const stIoHd& header, QVector<ReceivedUnit>* units,
                            QStringList* errors) const
{
    const UnitWalk walk = walkUnits(frame + sizeof(stIoHd), header.wLn, header.cSm, [&](const UnitView& view) {
        if (view.nameLen == 0) {
            errors->append(QStringLiteral("unit without a name"));
            return;
        }
        ReceivedUnit unit;
        unit.op = view.op;
        unit.name = QByteArray(view.name, view.nameLen);
        unit.type = view.type;
        unit.value = QByteArray(view.value, view.valueLen);
        units->append(unit);
    });
    if (walk.stop != UnitStop::End)
        errors->append(stopText(walk, header.wLn, header.cSm));
    else if (walk.units < header.cSm)
        errors->append(QStringLiteral("frame announced %1 units, carried %2").arg(header.cSm).arg(walk.units));
}
