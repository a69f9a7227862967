#include "Tavimor.h"

#include "frame_scanner.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDebug>
#include <QHostAddress>
#include <QIODevice>
#include <QLoggingCategory>
#include <QTcpSocket>
#include <QTextCodec>
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
constexpr int kRecordNameLen = 128;
constexpr int kTextCapacity = 128;
// Reads are taken in pieces of the receive buffer's size.
constexpr int kReadChunk = 8192;
// The 16-bit data length allows frames this long; every one of them must survive any cut.
constexpr int kMaxFrameLen = 0xFFFF + kFrameOverhead;
constexpr int kMaxUnitsPerFrame = 0xFF;

Q_LOGGING_CATEGORY(lcWire, "kelvane.tavimor.wire")

// Qt's own text for a socket timeout, so Qt's translations carry it.
const char* const kTimedOutText = "Socket operation timed out";

QTextCodec* gbk()
{
    static QTextCodec* const codec = QTextCodec::codecForName("GBK");
    return codec;
}

bool periodAccepted(int nTm)
{
    return nTm == 0 || nTm >= kMinPeriodMs;
}

// The name in GBK, or an empty array when it cannot be put in a unit: too long,
// or holding characters GBK cannot encode (a replacement would name another point).
QByteArray unitName(const QString& szNm)
{
    QTextCodec::ConverterState state;
    const QByteArray name = gbk()->fromUnicode(szNm.constData(), szNm.size(), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0 || name.size() > kMaxNameLen)
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

// Copies n bytes (at most 128). Names and values are mostly a few bytes long:
// two overlapping word copies beat the string instruction a compiler picks
// for a bounded length by several times.
void copyShort(void* to, const void* from, size_t n)
{
    auto* d = static_cast<char*>(to);
    const auto* s = static_cast<const char*>(from);
    if (n >= 8 && n <= 16) {
        quint64 head, tail;
        std::memcpy(&head, s, 8);
        std::memcpy(&tail, s + n - 8, 8);
        std::memcpy(d, &head, 8);
        std::memcpy(d + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
        quint32 head, tail;
        std::memcpy(&head, s, 4);
        std::memcpy(&tail, s + n - 4, 4);
        std::memcpy(d, &head, 4);
        std::memcpy(d + n - 4, &tail, 4);
    } else {
        for (size_t i = 0; i < n; ++i)
            d[i] = s[i];
    }
}

// Fills a zeroed record from a unit.
void fillRecord(stDt& rec, const UnitView& unit, quint8 cStat)
{
    rec.cStat = cStat;
    rec.nTp = unit.type;
    const int width = unit.type == kTypeText ? kTextCapacity : numericWidth(unit.type);
    copyShort(rec.unDt.sz, unit.value, size_t(std::min(unit.valueLen, width)));
    copyShort(rec.szNm, unit.name, size_t(std::min(unit.nameLen, kRecordNameLen)));
}

int valueLength(quint8 cTp, const stDt& rec)
{
    if (cTp == kTypeText) {
        const void* nul = std::memchr(rec.unDt.sz, 0, sizeof(rec.unDt.sz));
        return nul ? int(static_cast<const unsigned char*>(nul) - rec.unDt.sz) : int(sizeof(rec.unDt.sz));
    }
    return numericWidth(cTp);
}

} // namespace

Tavimor::Tavimor()
    : pSocket(new QTcpSocket(this))
    , pScanner(new FrameScanner(kMaxFrameLen, kReadChunk))
    , pRecs(new stDt[kMaxUnitsPerFrame]())
    , pConnectTimer(new QTimer(this))
{
    connect(pSocket, SIGNAL(readyRead()), this, SLOT(TcpRecv()));
    connect(pSocket, SIGNAL(error(QAbstractSocket::SocketError)), this, SLOT(TcpErr(QAbstractSocket::SocketError)));
    connect(pSocket, SIGNAL(disconnected()), this, SLOT(TcpDis()));
    connect(pSocket, &QAbstractSocket::stateChanged, this, &Tavimor::OnSocketState);
    connect(pSocket, &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) { emit errorOccurred(error, pSocket->errorString()); });
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
    lstBook.clear();
}

int Tavimor::InitSvr(QString szIp, quint16 uPt)
{
    QHostAddress addr;
    if (!addr.setAddress(szIp))
        return -1;
    BeginConnect(addr, uPt);
    return pSocket->waitForConnected(kConnectTimeoutMs) ? 1 : 0;
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
    pScanner->reset();
    pSocket->connectToHost(addr, uPt, QIODevice::ReadWrite);
    pConnectTimer->start(kConnectTimeoutMs);
}

void Tavimor::OnSocketState(QAbstractSocket::SocketState socketState)
{
    const State next = stateOf(socketState, eState);
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
        while (!lstBook.isEmpty())
            TryDt(lstBook.takeFirst(), 0, 0);
        return SendBook();
    }
    if (lstBook.size() > kMaxUnanswered)
        return -2;
    ++nBookCnt;
    if (!periodAccepted(nTm))
        return -1;
    stDt rec{};
    rec.nTp = kTypePeriod;
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
    lstBook.append(szNm);
    std::memcpy(szBook + nBook, szSend, size_t(len));
    nBook += len;
    return nCmt == kCommit ? SendBook() : 0;
}

