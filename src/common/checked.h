#pragma once

#include <cmath>
#include <string>

#include "common/command_failure.h"

// Floating-point faults end a command: a result that overflows its precision, or a division
// by zero, is an error and never a stored infinity or NaN.
namespace ritmova {

inline float CheckedSingle(float value, const char* what) {
    if (!std::isfinite(value))
        throw CommandFailure(std::string(what) + " overflows single precision");
    return value;
}

// Rounds a double result to single precision, failing where it does not fit: from FLT_MAX
// plus half a unit in the last place on, rounding would give infinity.
inline float ToSingle(double value, const char* what) {
    constexpr double RoundsToInfinity = 0x1.ffffffp127;
    if (!(std::fabs(value) < RoundsToInfinity)) {
        throw CommandFailure(std::string(what) + " overflows single precision");
    }
    return static_cast<float>(value);
}

inline double CheckedDouble(double value, const char* what) {
    if (!std::isfinite(value)) throw CommandFailure(std::string(what) + " overflows");
    return value;
}

}  // namespace ritmova
