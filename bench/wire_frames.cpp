#include "wire_frames.h"

#include "CIOType.h"

#include <QtEndian>

#include <cstring>

using namespace tavimorio;

namespace benchwire {

namespace {

constexpr quint8 kInt = 1;
constexpr quint8 kFloat = 4;
constexpr quint8 kDouble = 128;
// Decks, kinds and numbering of the sample ship's point names.
constexpr int kDecks = 4;
constexpr int kPointsPerKind = 500;
// One point in this many is a text point (status messages are rare).
constexpr int kTextEvery = 16;

QByteArray littleEndian32(quint32 v)
{
    QByteArray out(4, '\0');
    qToLittleEndian(v, out.data());
    return out;
}

QByteArray pointUnit(long i)
{
    if (i % kTextEvery == 0)
        return unit(OpBook, pointName(i), TypeText, QByteArray("正常").append(QByteArray::number(int(i % 10))));
    switch (i % 3) {
    case 0: {
        QByteArray v(8, '\0');
        const double d = 21.5 + double(i % 100) / 10.0;
        std::memcpy(v.data(), &d, sizeof(d));
        return unit(OpBook, pointName(i), kDouble, v);
    }
    case 1: {
        const float f = 0.5f * float(i % 7);
        quint32 bits = 0;
        std::memcpy(&bits, &f, sizeof(bits));
        return unit(OpBook, pointName(i), kFloat, littleEndian32(bits));
    }
    default:
        return unit(OpBook, pointName(i), kInt, littleEndian32(quint32(i % 2)));
    }
}

} // namespace

QByteArray pointName(long i)
{
    static const char* const kinds[] = {"SMK", "HT", "FLD", "TMP", "LVL.HI", "MUL", "PRS"};
    const int kindCount = int(sizeof(kinds) / sizeof(kinds[0]));
    return QByteArray("D") + QByteArray::number(int(i % kDecks) + 1) + '-' + kinds[i % kindCount] + '-'
        + QByteArray::number(int(i % kPointsPerKind)).rightJustified(3, '0');
}

QByteArray unit(quint8 op, const QByteArray& name, quint8 type, const QByteArray& value)
{
    stIoUt ut{};
    ut.cMd = op;
    ut.cLn = quint8(value.size());
    ut.cTp = type;
    QByteArray out;
    out.append(char(name.size()));
    out.append(name);
    out.append(reinterpret_cast<const char*>(&ut), sizeof(ut));
    out.append(value);
    return out;
}

QByteArray frame(const QByteArray& units, int unitCount, quint16 sequence)
{
    stIoHd hd{};
    hd.stId.dwID = kHeadId;
    hd.wSqn = sequence;
    hd.cCmd = kCmdData;
    hd.wLn = quint16(units.size());
    hd.cSm = quint8(unitCount);
    QByteArray out(reinterpret_cast<const char*>(&hd), sizeof(hd));
    out.append(units);
    out.append(char(kTailByte));
    out.append(char(kTailByte));
    return out;
}

QByteArray realisticStream(int bytes, int unitsPerFrame, long* units)
{
    QByteArray out;
    out.reserve(bytes + 4096);
    long i = 0;
    quint16 sequence = 0;
    while (out.size() < bytes) {
        QByteArray body;
        for (int k = 0; k < unitsPerFrame; ++k)
            body.append(pointUnit(i++));
        out.append(frame(body, unitsPerFrame, sequence++));
    }
    *units = i;
    return out;
}

} // namespace benchwire
