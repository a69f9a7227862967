#pragma once

#include <QHash>

#include <cstddef>
#include <deque>

/// The recent values of each value item, for its trend: one sample per change,
/// the last kSamples of each item, oldest first.
class TrendBuffer
{
public:
    struct Sample {
        qint64 msecs;
        double value;
    };

    /// The last hour at one value a second, more than any trend shows.
    static constexpr std::size_t kSamples = 3600;

    /// Appends \a value of item \a id at \a msecs, unless the item holds that value already.
    void add(int id, qint64 msecs, double value);
    /// Puts \a older values of item \a id (oldest first, read back from the
    /// history) in front of its samples, as far as they are older than them.
    void seed(int id, const std::deque<Sample>& older);
    /// The samples of item \a id, oldest first.
    const std::deque<Sample>& of(int id) const;

private:
    QHash<int, std::deque<Sample>> samples_;
};
