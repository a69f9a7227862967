#pragma once

#include <cmath>

namespace harq {

/// Rounds to the nearest integer, halves upward (-2.5 to -2, 2.5 to 3), as
/// Qt 5's qRound does. Qt 6's qRound takes halves away from zero, which would
/// make a view move or zoom a different number of steps on Qt 6 than on Qt 5
/// for the same negative half.
inline int roundHalfUp(double value)
{
    return int(std::floor(value + 0.5));
}

} // namespace harq
