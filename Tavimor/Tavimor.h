#pragma once

#include "CIOType.h"
#include "tavimor_export.h"
#include "tavimor_tls.h"

#include <QAbstractSocket>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QDeadlineTimer;
class QHostAddress;
class QTcpSocket;
class QTimer;

class TavimorPendingNames;
class TavimorReader;

/// Value record exchanged with the host: a data point's name, origin, type code and value.
struct stDt {
    char szNm[128];   ///< GBK name, NUL-padded; received names are cut at 128 bytes
    quint8 cStat;     ///< 0 update of a booked point, 1 read reply
    int nTp;          ///< value type code (low byte goes on the wire)
    union {
        quint32 dw;            ///< a 4-byte integer value; also the booking period
        float f;               ///< a 4-byte floating-point value
        unsigned char sz[128]; ///< text (type code 64): sent up to its first NUL or all 128 bytes; received text is cut at 128 bytes and carries no NUL when it fills them
        quint64 dw64;          ///< an 8-byte integer value (type codes 0 and 128)
        double db;             ///< an 8-byte floating-point value (type codes 0 and 128)
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
 * - A name that GBK cannot encode (Arabic letters, emoji, ...) is refused with
 *   -1 by every call that takes a name, as a name too long for a unit is:
 *   replacing its characters would address another data point.
 *
 * Received bytes are parsed by a TavimorReader (see there for the rules and
 * its buffer), which hosts can also use on recorded traffic without a socket.
 *
 * Qt face, beside the calls above and leaving them as they are for hosts that
 * do not use it: connectToServer() connects without blocking, stateChanged()
 * and errorOccurred() report the connection as Qt's own network clients do,
 * and setRecordHandler() hands records to a callable bound to a host object,
 * so no host needs a global to route the C callback. unansweredNames(),
 * lastSocketError() and reader() show the booked names still awaiting their
 * first update, the last socket error and the parse state, which the calls
 * above keep but do not report.
 *
 * TLS, for servers that speak it: after setTls() the client connects with a
 * QSslSocket and counts as connected only once the handshake succeeded.
 * InitSvr() then returns 1 only for a server whose certificate verifies
 * (within the same 3000 ms), and stateChanged() reports Connected only then;
 * a server refused during the handshake ends as a failed connection does:
 * InitSvr() returns 0, errorOccurred() reports
 * QAbstractSocket::SslHandshakeFailedError (also in lastSocketError()) and
 * the state returns to Unconnected. Everything else works as over plain TCP,
 * which stays the default.
 */
class TAVIMOR_EXPORT Tavimor : public QObject
{
    Q_OBJECT

public:
    /// Connection state reported by stateChanged().
    enum class State {
        Unconnected, ///< no connection, none being made
        Connecting,  ///< a connection is being made (connectToServer() or InitSvr())
        Connected,   ///< connected; requests go out
    };
    Q_ENUM(State)

    /// Receives the records of one frame: (records, count); the array is only valid during the call.
    using RecordHandler = std::function<void(stDt*, int)>;

    /// Creates an unconnected client with its own socket, a Qt child of this object.
    Tavimor();
    /// Aborts the connection (unsent data is dropped) and forgets the names awaiting an answer.
    ~Tavimor() override;

    /// Connects to the data server at a numeric address: 1 connected, 0 timed out, -1 bad address.
    /// \a szIp is an IPv4 or IPv6 address in text form (no name lookup), \a uPt the TCP port.
    /// A valid address first aborts any previous connection and drops a partial
    /// frame received on it; queued bookings and the names awaiting an answer
    /// are kept. Blocks the calling thread for up to 3000 ms. A bad address
    /// leaves the current connection untouched. Nothing reconnects automatically.
    int InitSvr(QString szIp, quint16 uPt);
    /// Queues a book request (period 0 or >= 100); nCmt 1 commits, -1 re-books names still unanswered.
    /// The callback receives (records, count, 1); the array is only valid during the call.
    ///
    /// \a szNm is the data point's name (sent GBK-encoded), \a nTm the refresh
    /// period in the data server's unit. The request is queued in a 4096-byte
    /// book buffer that is flushed when \a nCmt is 1 or when the next frame would
    /// take it past 4095 bytes; any other \a nCmt leaves it queued. The name is
    /// recorded as awaiting an answer until its first update arrives.
    /// \a pfnBook replaces the object's one callback, which receives updates
    /// (cStat 0) and read replies (cStat 1) of every name, in unit order; it
    /// runs inside TcpRecv or ReadDt and must not delete this object.
    ///
    /// With \a nCmt -1, every name still awaiting an answer is queued again with
    /// period 0 and the queue is flushed; \a nTm and \a pfnBook are ignored and
    /// the list of awaited names is left empty.
    ///
    /// \return 0 when queued or when committed and written; -1 for an empty name,
    /// a period of 1 to 99 or negative, a null callback (unless a record
    /// handler is set), a name GBK cannot encode or a name too long for a unit; -2 when more than 65535 names await an answer; -1 when a flush
    /// fails (the socket did not take the whole queue, for instance while
    /// unconnected), in which case the queued frames are kept for the next flush. A frame rejected
    /// because of the automatic flush is not queued and its name not recorded.
    int BookDt(QString szNm, int nTm, int nCmt, void (*pfnBook)(stDt*, int, int));
    /// Queues a book request without recording the name or touching the callback.
    /// Checks \a szNm and the period \a nTm as BookDt does and flushes the book
    /// buffer the same way; \a nCmt 0 leaves the request queued, any other value
    /// flushes it (and writes the count of BookDt calls to the debug log).
    /// \return -1 for an empty name, a refused period or a name too long for a
    /// unit; otherwise 0, or -1 when a flush fails (the queue is kept).
    int TryDt(QString szNm, int nTm, int nCmt);
    /// Sends a cancel; an empty name forgets every unanswered booking instead and returns -1.
    /// The cancel goes out at once; a cancelled name that is still awaiting its
    /// first update stays in that list (and a later re-book sends it again).
    /// \return the frame length written, -1 for an empty or too long name, or
    /// the socket's write result (-1 or 0) when writing fails.
    int CancelDt(QString szNm);
    /// Sends a read and waits up to 2000 ms for the reply; returns the frame length sent.
    /// Blocks the calling thread; updates arriving meanwhile still reach the
    /// callback. If the last read reply received (now or earlier) is for
    /// \a szNm, it is copied into \a stDt with cStat 1; otherwise \a stDt is left
    /// unchanged, so a timed-out read may leave an older reply for the same name
    /// in it. Called from inside the callback it only sends the request and
    /// the reply reaches the callback later.
    /// \return the frame length (whether or not a reply came), -1 for an empty
    /// or too long name, or the socket's write result (-1 or 0) when writing fails.
    int ReadDt(QString szNm, stDt& stDt);
    /// Sends a write of the record's value; returns the frame length sent.
    /// The value's type code is the low byte of \a stDt's nTp and its width
    /// follows that code: text up to its first NUL (at most 128 bytes), 8 bytes
    /// for codes 0 and 128, 4 bytes otherwise. The name in \a stDt is ignored
    /// in favour of \a szNm, and the unit is stamped with the current time.
    /// \return the frame length, -1 for an empty or too long name, or the
    /// socket's write result (-1 or 0) when writing fails.
    int WriteDt(QString szNm, stDt stDt);

