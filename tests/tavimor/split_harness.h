#pragma once

#include "tavimor_reader.h"

#include <QByteArray>

#include <vector>

/// The client's reader fed by hand, whose records are collected through its
/// record handler: what the split test and its fuzz target compare with the
/// decoder's records.
struct SplitHarness {
    SplitHarness()
    {
        reader.setRecordHandler([this](stDt* r, int n) { got.insert(got.end(), r, r + n); });
    }

    /// Feeds \a reads as a new stream and returns the records delivered.
    std::vector<stDt> deliver(const std::vector<QByteArray>& reads)
    {
        got.clear();
        reader.reset();
        for (const QByteArray& read : reads)
            reader.feed(read.constData(), read.size());
        return got;
    }

    TavimorReader reader;
    std::vector<stDt> got;
};
