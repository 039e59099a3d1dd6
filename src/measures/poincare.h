#pragma once

#include <optional>
#include <span>

#include "measures/beat_series.h"

namespace ritmova {

// The Poincare plot's correlation coefficient r of successive intervals, from their
// deviations from the mean: sum(d[i] d[i-1]) / sqrt(sum d[i]^2 * sum d[i-1]^2) over
// i = 2..256, the product sum in single precision. nullopt when it is undefined (the
// deviations do not vary). Throws CommandFailure when the product sum overflows.
std::optional<double> PoincareCorrelation(std::span<const float, BeatCount> deviations);

}  // namespace ritmova
