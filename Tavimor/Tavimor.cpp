#include "Tavimor.h"

#include "frame_encoder.h"
#include "gbk_text.h"
#include "tavimor_pending_names.h"
#include "tavimor_reader.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDebug>
#include <QHostAddress>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <memory>

using namespace tavimorio;

namespace {

constexpr int kConnectTimeoutMs = 3000;
constexpr int kReadTimeoutMs = 2000;
// The book buffer is flushed before a frame would take it past this many bytes.
constexpr int kBookFlushLimit = 4095;
constexpr int kMinPeriodMs = 100;
constexpr int kMaxUnanswered = 65535;
constexpr int kRebook = -1;
constexpr int kCommit = 1;
// Qt's own text for a socket timeout, so Qt's translations carry it.
const char* const kTimedOutText = "Socket operation timed out";

bool periodAccepted(int nTm)
{
    return nTm == 0 || nTm >= kMinPeriodMs;
}

// The name in GBK, or an empty array when it cannot be put in a unit: too long,
// or holding characters GBK cannot encode (a replacement would name another point).
QByteArray unitName(const QString& szNm)
{
    bool exact = false;
    const QByteArray name = toGbk(szNm, &exact);
    if (!exact || name.size() > kMaxNameLen)
        return QByteArray();
    return name;
}

Tavimor::State stateOf(QAbstractSocket::SocketState socketState, Tavimor::State current)
{
    switch (socketState) {
    case QAbstractSocket::UnconnectedState:
        return Tavimor::State::Unconnected;
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        return Tavimor::State::Connecting;
    case QAbstractSocket::ConnectedState:
        return Tavimor::State::Connected;
    default:
        return current;
    }
}

QSslConfiguration tlsConfiguration(const TavimorTls& tls)
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    // Replaces the system's authorities: only the ship's own may vouch for its server.
    config.setCaCertificates(tls.caCertificates);
    config.setLocalCertificate(tls.certificate);
    config.setPrivateKey(tls.privateKey);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    config.setProtocol(QSsl::TlsV1_2OrLater);
    return config;
}

int valueLength(quint8 cTp, const stDt& rec)
{
    if (cTp == TypeText) {
        const void* nul = std::memchr(rec.unDt.sz, 0, sizeof(rec.unDt.sz));
        return nul ? int(static_cast<const unsigned char*>(nul) - rec.unDt.sz) : int(sizeof(rec.unDt.sz));
    }
    return numericWidth(cTp);
}

} // namespace

Tavimor::Tavimor()
    : pBook(new TavimorPendingNames)
    , pReader(new TavimorReader)
    , pConnectTimer(new QTimer(this))
{
    AttachSocket(new QTcpSocket(this));
    pReader->setRecordHandler([this](stDt* recs, int count) {
        if (pfnBook)
            pfnBook(recs, count, 1);
        if (fnHandler && pHandlerContext)
            fnHandler(recs, count);
    });
    // Decoded from the whole name: a name over 128 bytes would never match its cut copy.
    pReader->setUpdateNameHandler([this](const char* name, int len) {
        if ((pfnBook || fnHandler) && !pBook->isEmpty())
            pBook->removeFirst(fromGbk(name, len));
    });
    // Queued connections and QSignalSpy need the state type registered.
    qRegisterMetaType<Tavimor::State>();
    pConnectTimer->setSingleShot(true);
    connect(pConnectTimer, &QTimer::timeout, this, [this] {
        nSockErr = qint16(QAbstractSocket::SocketTimeoutError);
        emit errorOccurred(QAbstractSocket::SocketTimeoutError,
                           QCoreApplication::translate("QAbstractSocket", kTimedOutText));
        pSocket->abort();
    });
}

Tavimor::~Tavimor()
{
    // Hosts hear nothing from an object being destroyed.
    disconnect(pSocket, nullptr, this, nullptr);
    pSocket->abort();
    pBook->clear();
}

int Tavimor::InitSvr(QString szIp, quint16 uPt)
{
    QHostAddress addr;
    if (!addr.setAddress(szIp))
        return -1;
    const QDeadlineTimer deadline(kConnectTimeoutMs);
    BeginConnect(addr, uPt);
    return pSocket->waitForConnected(kConnectTimeoutMs) && WaitForEncrypted(deadline) ? 1 : 0;
}

bool Tavimor::connectToServer(const QString& address, quint16 port)
{
    QHostAddress addr;
    if (!addr.setAddress(address))
        return false;
    BeginConnect(addr, port);
    return true;
}

int Tavimor::requestRead(const QString& name)
{
    if (FixFrame(name, OpRead, nullptr) == 0)
        return -1;
    return TcpSend();
}

