#pragma once

#include "CIOType.h"
#include "frame_units.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace tavimorio {

/**
 * Cuts a received byte stream into frames, for the client and the data server
 * alike. What it hands out depends only on the bytes, never on how the reads
 * cut them, and it costs time linear in the bytes received whatever they are.
 *
 * The rule:
 * - A head that starts where the previous complete frame ended (or at the start
 *   of the stream) is trusted: its bytes are waited for, up to the largest
 *   frame the owner accepts, and its frame is taken when the tail EE EE stands
 *   at the announced place.
 * - A head is false when it announces a frame longer than that largest frame,
 *   when its tail is not at the announced place, or, while its frame is still
 *   incomplete, when the bytes already there show that its data part cannot
 *   hold units: no unit announced, or a first unit that cannot fit (name and
 *   descriptor or value longer than the data part, or a non-zero marker byte).
 *   A complete frame with its tail is taken whatever its units.
 * - A run of more than four FA bytes holds several heads (a stray FA before a
 *   head, or a sequence number whose low byte is FA). They are judged in order,
 *   each waited for as above, and the first that is not false is taken. Nothing
 *   behind the run is looked at before that: text values may carry bytes that
 *   look like whole frames.
 * - After a false head or bytes that are no head, the scanner resynchronises:
 *   it looks for the next head one byte after the false one, skipping garbage,
 *   and judges it by the same rules. A head is only looked for where 14 bytes
 *   (the shortest frame) have arrived, so when no head is found the last 13
 *   bytes are kept for the next read.
 *
 * Every byte position is tested for a head at most once and every head judged
 * in constant time when enough of it has arrived; waiting bytes are moved at
 * most once per byte received. The scanner reads into its own buffer, which
 * holds the largest frame twice plus two reads, allocated once.
 */
class FrameScanner
{
public:
    /// Counts since the last takeCounts().
    struct Counts {
        int falseHeads = 0;
        qint64 skippedBytes = 0; ///< bytes passed over while looking for a head
    };

    /// A scanner for frames of at most \a maxFrameLen bytes, read in pieces of
    /// at most \a readChunk bytes.
    FrameScanner(int maxFrameLen, int readChunk)
        : maxFrameLen_(maxFrameLen)
        , capacity_(2 * (maxFrameLen + readChunk))
        , readChunk_(readChunk)
        , buffer_(new char[size_t(capacity_)])
    {
    }

    /// Where the next read goes: room() bytes, at least the read chunk.
    char* space() { return buffer_.get() + end_; }
    int room() const { return capacity_ - end_; }

    /// Scans \a received bytes just written to space(), calling
    /// onFrame(const char* frame, const stIoHd& header) for every complete frame.
    /// The frame's bytes are valid during the call only. When onFrame calls
    /// reset(), the scan ends and nothing of the old stream is kept: the loop
    /// works from the scanner's state, never from copies taken before the call.
    template <typename OnFrame>
    void scan(int received, OnFrame&& onFrame);

    /// Forgets every byte held: the next byte starts a new stream.
    void reset()
    {
        begin_ = end_ = runEnd_ = 0;
        mode_ = Mode::Boundary;
    }

    /// Bytes held for a frame or head that is not complete yet.
    int pending() const { return end_ - begin_; }

    Counts takeCounts()
    {
        const Counts counts = counts_;
        counts_ = Counts();
        return counts;
    }

private:
    enum class Mode { Boundary, Search, Candidate };
    enum class Verdict { Wait, False, Frame };

    Verdict judge(const char* p, int avail, stIoHd* hd) const
    {
        if (avail < kFrameOverhead)
            return Verdict::Wait;
        std::memcpy(hd, p, sizeof(*hd));
        const int len = int(hd->wLn) + kFrameOverhead;
        if (len > maxFrameLen_)
            return Verdict::False;
        if (avail < len) {
            // A data part that is not empty holds at least one unit.
            if (hd->cSm == 0)
                return Verdict::False;
            int announced = 0;
            const int dataAvail = std::min(avail - int(sizeof(stIoHd)), int(hd->wLn));
            const UnitStop first = checkUnit(p + sizeof(stIoHd), hd->wLn, dataAvail, &announced);
            return first == UnitStop::End || first == UnitStop::Undecided ? Verdict::Wait : Verdict::False;
        }
        const char* tail = p + len - kTailLen;
        return quint8(tail[0]) == kTailByte && quint8(tail[1]) == kTailByte ? Verdict::Frame : Verdict::False;
    }

