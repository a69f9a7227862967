#pragma once

// A client connected to an in-test server on 127.0.0.1, so every byte the client
// sends can be checked and every byte it receives is chosen by the test.

#include "Tavimor.h"
#include "tavimor_reader.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <cstring>
#include <vector>

/// One callback invocation: its records, count and third argument.
struct CallbackCall {
    std::vector<stDt> records;
    int count = 0;
    int flag = 0;
};

inline std::vector<CallbackCall>& callbackCalls()
{
    static std::vector<CallbackCall> calls;
    return calls;
}

inline void recordCallback(stDt* records, int count, int flag)
{
    callbackCalls().push_back({std::vector<stDt>(records, records + count), count, flag});
}

/// Hands every frame's records to \a callback, with the flag 1 the client's own callback gets.
inline void deliverTo(Tavimor& client, void (*callback)(stDt*, int, int))
{
    client.setRecordHandler(&client, [callback](stDt* records, int count) { callback(records, count, 1); });
}

/// The same for a reader fed by hand.
inline void deliverTo(TavimorReader& reader, void (*callback)(stDt*, int, int))
{
    reader.setRecordHandler([callback](stDt* records, int count) { callback(records, count, 1); });
}

/// Frame bytes from a hex row; spaces keep the rows readable.
inline QByteArray hex(const char* row)
{
    return QByteArray::fromHex(row);
}

/// The record's name as a byte string (at most 128 bytes, no terminator needed).
inline QByteArray recordName(const stDt& record)
{
    return QByteArray(record.szNm, int(strnlen(record.szNm, sizeof(record.szNm))));
}

class PeerFixture : public ::testing::Test
{
protected:
    static constexpr int kWaitMs = 3000;

    void SetUp() override
    {
        callbackCalls().clear();
        ASSERT_TRUE(server_.listen(QHostAddress::LocalHost));
        ASSERT_EQ(client_.InitSvr(QStringLiteral("127.0.0.1"), server_.serverPort()), 1);
        ASSERT_TRUE(server_.waitForNewConnection(kWaitMs));
        peer_ = server_.nextPendingConnection();
        ASSERT_NE(peer_, nullptr);
    }

    /// Waits for `size` bytes from the client (the event loop flushes its socket); fewer on timeout.
    QByteArray fromClient(int size)
    {
        if (!QTest::qWaitFor([&] { return peer_->bytesAvailable() >= size; }, kWaitMs))
            ADD_FAILURE() << "client sent " << peer_->bytesAvailable() << " of " << size << " bytes";
        return peer_->read(size);
    }

    void toClient(const QByteArray& bytes)
    {
        peer_->write(bytes);
        peer_->flush();
    }

    bool waitForCalls(size_t count)
    {
        return QTest::qWaitFor([&] { return callbackCalls().size() >= count; }, kWaitMs);
    }

    /// Waits until the client has consumed everything sent and kept `rest` bytes for later.
    bool waitForRest(int rest)
    {
        return QTest::qWaitFor([&] { return client_.reader().pending() == rest; }, kWaitMs);
    }

    QTcpServer server_;
    Tavimor client_;
    QTcpSocket* peer_ = nullptr;
};
