#include "frame_writer.h"

#include "frame_encoder.h"

using namespace tavimorio;

void FrameWriter::append(QByteArray* out, quint8 op, const QByteArray& name, const PointValue& value)
{
    UnitFrame frame;
    frame.sequence = nextSequence_++;
    frame.command = kCmdData;
    frame.op = op;
    frame.name = name.constData();
    frame.nameLen = name.size();
    frame.type = value.type;
    frame.value = value.bytes.constData();
    frame.valueLen = value.bytes.size();
    const int at = out->size();
    out->resize(at + frameLength(frame.nameLen, frame.valueLen));
    encodeFrame(frame, out->data() + at);
}