    // First head in p[0..last], or -1. Heads close together (hostile streams)
    // are found byte by byte, long stretches without one by memchr.
    static int findHead(const char* p, int last)
    {
        constexpr int kNear = 16;
        for (int i = 0; i <= last; ++i) {
            if (i % kNear == 0 && quint8(p[i]) != 0xFA) {
                const void* fa = std::memchr(p + i, 0xFA, size_t(last - i + 1));
                if (!fa)
                    return -1;
                i = int(static_cast<const char*>(fa) - p);
            }
            if (quint8(p[i]) == 0xFA && isHeadAt(p + i))
                return i;
        }
        return -1;
    }

    // Heads deep inside a run of FA bytes announce a frame of FA bytes whose
    // first unit has the marker FA, or one too long: each is false as judge()
    // would find, so they are counted and passed in one step. The run's end is
    // found once, which keeps a stream of FA bytes linear and cheap.
    void skipDeepHeads()
    {
        constexpr int kAllFaLen = 0xFAFA + kFrameOverhead;
        // Bytes from a head that must be FA: its header, or (when such a frame
        // may be held) up to its first unit's marker, behind a 250-byte name.
        const int deep = int(sizeof(stIoHd)) + (kAllFaLen > maxFrameLen_ ? 0 : 1 + 0xFA + 1);
        // A head whose whole frame has arrived is judged by its tail instead.
        if (kAllFaLen <= maxFrameLen_ && begin_ + kAllFaLen <= end_)
            return;
        if (runEnd_ <= begin_) {
            runEnd_ = begin_;
            while (runEnd_ < end_ && quint8(buffer_[size_t(runEnd_)]) == 0xFA)
                ++runEnd_;
        }
        const int last = runEnd_ - deep;
        if (last < begin_)
            return;
        counts_.falseHeads += last - begin_ + 1;
        begin_ = last + 1;
    }

    // Moves the held bytes to the front once the room left is less than a read.
    void compact()
    {
        if (room() >= readChunk_ || begin_ == 0)
            return;
        std::memmove(buffer_.get(), buffer_.get() + begin_, size_t(end_ - begin_));
        end_ -= begin_;
        runEnd_ = std::max(0, runEnd_ - begin_);
        begin_ = 0;
    }

    const int maxFrameLen_;
    const int capacity_;
    const int readChunk_;
    std::unique_ptr<char[]> buffer_;
    int begin_ = 0;
    int end_ = 0;
    // End of the run of FA bytes last measured (see skipDeepHeads).
    int runEnd_ = 0;
    Mode mode_ = Mode::Boundary;
    Counts counts_;
};

template <typename OnFrame>
void FrameScanner::scan(int received, OnFrame&& onFrame)
{
    end_ += received;
    for (;;) {
        const char* p = buffer_.get() + begin_;
        const int avail = end_ - begin_;
        if (mode_ == Mode::Boundary) {
            if (avail < kFrameOverhead)
                break;
            mode_ = isHeadAt(p) ? Mode::Candidate : Mode::Search;
        } else if (mode_ == Mode::Search) {
            const int head = findHead(p, avail - kFrameOverhead);
            const int skip = head >= 0 ? head : std::max(0, avail - (kFrameOverhead - 1));
            counts_.skippedBytes += skip;
            begin_ += skip;
            if (head < 0)
                break;
            mode_ = Mode::Candidate;
        } else {
            stIoHd hd;
            const Verdict verdict = judge(p, avail, &hd);
            if (verdict == Verdict::Wait)
                break;
            if (verdict == Verdict::False) {
                // The next head of a run is judged next; otherwise look further.
                ++counts_.falseHeads;
                ++begin_;
                mode_ = isHeadAt(p + 1) ? Mode::Candidate : Mode::Search;
                if (mode_ == Mode::Candidate)
                    skipDeepHeads();
                continue;
            }
            begin_ += int(hd.wLn) + kFrameOverhead;
            mode_ = Mode::Boundary;
            onFrame(p, hd);
        }
    }
    compact();
}

} // namespace tavimorio
