#pragma once

#include "Geometry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const Size &s, std::ostream *os)
{
    *os << '(' << s.width << " × " << s.height << ')';
}
inline void PrintTo(const Rect &r, std::ostream *os)
{
    *os << '(' << r.origin.x << ", " << r.origin.y << ", " << r.size.width << " × " << r.size.height << ')';
}

// Frames come out of sums of fractions; compare them to a hair.
inline testing::AssertionResult rectNear(const Rect &actual, const Rect &expected)
{
    const bool near = std::abs(actual.origin.x - expected.origin.x) <= 1e-9
        && std::abs(actual.origin.y - expected.origin.y) <= 1e-9
        && std::abs(actual.size.width - expected.size.width) <= 1e-9
        && std::abs(actual.size.height - expected.size.height) <= 1e-9;
    if (near)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
        << testing::PrintToString(actual) << " is not " << testing::PrintToString(expected);
}

// Usable by a window: every number finite and no negative size.
inline bool isSound(const Rect &r)
{
    return std::isfinite(r.origin.x) && std::isfinite(r.origin.y) && std::isfinite(r.size.width)
        && std::isfinite(r.size.height) && r.size.width >= 0 && r.size.height >= 0;
}
