#pragma once

// Random streams of well-formed update and reply frames, with FA-free garbage
// around them, and a small decoder of their own that says which records a
// correct client delivers. Shared by the split test and the fuzz target; the
// choice source is a seeded generator in one and the fuzzer's bytes in the other.

#include "Tavimor.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>
#include <vector>

namespace wirestream {

/// One piece of a stream: a frame, or garbage a correct client skips.
struct Piece {
    QByteArray bytes;
    bool frame = true;
};

/// Builds streams from choices; Choices has `unsigned pick(unsigned n)` giving 0..n-1.
template <typename Choices>
class Generator
{
public:
    explicit Generator(Choices& choices) : c_(choices) {}

    std::vector<Piece> stream()
    {
        std::vector<Piece> pieces;
        const bool noisy = c_.pick(5) == 0;
        const int frames = 1 + int(c_.pick(c_.pick(8) == 0 ? 40 : 4));
        for (int i = 0; i < frames; ++i) {
            if (noisy && c_.pick(2) == 0)
                pieces.push_back({garbage(), false});
            pieces.push_back({frame(c_.pick(3000) == 1 ? 0xFFFF : 600, 0), true});
        }
        if (noisy)
            pieces.push_back({garbage(), false});
        return pieces;
    }

    /// A frame of units filling at most `room` data bytes; `depth` > 0 inside a text value.
    QByteArray frame(int room, int depth)
    {
        QByteArray units;
        int count = 0;
        const int wanted = room > 600 ? 255 : 1 + int(c_.pick(c_.pick(4) == 0 ? 16 : 2));
        while (count < wanted) {
            const QByteArray u = unit(depth, room > 600);
            if (units.size() + u.size() > room)
                break;
            units += u;
            ++count;
        }
        if (c_.pick(50) == 0) {
            units.clear();
            count = 0;
        }
        QByteArray head = QByteArray::fromHex("FAFAFAFA");
        // Low sequence bytes of FA make runs of five or six FA bytes at the head.
        head.append(char(c_.pick(4) == 0 ? 0xFA : c_.pick(256))).append(char(c_.pick(8) == 0 ? 0xFA : 0));
        head.append(char(2)).append(2, '\0');
        head.append(char(units.size() & 0xFF)).append(char(units.size() >> 8)).append(char(count));
        return head + units + QByteArray::fromHex("EEEE");
    }

private:
    QByteArray unit(int depth, bool large)
    {
        static const unsigned char ops[] = {1, 1, 1, 3, 3, 2, 4, 9};
        static const unsigned char types[] = {64, 64, 128, 0, 8, 1, 4, 200};
        const quint8 op = ops[c_.pick(8)];
        const quint8 type = types[c_.pick(8)];
        QByteArray name = text(large ? 255 : 1 + int(c_.pick(c_.pick(10) == 0 ? 255 : 12)));
        QByteArray value;
        if (type == 64)
            value = textValue(depth, large);
        else
            value = text(c_.pick(8) == 0 ? int(c_.pick(12)) : (type == 128 || type == 0 ? 8 : 4));
        QByteArray out;
        out.append(char(name.size())).append(name);
        out.append(char(0)).append(char(op)).append(char(value.size())).append(char(type)).append(4, '\0');
        return out + value;
    }

    // Text a relaying server may carry: GBK words, head and tail bytes, whole frames.
    QByteArray textValue(int depth, bool large)
    {
        QByteArray out;
        const int parts = large ? 40 : int(c_.pick(4));
        for (int i = 0; i < parts; ++i) {
            switch (c_.pick(4)) {
            case 0: out += QByteArray::fromHex("FAFAFAFA"); break;
            case 1: out += QByteArray::fromHex("EEEE"); break;
            case 2: if (depth == 0) { out += "xx" + frame(60, depth + 1) + "yy"; break; } Q_FALLTHROUGH();
            default: out += text(1 + int(c_.pick(8)));
            }
        }
        return out.left(255);
    }

    // GBK text (ship-style names, Chinese words) with the odd arbitrary byte.
    QByteArray text(int size)
    {
        static const char* const words[] = {"D3-SMK-", "\xBC\xD7\xB0\xE5", "\xD5\xFD\xB3\xA3", "42", "."};
        QByteArray out;
        while (out.size() < size)
            out += c_.pick(6) == 0 ? QByteArray(1, char(c_.pick(256))) : QByteArray(words[c_.pick(5)]);
        return out.left(size);
    }

    QByteArray garbage()
    {
        QByteArray out(1 + int(c_.pick(40)), '\0');
        for (char& b : out)
            b = char(c_.pick(0xFA));
        return out;
    }

    Choices& c_;
};

/// The records a correct client delivers for one well-formed frame, in unit order.
inline void decode(const QByteArray& frame, std::vector<stDt>* records)
{
    const auto* d = reinterpret_cast<const unsigned char*>(frame.constData());
    const int dataLen = d[9] | (d[10] << 8);
    const int count = d[11];
    for (int at = 12, seen = 0; at < 12 + dataLen && seen < count; ++seen) {
        const int nameLen = d[at];
        const int op = d[at + 2 + nameLen];
        const int valueLen = d[at + 3 + nameLen];
        const int type = d[at + 4 + nameLen];
        if (op == 1 || op == 3) {
            stDt r;
            std::memset(&r, 0, sizeof(r));
            r.cStat = op == 3 ? 1 : 0;
            r.nTp = type;
            std::memcpy(r.szNm, d + at + 1, size_t(std::min(nameLen, 128)));
            const int width = type == 64 ? 128 : (type == 128 || type == 0) ? 8 : 4;
            std::memcpy(r.unDt.sz, d + at + 9 + nameLen, size_t(std::min(valueLen, width)));
            records->push_back(r);
        }
        at += 9 + nameLen + valueLen;
    }
}

/// One stream of \a generator as it arrives whole; the records a correct client
/// delivers for it are appended to \a want.
template <typename Choices>
QByteArray assemble(Generator<Choices>& generator, std::vector<stDt>* want)
{
    QByteArray whole;
    for (const Piece& piece : generator.stream()) {
        whole += piece.bytes;
        if (piece.frame)
            decode(piece.bytes, want);
    }
    return whole;
}

/// \a whole cut at random into reads of 1 to \a most bytes.
template <typename Choices>
std::vector<QByteArray> cut(const QByteArray& whole, Choices& choices, unsigned most)
{
    std::vector<QByteArray> reads;
    for (int at = 0; at < whole.size();) {
        const int len = 1 + int(choices.pick(most));
        reads.push_back(whole.mid(at, len));
        at += len;
    }
    return reads;
}

/// True when both lists hold the same names, origins, types and values in the same order.
inline bool sameRecords(const std::vector<stDt>& a, const std::vector<stDt>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const stDt& x, const stDt& y) {
        return std::memcmp(x.szNm, y.szNm, sizeof(x.szNm)) == 0 && x.cStat == y.cStat && x.nTp == y.nTp
            && std::memcmp(x.unDt.sz, y.unDt.sz, sizeof(x.unDt.sz)) == 0;
    });
}

} // namespace wirestream
