#pragma once

#include "CIOType.h"
#include "Tavimor.h"
#include "tavimor_export.h"

#include <QString>

#include <functional>
#include <memory>

class QIODevice;

namespace tavimorio {
class FrameScanner;
}

/**
 * Turns the bytes a data server sends into value records, from any QIODevice
 * or byte buffer: Tavimor reads its socket through one, and a host can replay
 * recorded traffic through another without a connection.
 *
 * Bytes are cut into frames by one rule that depends only on the bytes, never
 * on how the reads cut them (tavimorio::FrameScanner describes it): a head
 * where the previous frame ended is waited for up to the largest frame a 16-bit
 * length allows (65,549 bytes), heads in a run of FA bytes are judged in order,
 * and after garbage the next head is looked for one byte at a time. A unit that
 * does not fit its frame ends that frame; the units before it still count.
 * Update units (operation 1) become records with cStat 0, read replies
 * (operation 3) records with cStat 1; other units make none. Names and text
 * values are cut at 128 bytes, and a numeric value whose length differs from
 * its type's width fills what it has and leaves the rest zero.
 *
 * Reads are taken 8 KiB at a time into a buffer of about 144 KiB, allocated
 * with the reader; each is logged at debug level in the category
 * `kelvane.tavimor.wire`. A call made from inside a handler while bytes are
 * being parsed returns at once, leaving the bytes to the running parse.
 */
class TAVIMOR_EXPORT TavimorReader
{
public:
    /// Receives the records of one frame: (records, count), valid during the call only.
    using RecordHandler = std::function<void(stDt*, int)>;
    /// Receives the whole GBK name of every update unit (not cut at 128 bytes), before its frame's records.
    using UpdateNameHandler = std::function<void(const char* name, int len)>;

    TavimorReader();
    ~TavimorReader();
    TavimorReader(const TavimorReader&) = delete;
    TavimorReader& operator=(const TavimorReader&) = delete;

    /// Hands every frame with records to \a handler; an empty handler drops them.
    void setRecordHandler(RecordHandler handler);
    /// Hands the names of update units to \a handler as they are parsed.
    void setUpdateNameHandler(UpdateNameHandler handler);

    /// Reads and parses everything \a device has available now.
    void read(QIODevice& device);
    /// Parses \a len bytes as reads of at most 8 KiB each.
    void feed(const char* bytes, int len);
    /// Forgets a partial frame: the next byte starts a new stream. Called from a
    /// handler, it also ends the parse that called it.
    void reset();

    /// Bytes held for a frame or head that is not complete yet.
    int pending() const;
    /// True while bytes are being parsed (and handlers run).
    bool parsing() const { return parsing_; }
    /// Decoded name of the last read reply received, empty before the first.
    QString lastReadName() const { return lastReadName_; }
    /// Record of the last read reply received (cStat 1), zero before the first.
    const stDt& lastRead() const { return lastRead_; }
    /// Read replies received so far, to tell a fresh reply from an old one.
    quint32 readReplies() const { return readReplies_; }

private:
    void scan(int received);
    void takeFrame(const char* frame, const stIoHd& header);

    std::unique_ptr<tavimorio::FrameScanner> scanner_;
    // One zeroed record per possible unit, reused by every frame and zeroed again after delivery.
    std::unique_ptr<stDt[]> records_;
    RecordHandler onRecords_;
    UpdateNameHandler onUpdateName_;
    bool parsing_ = false;
    QString lastReadName_;
    stDt lastRead_{};
    quint32 readReplies_ = 0;
};
