#pragma once

// Reaches the client's parser without a socket, as the tests do: the client
// names this class its friend.

#include "Tavimor.h"
#include "frame_scanner.h"

#include <algorithm>
#include <cstring>

class TavimorTestAccess
{
public:
    static void setCallback(Tavimor& client, void (*callback)(stDt*, int, int)) { client.pfnBook = callback; }
    /// Booked names still waiting for their first update.
    static int unansweredCount(const Tavimor& client) { return client.lstBook.size(); }

    /// Hands `len` bytes to the parser in reads of 8 KiB at most, as a socket read would.
    static void feed(Tavimor& client, const char* bytes, int len)
    {
        constexpr int kReadChunk = 8192;
        while (len > 0) {
            const int n = std::min({client.pScanner->room(), kReadChunk, len});
            std::memcpy(client.pScanner->space(), bytes, size_t(n));
            client.AnalysFrame(n);
            bytes += n;
            len -= n;
        }
    }
};
