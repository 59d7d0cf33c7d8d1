// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>

namespace korvell {

/// A score read from a series: clamped into [0, 10]; NaN (an empty field) reads as 0.
inline double clampScore(double value) {
    if (!(value >= 0.0)) // also catches NaN
        return 0.0;
    return value > 10.0 ? 10.0 : value;
}

/**
 * A score brought to one decimal the way the stored scores always were: the quotient by the
 * double nearest 0.1 in extended precision, rounded half to even, times that double, then
 * narrowed. Because that double is slightly above one tenth, 2.25 gives 2.2 and 8.05 gives 8.1,
 * and 39 tenths give 3.9000000000000004 rather than 3.9.
 */
inline double roundScore(double value) {
    constexpr double tenth = 0.1;
    // rint equals nearbyint under the default rounding mode and skips saving the FP environment.
    const long double n = std::rint(static_cast<long double>(value) / tenth);
    return static_cast<double>(n * tenth);
}

/// Geometric mean of two scores, kept in extended precision.
inline long double geometricMean(long double a, long double b) {
    return std::sqrt(a * b);
}

} // namespace korvell
