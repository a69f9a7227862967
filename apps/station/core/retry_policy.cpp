#include "retry_policy.h"

#include <algorithm>

int RetryPolicy::next()
{
    const int delay = delay_ms_;
    delay_ms_ = std::min(delay_ms_ * 2, kLongestMs);
    return delay;
}

void RetryPolicy::reset()
{
    delay_ms_ = kFirstMs;
}
