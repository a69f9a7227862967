#include "frame_writer.h"

#include "CIOType.h"

#include <cstring>

using namespace tavimorio;

void FrameWriter::append(QByteArray* out, quint8 op, const QByteArray& name, const PointValue& value)
{
    Q_ASSERT(name.size() <= kMaxNameLen && value.bytes.size() <= kMaxNameLen);
    stIoHd hd{};
    hd.stId.dwID = kHeadId;
    hd.wSqn = nextSequence_++;
    hd.cCmd = kCmdData;
    hd.wLn = quint16(name.size() + value.bytes.size() + kUnitOverhead);
    hd.cSm = 1;
    stIoUt ut{};
    ut.cMd = op;
    ut.cLn = quint8(value.bytes.size());
    ut.cTp = value.type;

    out->append(reinterpret_cast<const char*>(&hd), sizeof(hd));
    out->append(char(name.size()));
    out->append(name);
    out->append(reinterpret_cast<const char*>(&ut), sizeof(ut));
    out->append(value.bytes);
    out->append(char(kTailByte));
    out->append(char(kTailByte));
}