int Tavimor::TryDt(QString szNm, int nTm, int nCmt)
{
    if (szNm.isEmpty() || szNm.at(0).isNull() || !periodAccepted(nTm))
        return -1;
    stDt rec{};
    rec.nTp = kTypePeriod;
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
        lstBook.clear();
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
    if (bParsing)
        return n;

    // Updates may arrive before the reply; keep waiting for it until the deadline.
    const quint32 seen = nRdSeen;
    QDeadlineTimer deadline(kReadTimeoutMs);
    while (!(nRdSeen != seen && szRdNm == szNm) && !deadline.hasExpired()) {
        if (!pSocket->waitForReadyRead(int(deadline.remainingTime())))
            break;
        RecvFrom(*pSocket);
    }
    if (!szRdNm.isEmpty() && szRdNm == szNm)
        stDt = stRdDt;
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
    RecvFrom(*pSocket);
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
    stIoUt ut{};
    ut.cMd = cCmd;
    int valueLen = 0;
    switch (cCmd) {
    case OpBook:
        if (pstDt) {
            valueLen = kNarrowWidth;
            ut.cTp = quint8(pstDt->nTp);
        }
        break;
    case OpCancel:
    case OpRead:
        break;
    case OpWrite:
        if (!pstDt)
            return 0;
        ut.cTp = quint8(pstDt->nTp);
        ut.dwTm = quint32(QDateTime::currentSecsSinceEpoch());
        valueLen = valueLength(ut.cTp, *pstDt);
        break;
    default:
        return 0;
    }
    ut.cLn = quint8(valueLen);

    const QByteArray name = unitName(szNm);
    if (name.isEmpty())
        return 0;

    stIoHd hd{};
    hd.stId.dwID = kHeadId;
    hd.wSqn = wSqnNext++;
    hd.cCmd = (cCmd == OpBook || cCmd == OpWrite) ? kCmdData : kCmdPlain;
    hd.cSm = 1;
    hd.wLn = quint16(name.size() + valueLen + kUnitOverhead);

    char* out = szSend;
    std::memcpy(out, &hd, sizeof(hd));
    out += sizeof(hd);
    *out++ = char(name.size());
    std::memcpy(out, name.constData(), size_t(name.size()));
    out += name.size();
    std::memcpy(out, &ut, sizeof(ut));
    out += sizeof(ut);
    if (valueLen > 0)
        std::memcpy(out, &pstDt->unDt, size_t(valueLen));
    out += valueLen;
    *out++ = char(kTailByte);
    *out++ = char(kTailByte);
    nSend = int(out - szSend);
    return nSend;
}

void Tavimor::AnalysFrame(int nRecv)
{
    if (nRecv != 0)
        qCDebug(lcWire, "接收应答数据长度: %d", nRecv);
    bParsing = true;
    pScanner->scan(nRecv, [this](const char* pFrame, const stIoHd& hd) { TakeFrame(pFrame, hd, pRecs.get()); });
    bParsing = false;
}

void Tavimor::TakeFrame(const char* pFrame, const stIoHd& hd, stDt* recs)
{
    if (hd.wLn == 0 || hd.cSm == 0)
        return;
    const int count = ParseUnits(pFrame + sizeof(stIoHd), hd, recs);
    if (count == 0)
        return;
    if (pfnBook)
        pfnBook(recs, count, 1);
    if (fnHandler && pHandlerContext)
        fnHandler(recs, count);
    // The next frame gets a zeroed array again.
    std::memset(static_cast<void*>(recs), 0, sizeof(stDt) * size_t(count));
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

void Tavimor::RecvFrom(QIODevice& dev)
{
    // A nested call from the callback leaves the bytes to the running parse's loop.
    if (bParsing)
        return;
    while (dev.bytesAvailable() > 0) {
        const qint64 got = dev.read(pScanner->space(), std::min(pScanner->room(), kReadChunk));
        if (got <= 0)
            break;
        AnalysFrame(int(got));
    }
}

int Tavimor::ParseUnits(const char* pData, const stIoHd& hd, stDt* recs)
{
    int made = 0;
    walkUnits(pData, hd.wLn, hd.cSm, [&](const UnitView& unit) {
        if (unit.op == OpBook) {
            // Filled in place: the array is zeroed, and copying a whole record per
            // unit cost as much as the rest of the parse.
            fillRecord(recs[made++], unit, 0);
            // Decoded from the whole name: a name over 128 bytes would never match its cut copy.
            if ((pfnBook || fnHandler) && !lstBook.isEmpty())
                lstBook.removeOne(gbk()->toUnicode(unit.name, unit.nameLen));
        } else if (unit.op == OpRead) {
            szRdNm = gbk()->toUnicode(unit.name, unit.nameLen);
            stRdDt = stDt{};
            fillRecord(stRdDt, unit, 1);
            recs[made++] = stRdDt;
            ++nRdSeen;
        }
    });
    return made;
}
