#include "trend_buffer.h"

#include <limits>

void TrendBuffer::add(int id, qint64 msecs, double value)
{
    std::deque<Sample>& samples = samples_[id];
    if (!samples.empty() && samples.back().value == value)
        return;
    samples.push_back({msecs, value});
    if (samples.size() > kSamples)
        samples.pop_front();
}

void TrendBuffer::seed(int id, const std::deque<Sample>& older)
{
    std::deque<Sample>& samples = samples_[id];
    const qint64 newer = samples.empty() ? std::numeric_limits<qint64>::max() : samples.front().msecs;
    for (auto it = older.rbegin(); it != older.rend() && samples.size() < kSamples; ++it) {
        if (it->msecs < newer)
            samples.push_front(*it);
    }
}

const std::deque<TrendBuffer::Sample>& TrendBuffer::of(int id) const
{
    static const std::deque<Sample> none;
    const auto it = samples_.find(id);
    return it == samples_.end() ? none : *it;
}
