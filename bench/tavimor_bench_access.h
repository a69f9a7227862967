#pragma once

// Reaches the client's parser without a socket, as the tests do: the client
// names this class its friend.

#include "Tavimor.h"

#include <algorithm>
#include <cstring>

class TavimorTestAccess
{
public:
    static void setCallback(Tavimor& client, void (*callback)(stDt*, int, int)) { client.pfnBook = callback; }
    /// Booked names still waiting for their first update.
    static int unansweredCount(const Tavimor& client) { return client.lstBook.size(); }

    /// Hands `len` bytes to the parser in reads as large as the receive buffer
    /// allows beside the carried remainder (8 KiB at most), as a socket read would.
    static void feed(Tavimor& client, const char* bytes, int len)
    {
        while (len > 0) {
            const int room = int(sizeof(client.szRecv)) - client.nRest;
            const int n = std::min(room, len);
            std::memcpy(client.szRecv, bytes, size_t(n));
            client.nRecv = n;
            client.AnalysFrame();
            bytes += n;
            len -= n;
        }
    }
};
