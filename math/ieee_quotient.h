#pragma once
#include <cmath>
#include <limits>

// a / b with the result IEEE 754 arithmetic gives, including a zero divisor
// (±infinity, or NaN for 0 / 0 and NaN / 0), without ever dividing by zero:
// the language leaves a division by zero undefined, and the sanitizers and
// trapping floating-point modes treat it as a fault. The maths relies on these
// non-finite results for degenerate input (a zero quaternion, a zero row, a
// zero homogeneous weight).
inline double ieee_quotient(double a, double b)
{
    if (b != 0.0)  // also a NaN divisor: the quotient is NaN
        return a / b;
    if (std::isnan(a) || a == 0.0)
        return std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    return std::signbit(a) != std::signbit(b) ? -infinity : infinity;
}