Tavimor::State Tavimor::state() const
{
    return eState;
}

void Tavimor::setRecordHandler(const QObject* context, RecordHandler handler)
{
    pHandlerContext = handler ? context : nullptr;
    fnHandler = pHandlerContext ? std::move(handler) : RecordHandler();
}

void Tavimor::BeginConnect(const QHostAddress& addr, quint16 uPt)
{
    nSockErr = -1;
    pSocket->abort();
    // A partial frame of the old connection must not be joined to the new stream;
    // called from the callback, this also ends the parse that called it.
    pReader->reset();
    if (bool(pTls) != bool(qobject_cast<QSslSocket*>(pSocket)))
        AttachSocket(pTls ? new QSslSocket(this) : new QTcpSocket(this));
    if (auto* secure = qobject_cast<QSslSocket*>(pSocket)) {
        secure->setSslConfiguration(tlsConfiguration(*pTls));
        const QString host = addr.toString();
        secure->connectToHostEncrypted(host, uPt, pTls->peerName.isEmpty() ? host : pTls->peerName);
    } else {
        pSocket->connectToHost(addr, uPt, QIODevice::ReadWrite);
    }
    pConnectTimer->start(kConnectTimeoutMs);
}

void Tavimor::AttachSocket(QTcpSocket* socket)
{
    if (pSocket) {
        disconnect(pSocket, nullptr, this, nullptr);
        // May be emitting: BeginConnect can run inside the callback.
        pSocket->deleteLater();
    }
    pSocket = socket;
    connect(pSocket, SIGNAL(readyRead()), this, SLOT(TcpRecv()));
    // Qt 6 has no error() signal, and a connection by name fails only at run time.
    connect(pSocket, SIGNAL(errorOccurred(QAbstractSocket::SocketError)), this, SLOT(TcpErr(QAbstractSocket::SocketError)));
    connect(pSocket, SIGNAL(disconnected()), this, SLOT(TcpDis()));
    connect(pSocket, &QAbstractSocket::stateChanged, this, &Tavimor::OnSocketState);
    connect(pSocket, &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) { emit errorOccurred(error, pSocket->errorString()); });
    if (auto* secure = qobject_cast<QSslSocket*>(pSocket))
        connect(secure, &QSslSocket::encrypted, this, [this] { OnSocketState(pSocket->state()); });
}

bool Tavimor::WaitForEncrypted(const QDeadlineTimer& deadline)
{
    auto* secure = qobject_cast<QSslSocket*>(pSocket);
    return !secure || secure->isEncrypted() || secure->waitForEncrypted(int(deadline.remainingTime()));
}

void Tavimor::setTls(const TavimorTls& tls)
{
    pTls = tls.caCertificates.isEmpty() ? nullptr : std::make_unique<TavimorTls>(tls);
}

void Tavimor::OnSocketState(QAbstractSocket::SocketState socketState)
{
    State next = stateOf(socketState, eState);
    // Over TLS the connection is made once the server's certificate verified.
    const auto* secure = qobject_cast<const QSslSocket*>(pSocket);
    if (next == State::Connected && secure && !secure->isEncrypted())
        next = State::Connecting;
    if (next != State::Connecting)
        pConnectTimer->stop();
    if (next == eState)
        return;
    eState = next;
    emit stateChanged(eState);
}

int Tavimor::BookDt(QString szNm, int nTm, int nCmt, void (*pfnBook)(stDt*, int, int))
{
    if (szNm.isEmpty() || szNm.at(0).isNull())
        return -1;
    if (nCmt == kRebook) {
        while (!pBook->isEmpty())
            TryDt(pBook->takeFirst(), 0, 0);
        return SendBook();
    }
    if (pBook->size() > kMaxUnanswered)
        return -2;
    ++nBookCnt;
    if (!periodAccepted(nTm))
        return -1;
    stDt rec{};
    rec.nTp = TypePeriod;
    rec.unDt.dw = quint32(nTm);
    const int len = FixFrame(szNm, OpBook, &rec);
    if (len == 0 || (!pfnBook && !fnHandler))
        return -1;
    this->pfnBook = pfnBook;
    if (nBook + len > kBookFlushLimit) {
        const int flushed = SendBook();
        if (flushed != 0)
            return flushed;
    }
    pBook->append(szNm);
    std::memcpy(szBook + nBook, szSend, size_t(len));
    nBook += len;
    return nCmt == kCommit ? SendBook() : 0;
}

