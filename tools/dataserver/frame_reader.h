#pragma once

#include "frame_scanner.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>

/// One unit received from a client.
struct ReceivedUnit {
    quint8 op = 0;
    QByteArray name;
    quint8 type = 0;
    QByteArray value;
};

/**
 * Cuts a client's byte stream into frames and units with the scanner the
 * client library uses, so the server is as strict as the client and as cheap:
 * time linear in the bytes received, whatever they are. Bytes before a head are
 * skipped, a head without its tail or announcing a frame longer than
 * kMaxFrameLen is skipped one byte at a time, and a malformed unit ends its
 * frame. Each of these is reported as a protocol error, one line per kind and
 * call of feed().
 */
class FrameReader
{
public:
    /// Longest frame accepted; longer announcements are bogus heads.
    static constexpr int kMaxFrameLen = 8192;

    FrameReader();

    /// Appends bytes and returns the units of every frame they complete.
    QVector<ReceivedUnit> feed(const QByteArray& bytes, QStringList* errors);
    /// Bytes held for an incomplete frame.
    int pending() const { return scanner_.pending(); }

private:
    void takeFrame(const char* frame, const stIoHd& header, QVector<ReceivedUnit>* units, QStringList* errors) const;

    tavimorio::FrameScanner scanner_;
};
