#pragma once

/// The one back-off the station's link follows, for connection attempts and for
/// writes the server did not take alike: the first retry after 1 s, each
/// following one after twice the pause before, never more than 16 s. A success
/// starts the series again.
class RetryPolicy
{
public:
    static constexpr int kFirstMs = 1000;
    static constexpr int kLongestMs = 16000;

    /// The pause before the next retry; the one after will be twice as long.
    int next();
    /// Starts again from the first pause, after a success.
    void reset();

private:
    int delay_ms_ = kFirstMs;
};
