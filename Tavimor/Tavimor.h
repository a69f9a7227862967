#pragma once

#include "CIOType.h"
#include "tavimor_export.h"

#include <QAbstractSocket>
#include <QObject>
#include <QString>
#include <QStringList>

class QIODevice;
class QTcpSocket;

/// Value record exchanged with the host: a data point's name, origin, type code and value.
struct stDt {
    char szNm[128];   ///< GBK name, NUL-padded; received names are cut at 128 bytes
    quint8 cStat;     ///< 0 update of a booked point, 1 read reply
    int nTp;          ///< value type code (low byte goes on the wire)
    union {
        quint32 dw;
        float f;
        unsigned char sz[128];
        quint64 dw64;
        double db;
    } unDt;           ///< the value; the data server decides which member a numeric code denotes
};

/**
 * Client of the ship's data server: books data points with a refresh period and
 * hands their updates to a callback, reads, writes and cancels single points.
 *
 * Everything runs on the owner's thread. InitSvr blocks up to 3000 ms, ReadDt up
 * to 2000 ms; the callback runs inside TcpRecv or ReadDt and must not delete
 * this object.
 *
 * Results worth knowing:
 * - InitSvr returns 1 when connected, 0 when no connection was made within
 *   3000 ms and -1 for an address that is not numeric, so 0 always means failure.
 * - A name whose GBK encoding is longer than 255 bytes does not fit a unit: no
 *   frame is built and BookDt, TryDt, CancelDt, ReadDt and WriteDt return -1
 *   (cutting the name would address another data point).
 * - A text value without a NUL in its 128 bytes is written with length 128.
 * - A received numeric value whose length differs from its type's width fills
 *   what it has (at most the width) and leaves the rest of the value zero.
 * - ReadDt keeps waiting through updates until the reply for its name arrives
 *   or the 2000 ms are over. Called from inside the callback it only sends its
 *   request: the reply then reaches the callback as a record with cStat 1.
 *
 * Received bytes are parsed safely whatever the peer sends: reads larger than
 * the receive buffer are parsed in passes, a head whose frame could never be
 * held or whose tail is missing is skipped one byte at a time, and a unit that
 * does not fit its frame ends that frame.
 */
class TAVIMOR_EXPORT Tavimor : public QObject
{
    Q_OBJECT

public:
    Tavimor();
    ~Tavimor() override;

    /// Connects to the data server at a numeric address: 1 connected, 0 timed out, -1 bad address.
    int InitSvr(QString szIp, quint16 uPt);
    /// Queues a book request (period 0 or >= 100); nCmt 1 commits, -1 re-books names still unanswered.
    /// The callback receives (records, count, 1); the array is only valid during the call.
    int BookDt(QString szNm, int nTm, int nCmt, void (*pfnBook)(stDt*, int, int));
    /// Queues a book request without recording the name or touching the callback.
    int TryDt(QString szNm, int nTm, int nCmt);
    /// Sends a cancel; an empty name forgets every unanswered booking instead and returns -1.
    int CancelDt(QString szNm);
    /// Sends a read and waits up to 2000 ms for the reply; returns the frame length sent.
    int ReadDt(QString szNm, stDt& stDt);
    /// Sends a write of the record's value; returns the frame length sent.
    int WriteDt(QString szNm, stDt stDt);

public slots:
    void TcpRecv();
    void TcpErr(QAbstractSocket::SocketError SockErr);
    void TcpDis();

private:
    friend class TavimorTestAccess;

    quint32 GetFrameLen(quint16 wLn);
    int FixFrame(QString szNm, quint8 cCmd, const stDt* pstDt);
    bool AnalysFrame();
    int TcpSend();
    int SendBook();

    void RecvFrom(QIODevice& dev);
    /// Parses the units of the frame whose data part starts at pData into the zeroed pRecs.
    int ParseUnits(const char* pData, stDt* pRecs);
    /// Fills a zeroed record from the unit just read.
    void FillRecord(stDt& rec, const char* pValue, quint8 cStat) const;

    char szRest[4096]{};
    char szSend[8192]{};
    char szRecv[8192]{};
    char szBook[4096]{};
    int nBook = 0;
    int nRest = 0;
    int nSend = 0;
    int nRecv = 0;
    quint16 wSqnNext = 0;
    stIoHd stRcvHd{};
    stIONm stRcvNm{};
    stIoUt stRcvUt{};
    stDt stUpdDt{};
    stDt stRdDt{};
    QString szRdNm;
    qint16 nSockErr = -1;
    QTcpSocket* pSocket = nullptr;
    void (*pfnBook)(stDt*, int, int) = nullptr;
    int nBookCnt = 0;
    QStringList lstBook;

    // Guards the receive buffers while a parse (and the callback it calls) runs.
    bool bParsing = false;
    // Read replies seen so far, so ReadDt can tell a fresh reply from an old one.
    quint32 nRdSeen = 0;
};
