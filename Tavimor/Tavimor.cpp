#include "Tavimor.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDebug>
#include <QHostAddress>
#include <QIODevice>
#include <QTcpSocket>
#include <QTextCodec>

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

QTextCodec* gbk()
{
    static QTextCodec* const codec = QTextCodec::codecForName("GBK");
    return codec;
}

bool periodAccepted(int nTm)
{
    return nTm == 0 || nTm >= kMinPeriodMs;
}

// First head position in [0, last], or -1.
int findHead(const char* p, int last)
{
    for (int i = 0; i <= last; ++i) {
        if (isHeadAt(p + i))
            return i;
    }
    return -1;
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
{
    connect(pSocket, SIGNAL(readyRead()), this, SLOT(TcpRecv()));
    connect(pSocket, SIGNAL(error(QAbstractSocket::SocketError)), this, SLOT(TcpErr(QAbstractSocket::SocketError)));
    connect(pSocket, SIGNAL(disconnected()), this, SLOT(TcpDis()));
}

Tavimor::~Tavimor()
{
    pSocket->abort();
    lstBook.clear();
}

int Tavimor::InitSvr(QString szIp, quint16 uPt)
{
    QHostAddress addr;
    if (!addr.setAddress(szIp))
        return -1;
    nSockErr = -1;
    pSocket->abort();
    // A partial frame of the old connection must not be joined to the new stream.
    nRest = 0;
    pSocket->connectToHost(addr, uPt, QIODevice::ReadWrite);
    return pSocket->waitForConnected(kConnectTimeoutMs) ? 1 : 0;
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
    if (len == 0 || !pfnBook)
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

    const QByteArray name = gbk()->fromUnicode(szNm);
    if (name.size() > kMaxNameLen)
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

bool Tavimor::AnalysFrame()
{
    if (nRecv != 0)
        qDebug() << "接收应答数据长度:" << nRecv;
    if (nRest > 0) {
        std::memmove(szRecv + nRest, szRecv, size_t(nRecv));
        std::memcpy(szRecv, szRest, size_t(nRest));
        nRecv += nRest;
        nRest = 0;
    }

    bParsing = true;
    bool kept = true;
    int pos = 0;
    int left = nRecv;
    while (left >= kFrameOverhead) {
        const int head = findHead(szRecv + pos, left - kFrameOverhead);
        if (head < 0) {
            // Give up on the garbage but keep the bytes that may start a head cut by the read.
            pos += left - (kFrameOverhead - 1);
            left = kFrameOverhead - 1;
            kept = false;
            break;
        }
        pos += head;
        left -= head;
        std::memcpy(&stRcvHd, szRecv + pos, sizeof(stRcvHd));
        const int frameLen = int(GetFrameLen(stRcvHd.wLn));
        if (frameLen > left) {
            // Wait for the rest only while it can still be held and no whole frame
            // behind it shows the head to be false.
            if (frameLen <= int(sizeof(szRecv)) && left <= int(sizeof(szRest))
                && !holdsCompleteFrame(szRecv + pos, left))
                break;
            ++pos;
            --left;
            continue;
        }
        const char* tail = szRecv + pos + frameLen - kTailLen;
        if (quint8(tail[0]) != kTailByte || quint8(tail[1]) != kTailByte) {
            // A false head; a real one may start inside it, so step one byte only.
            ++pos;
            --left;
            continue;
        }
        if (stRcvHd.wLn != 0 && stRcvHd.cSm != 0) {
            std::unique_ptr<stDt[]> recs(new stDt[stRcvHd.cSm]());
            const int count = ParseUnits(szRecv + pos + sizeof(stIoHd), recs.get());
            if (pfnBook && count > 0)
                pfnBook(recs.get(), count, 1);
        }
        pos += frameLen;
        left -= frameLen;
    }
    std::memcpy(szRest, szRecv + pos, size_t(left));
    nRest = left;
    nRecv = 0;
    bParsing = false;
    return kept;
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
    // Never read more than fits beside the carried remainder; large reads take several passes.
    while (dev.bytesAvailable() > 0) {
        const qint64 room = qint64(sizeof(szRecv)) - nRest;
        const qint64 got = dev.read(szRecv, room);
        if (got <= 0)
            break;
        nRecv = int(got);
        AnalysFrame();
    }
}

int Tavimor::ParseUnits(const char* pData, stDt* pRecs)
{
    const int dataLen = stRcvHd.wLn;
    int offset = 0;
    int seen = 0;
    int made = 0;
    int lastUpd = -1;
    while (offset < dataLen) {
        if (++seen > stRcvHd.cSm)
            break;
        const int room = dataLen - offset;
        const int nameLen = quint8(pData[offset]);
        if (nameLen + kUnitOverhead > room)
            break;
        stRcvNm.cLn = quint8(nameLen);
        std::memcpy(stRcvNm.szNm, pData + offset + 1, size_t(nameLen));
        stRcvNm.szNm[nameLen] = '\0';
        std::memcpy(&stRcvUt, pData + offset + 1 + nameLen, sizeof(stRcvUt));
        if (stRcvUt.chr != 0)
            break;
        const int valueLen = stRcvUt.cLn;
        if (valueLen > room - nameLen - kUnitOverhead)
            break;
        const char* value = pData + offset + kUnitOverhead + nameLen;
        if (stRcvUt.cMd == OpBook) {
            // Filled in place: the array is zeroed, and copying a whole record per
            // unit cost as much as the rest of the parse.
            lastUpd = made;
            FillRecord(pRecs[made++], value, 0);
            // Decoded from the whole name: a name over 128 bytes would never match its cut copy.
            if (pfnBook && !lstBook.isEmpty())
                lstBook.removeOne(gbk()->toUnicode(stRcvNm.szNm, nameLen));
        } else if (stRcvUt.cMd == OpRead) {
            szRdNm = gbk()->toUnicode(stRcvNm.szNm, nameLen);
            stRdDt = stDt{};
            FillRecord(stRdDt, value, 1);
            pRecs[made++] = stRdDt;
            ++nRdSeen;
        }
        offset += valueLen + nameLen + kUnitOverhead;
    }
    if (lastUpd >= 0)
        stUpdDt = pRecs[lastUpd];
    return made;
}

void Tavimor::FillRecord(stDt& rec, const char* pValue, quint8 cStat) const
{
    rec.cStat = cStat;
    rec.nTp = stRcvUt.cTp;
    const int width = stRcvUt.cTp == kTypeText ? kTextCapacity : numericWidth(stRcvUt.cTp);
    std::memcpy(rec.unDt.sz, pValue, size_t(std::min<int>(stRcvUt.cLn, width)));
    std::memcpy(rec.szNm, stRcvNm.szNm, size_t(std::min<int>(stRcvNm.cLn, kRecordNameLen)));
}
