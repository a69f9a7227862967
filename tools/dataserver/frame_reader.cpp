#include "frame_reader.h"

#include "CIOType.h"

#include <cstring>

using namespace tavimorio;

namespace {

// A one-unit frame with a short name and a 4-byte value.
constexpr int kTypicalFrameLen = kFrameOverhead + kUnitOverhead + 4 + 4;

} // namespace

QVector<ReceivedUnit> FrameReader::feed(const QByteArray& bytes, QStringList* errors)
{
    buffer_ += bytes;
    QVector<ReceivedUnit> units;
    // Enough for one-unit frames of short names without growing (and copying) the vector.
    units.reserve(buffer_.size() / kTypicalFrameLen);
    const char* data = buffer_.constData();
    const int size = buffer_.size();
    int pos = 0;
    int skipped = 0;
    int falseHeads = 0;
    while (size - pos >= kFrameOverhead) {
        if (!isHeadAt(data + pos)) {
            ++pos;
            ++skipped;
            continue;
        }
        stIoHd hd;
        std::memcpy(&hd, data + pos, sizeof(hd));
        const int frameLen = int(hd.wLn) + kFrameOverhead;
        if (frameLen > kMaxFrameLen) {
            ++falseHeads;
            ++pos;
            continue;
        }
        if (size - pos < frameLen) {
            // Keep the head and what follows until the frame completes.
            if (!holdsCompleteFrame(data + pos, size - pos))
                break;
            ++falseHeads;
            ++pos;
            continue;
        }
        const char* tail = data + pos + frameLen - kTailLen;
        if (quint8(tail[0]) != kTailByte || quint8(tail[1]) != kTailByte) {
            ++falseHeads;
            ++pos;
            continue;
        }
        parseUnits(data + pos + sizeof(stIoHd), hd.wLn, hd.cSm, &units, errors);
        pos += frameLen;
    }
    // One line per kind and call, however hostile the stream.
    if (falseHeads > 0)
        errors->append(QStringLiteral("%1 false heads skipped (length over %2 or no tail marker)")
                           .arg(falseHeads)
                           .arg(kMaxFrameLen));
    if (skipped > 0)
        errors->append(QStringLiteral("%1 bytes outside frames skipped").arg(skipped));
    buffer_.remove(0, pos);
    return units;
}

void FrameReader::parseUnits(const char* data, int dataLen, int unitCount, QVector<ReceivedUnit>* units,
                             QStringList* errors) const
{
    int offset = 0;
    int seen = 0;
    while (offset < dataLen) {
        if (seen == unitCount) {
            errors->append(QStringLiteral("%1 bytes after the announced %2 units").arg(dataLen - offset).arg(unitCount));
            return;
        }
        const int room = dataLen - offset;
        const int nameLen = quint8(data[offset]);
        if (nameLen + kUnitOverhead > room) {
            errors->append(QStringLiteral("unit name of %1 bytes overruns its frame").arg(nameLen));
            return;
        }
        stIoUt ut;
        std::memcpy(&ut, data + offset + 1 + nameLen, sizeof(ut));
        if (ut.chr != 0) {
            errors->append(QStringLiteral("unit marker byte is %1, not 0").arg(ut.chr));
            return;
        }
        if (ut.cLn > room - nameLen - kUnitOverhead) {
            errors->append(QStringLiteral("unit value of %1 bytes overruns its frame").arg(ut.cLn));
            return;
        }
        if (nameLen == 0) {
            errors->append(QStringLiteral("unit without a name"));
        } else {
            ReceivedUnit unit;
            unit.op = ut.cMd;
            unit.name = QByteArray(data + offset + 1, nameLen);
            unit.type = ut.cTp;
            unit.value = QByteArray(data + offset + kUnitOverhead + nameLen, ut.cLn);
            units->append(unit);
        }
        ++seen;
        offset += nameLen + ut.cLn + kUnitOverhead;
    }
    if (seen < unitCount)
        errors->append(QStringLiteral("frame announced %1 units, carried %2").arg(unitCount).arg(seen));
}