    /// Starts connecting to the numeric address \a address and returns at once.
    /// As InitSvr, it first aborts any previous connection and drops a partial
    /// frame received on it, keeping queued bookings and awaited names. The
    /// outcome arrives through stateChanged() (Connected, or Unconnected after
    /// errorOccurred()); an attempt still unanswered after 3000 ms is aborted
    /// with QAbstractSocket::SocketTimeoutError. Returns false, changing
    /// nothing, for an address that is not numeric.
    bool connectToServer(const QString& address, quint16 port);
    /// Sends a read of \a name and returns at once, where ReadDt would wait:
    /// the reply reaches the callback and the record handler as a record with
    /// cStat 1. A server answers only for a point that has a value.
    /// \return as ReadDt: the frame length, -1 for an empty or too long name,
    /// or the socket's write result (-1 or 0) when writing fails.
    int requestRead(const QString& name);
    /// The connection's current state.
    State state() const;
    /// Hands the records of every frame to \a handler as well, after the
    /// callback given to BookDt (if any) and on the same terms: it runs inside
    /// TcpRecv or ReadDt and must not delete this object. The handler is
    /// dropped when \a context is destroyed; an empty handler removes it. While
    /// a handler is set, BookDt accepts a null callback. Not to be called from
    /// inside the handler itself.
    void setRecordHandler(const QObject* context, RecordHandler handler);
    /// Names booked with BookDt that have had no update yet, in booking order:
    /// the names a re-book (BookDt with nCmt -1) would send again.
    QStringList unansweredNames() const;
    /// The last error the socket reported (a QAbstractSocket::SocketError
    /// value), or -1 when none was reported since the last InitSvr() or
    /// connectToServer().
    int lastSocketError() const;
    /// The reader parsing what the socket receives: bytes held for an
    /// incomplete frame, the last read reply.
    const TavimorReader& reader() const;
    /// Connects with TLS as \a tls says from the next InitSvr() or
    /// connectToServer() on; a \a tls without CA certificates returns to plain
    /// TCP. A connection already made is left as it is until then.
    void setTls(const TavimorTls& tls);

signals:
    /// The connection changed state.
    void stateChanged(Tavimor::State state);
    /// The socket reported \a error; \a text is its description.
    void errorOccurred(QAbstractSocket::SocketError error, const QString& text);

public slots:
    /// Reads what the socket holds and parses it, calling the callback for
    /// every frame with records. Connected to the socket's readyRead().
    void TcpRecv();
    /// Records \a SockErr as the last socket error. Connected to the socket's error().
    void TcpErr(QAbstractSocket::SocketError SockErr);
    /// Does nothing: a lost connection shows only in the recorded socket error,
    /// and InitSvr must be called again. Connected to the socket's disconnected().
    void TcpDis();

private:
    quint32 GetFrameLen(quint16 wLn);
    int FixFrame(QString szNm, quint8 cCmd, const stDt* pstDt);
    int TcpSend();
    int SendBook();

    void BeginConnect(const QHostAddress& addr, quint16 uPt);
    void OnSocketState(QAbstractSocket::SocketState socketState);
    void AttachSocket(QTcpSocket* socket);
    bool WaitForEncrypted(const QDeadlineTimer& deadline);

    char szSend[8192]{};
    char szBook[4096]{};
    int nBook = 0;
    int nSend = 0;
    quint16 wSqnNext = 0;
    qint16 nSockErr = -1;
    QTcpSocket* pSocket = nullptr;
    void (*pfnBook)(stDt*, int, int) = nullptr;
    int nBookCnt = 0;
    std::unique_ptr<TavimorPendingNames> pBook;

    // Received bytes not yet taken as frames, the last read reply and the parse in progress.
    std::unique_ptr<TavimorReader> pReader;
    QPointer<const QObject> pHandlerContext;
    RecordHandler fnHandler;
    State eState = State::Unconnected;
    // Aborts a connectToServer() attempt the peer never answers.
    QTimer* pConnectTimer = nullptr;
    // Set by setTls(); null for plain TCP.
    std::unique_ptr<TavimorTls> pTls;
};