int Tavimor::TryDt(QString szNm, int nTm, int nCmt)
{
    if (szNm.isEmpty() || szNm.at(0).isNull() || !periodAccepted(nTm))
        return -1;
    stDt rec{};
    rec.nTp = TypePeriod;
    rec.unDt.dw = quint32(nTm);
    const int len = FixFrame(szNm, OpBook, &rec);
    if (len == 0)
        return -1;
    if (nBook + len > kBookFlushLimit) {
        const int flushed = SendBook();
        if (flushed != 0)
            return flushed;
    }
    std::memcpy(szBook + nBook, szSend, size_t(len));
    nBook += len;
    if (nCmt == 0)
        return 0;
    qDebug() << nBookCnt;
    return SendBook();
}

int Tavimor::CancelDt(QString szNm)
{
    if (szNm.isEmpty()) {
        pBook->clear();
        return -1;
    }
    if (FixFrame(szNm, OpCancel, nullptr) == 0)
        return -1;
    return TcpSend();
}

int Tavimor::ReadDt(QString szNm, stDt& stDt)
{
    if (FixFrame(szNm, OpRead, nullptr) == 0)
        return -1;
    const int n = TcpSend();
    if (n <= 0)
        return n;
    // Inside the callback the receive buffers are in use: the reply comes through the callback.
    if (pReader->parsing())
        return n;

    // Updates may arrive before the reply; keep waiting for it until the deadline.
    const quint32 seen = pReader->readReplies();
    QDeadlineTimer deadline(kReadTimeoutMs);
    while (!(pReader->readReplies() != seen && pReader->lastReadName() == szNm) && !deadline.hasExpired()) {
        if (!pSocket->waitForReadyRead(int(deadline.remainingTime())))
            break;
        pReader->read(*pSocket);
    }
    if (!pReader->lastReadName().isEmpty() && pReader->lastReadName() == szNm)
        stDt = pReader->lastRead();
    return n;
}

int Tavimor::WriteDt(QString szNm, stDt stDt)
{
    if (FixFrame(szNm, OpWrite, &stDt) == 0)
        return -1;
    return TcpSend();
}

void Tavimor::TcpRecv()
{
    pReader->read(*pSocket);
}

void Tavimor::TcpErr(QAbstractSocket::SocketError SockErr)
{
    nSockErr = qint16(SockErr);
}

void Tavimor::TcpDis()
{
}

quint32 Tavimor::GetFrameLen(quint16 wLn)
{
    return quint32(wLn) + quint32(kFrameOverhead);
}

int Tavimor::FixFrame(QString szNm, quint8 cCmd, const stDt* pstDt)
{
    if (szNm.isEmpty())
        return 0;
    nSend = 0;
    quint8 cTp = 0;
    quint32 dwTm = 0;
    int valueLen = 0;
    switch (cCmd) {
    case OpBook:
        if (pstDt) {
            valueLen = kNarrowWidth;
            cTp = quint8(pstDt->nTp);
        }
        break;
    case OpCancel:
    case OpRead:
        break;
    case OpWrite:
        if (!pstDt)
            return 0;
        cTp = quint8(pstDt->nTp);
        dwTm = quint32(QDateTime::currentSecsSinceEpoch());
        valueLen = valueLength(cTp, *pstDt);
        break;
    default:
        return 0;
    }

    const QByteArray name = unitName(szNm);
    if (name.isEmpty())
        return 0;

    UnitFrame frame;
    frame.sequence = wSqnNext++;
    frame.command = (cCmd == OpBook || cCmd == OpWrite) ? kCmdData : kCmdPlain;
    frame.op = cCmd;
    frame.name = name.constData();
    frame.nameLen = name.size();
    frame.type = cTp;
    frame.time = dwTm;
    frame.value = valueLen > 0 ? &pstDt->unDt : nullptr;
    frame.valueLen = valueLen;
    nSend = encodeFrame(frame, szSend);
    return nSend;
}

int Tavimor::TcpSend()
{
    if (nSend == 0)
        return 0;
    const qint64 written = pSocket->write(szSend, nSend);
    if (written <= 0)
        return int(written);
    return nSend;
}

int Tavimor::SendBook()
{
    if (nBook == 0)
        return 0;
    // The queue is emptied only when all of it went out: callers append to it
    // after a zero return, and a queue left full would overrun szBook.
    const qint64 written = pSocket->write(szBook, nBook);
    if (written < nBook)
        return -1;
    nBook = 0;
    return 0;
}

QStringList Tavimor::unansweredNames() const
{
    return pBook->names();
}

int Tavimor::lastSocketError() const
{
    return nSockErr;
}

const TavimorReader& Tavimor::reader() const
{
    return *pReader;
}
