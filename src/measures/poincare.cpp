#include "measures/poincare.h"

#include <cmath>

#include "common/checked.h"

namespace ritmova {

std::optional<double> PoincareCorrelation(std::span<const float, BeatCount> deviations) {
    float sxy = 0;
    double sxx = 0;
    double syy = 0;
    for (std::size_t i = 1; i < BeatCount; ++i) {
        const float later = deviations[i];
        const float earlier = deviations[i - 1];
        sxy = CheckedSingle(sxy + CheckedSingle(later * earlier, "r"), "r");
        sxx += double{later} * double{later};
        syy += double{earlier} * double{earlier};
    }
    const double denominator = std::pow(sxx * syy, 0.5);
    if (denominator == 0 || !std::isfinite(denominator)) return std::nullopt;
    return double{sxy} / denominator;
}

}  // namespace ritmova
