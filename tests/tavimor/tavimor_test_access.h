#pragma once

// Reaches the client's private state for tests and the fuzz target, so the
// parser can be driven without a socket and the counters checked.

#include "Tavimor.h"
#include "frame_scanner.h"

#include <QBuffer>
#include <QByteArray>

class TavimorTestAccess
{
public:
    /// Hands `bytes` to the client as one read from its peer.
    static void receive(Tavimor& client, const QByteArray& bytes)
    {
        QByteArray data = bytes;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        client.RecvFrom(buffer);
    }

    /// Builds a frame as the client would send it; empty when none can be built.
    static QByteArray buildFrame(Tavimor& client, const QString& name, quint8 op, const stDt* record)
    {
        const int len = client.FixFrame(name, op, record);
        return QByteArray(client.szSend, len);
    }

    /// Forgets every byte held, as a new connection does.
    static void newStream(Tavimor& client) { client.pScanner->reset(); }
    static void setCallback(Tavimor& client, void (*callback)(stDt*, int, int)) { client.pfnBook = callback; }
    static int queuedBookBytes(const Tavimor& client) { return client.nBook; }
    static int restBytes(const Tavimor& client) { return client.pScanner->pending(); }
    static int bookCount(const Tavimor& client) { return client.nBookCnt; }
    static QStringList unanswered(const Tavimor& client) { return client.lstBook; }
    static qint16 socketError(const Tavimor& client) { return client.nSockErr; }
    static quint16 nextSequence(const Tavimor& client) { return client.wSqnNext; }
    static QString lastReadName(const Tavimor& client) { return client.szRdNm; }
    static quint32 frameLength(Tavimor& client, quint16 wLn) { return client.GetFrameLen(wLn); }
};
