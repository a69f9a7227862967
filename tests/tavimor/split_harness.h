#pragma once

#include "Tavimor.h"
#include "tavimor_test_access.h"

#include <QByteArray>
#include <QObject>

#include <vector>

/// A client fed by hand, whose records are collected through its record handler:
/// what the split test and its fuzz target compare with the decoder's records.
struct SplitHarness {
    SplitHarness()
    {
        client.setRecordHandler(&context, [this](stDt* r, int n) { got.insert(got.end(), r, r + n); });
    }

    /// Feeds \a reads as a new stream and returns the records delivered.
    std::vector<stDt> deliver(const std::vector<QByteArray>& reads)
    {
        got.clear();
        TavimorTestAccess::newStream(client);
        for (const QByteArray& read : reads)
            TavimorTestAccess::receive(client, read);
        return got;
    }

    QObject context;
    Tavimor client;
    std::vector<stDt> got;
};
