#include <algorithm>
#include <cmath>

#include "analysis/recording.h"
#include "common/command_failure.h"

namespace ritmova {
namespace {

// The standard deviation of the successive differences, with divisor N - 2.
double successiveDifferenceDeviation(std::span<const float> values) {
    const std::size_t differences = values.size() - 1;
    double sum = 0;
    for (std::size_t i = 1; i < values.size(); ++i) sum += double{values[i]} - values[i - 1];
    const double mean = sum / static_cast<double>(differences);
    double squares = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        const double deviation = (double{values[i]} - values[i - 1]) - mean;
        squares += deviation * deviation;
    }
    return std::sqrt(squares / static_cast<double>(differences - 1));
}

void requirePositive(std::span<const float> values) {
    const auto bad = std::find_if(values.begin(), values.end(), [](float v) { return !(v > 0); });
    if (bad != values.end()) {
        const auto beat = std::to_string(bad - values.begin() + 1);
        throw CommandFailure("interval " + beat +
                             " of the window is not above 0: it has no heart rate");
    }
}

void computeHeartRates(std::span<const float> values, ExtraMeasures& measures) {
    double sum = 0;
    for (float value : values) sum += 60.0 / double{value};
    measures.meanHr = sum / static_cast<double>(values.size());
    const auto [smallest, largest] = std::minmax_element(values.begin(), values.end());
    measures.minHr = 60.0 / double{*largest};
    measures.maxHr = 60.0 / double{*smallest};
}

}  // namespace

ExtraMeasures ComputeExtraMeasures(std::span<const float> values, float sdnn) {
    if (values.size() < 3) throw CommandFailure("SD1 and SD2 need at least 3 intervals");
    requirePositive(values);
    ExtraMeasures measures;
    const double sd1 = successiveDifferenceDeviation(values) / std::sqrt(2.0);
    measures.sd1 = sd1;
    const double sd2Square = 2.0 * double{sdnn} * double{sdnn} - sd1 * sd1;
    if (sd2Square >= 0) measures.sd2 = std::sqrt(sd2Square);
    computeHeartRates(values, measures);
    return measures;
}

}  // namespace ritmova
