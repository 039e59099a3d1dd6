#include "measures/sd_heart_rate.h"

#include <cmath>

#include "common/command_failure.h"

namespace ritmova {
namespace {

// One pass over the window: the sums and extremes the measures start from.
struct WindowSums {
    double differences = 0;  // of RR(i+1) - RR(i)
    double heartRates = 0;   // of 60 / RR(i)
    float smallest = 0;
    float largest = 0;
};

WindowSums sumWindow(std::span<const float> values) {
    WindowSums sums{0, 0, values[0], values[0]};
    float previous = values[0];
    for (std::size_t i = 0; i < values.size(); ++i) {
        const float value = values[i];
        if (!(value > 0)) {
            throw CommandFailure("interval " + std::to_string(i + 1) +
                                 " of the window is not above 0: it has no heart rate");
        }
        sums.heartRates += 60.0 / double{value};
        sums.differences += double{value} - previous;  // 0 for the first
        previous = value;
        if (value < sums.smallest) sums.smallest = value;
        if (value > sums.largest) sums.largest = value;
    }
    return sums;
}

// The standard deviation of the successive differences, with divisor N - 2.
double successiveDifferenceDeviation(std::span<const float> values, double differenceSum) {
    const double differences = static_cast<double>(values.size() - 1);
    const double mean = differenceSum / differences;
    double squares = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        const double deviation = (double{values[i]} - values[i - 1]) - mean;
        squares += deviation * deviation;
    }
    return std::sqrt(squares / (differences - 1));
}

}  // namespace

SdAndHeartRates ComputeSdAndHeartRates(std::span<const float> values, float sdnn) {
    if (values.size() < 3) throw CommandFailure("SD1 and SD2 need at least 3 intervals");
    const WindowSums sums = sumWindow(values);
    SdAndHeartRates measures;
    const double sd1 = successiveDifferenceDeviation(values, sums.differences) / std::sqrt(2.0);
    measures.sd1 = sd1;
    const double sd2Square = 2.0 * double{sdnn} * double{sdnn} - sd1 * sd1;
    if (sd2Square >= 0) measures.sd2 = std::sqrt(sd2Square);
    measures.meanHr = sums.heartRates / static_cast<double>(values.size());
    measures.minHr = 60.0 / double{sums.largest};
    measures.maxHr = 60.0 / double{sums.smallest};
    return measures;
}

}  // namespace ritmova
