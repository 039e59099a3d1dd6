#include "report/plot_scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace ritmova {
namespace {

// The power of ten of a magnitude, safe from log10's last-bit error at exact powers.
int powerOfTen(double magnitude) {
    return static_cast<int>(std::floor(std::log10(magnitude) + 1e-9));
}

// The number of steps of `step` from the multiple at or below `low` to the one at or above
// `high`; a quotient a rounding away from a whole number is that number.
double stepsCovering(double low, double high, double step) {
    return std::ceil(high / step - 1e-9) - std::floor(low / step + 1e-9);
}

double roundStep(double low, double high, int maxTicks) {
    const double span = high - low;
    const int intervals = std::max(1, maxTicks - 1);
    double power = std::pow(10.0, std::floor(std::log10(span / intervals)));
    for (;;) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            if (stepsCovering(low, high, factor * power) <= intervals) return factor * power;
        }
        power *= 10;
    }
}

}  // namespace

AxisTicks NiceTicks(double dataLow, double dataHigh, int maxTicks) {
    if (!std::isfinite(dataLow) || !std::isfinite(dataHigh)) return NiceTicks(0, 1, maxTicks);
    if (dataLow > dataHigh) std::swap(dataLow, dataHigh);
    if (dataLow == dataHigh) {
        const double half = dataLow == 0 ? 1 : std::fabs(dataLow) * 0.1;
        return NiceTicks(dataLow - half, dataHigh + half, maxTicks);
    }
    AxisTicks ticks;
    ticks.step = roundStep(dataLow, dataHigh, std::max(2, maxTicks));
    // A quotient a rounding away from a whole number is that number.
    const double first = std::floor(dataLow / ticks.step + 1e-9);
    const double last = std::ceil(dataHigh / ticks.step - 1e-9);
    for (double k = first; k <= last; ++k) ticks.values.push_back(k * ticks.step + 0.0);
    ticks.low = ticks.values.front();
    ticks.high = ticks.values.back();
    return ticks;
}

std::string TickText(double value, double step) {
    std::array<char, 64> text{};
    const double magnitude = std::fabs(step);
    const int stepPower = magnitude > 0 ? powerOfTen(magnitude) : 0;
    if (magnitude > 0 && (stepPower < -4 || stepPower >= 6) && value != 0) {
        // A mantissa with the digits the step needs, and a bare exponent: "1.5e-4", "3e6".
        const int power = powerOfTen(std::fabs(value));
        std::snprintf(text.data(), text.size(), "%.*f", std::max(0, power - stepPower),
                      value / std::pow(10.0, power));
        std::string mantissa(text.data());
        if (mantissa.find('.') != std::string::npos) {
            mantissa.erase(mantissa.find_last_not_of('0') + 1);
            if (mantissa.back() == '.') mantissa.pop_back();
        }
        return mantissa + "e" + std::to_string(power);
    } else {
        std::snprintf(text.data(), text.size(), "%.*f", std::max(0, -stepPower), value);
    }
    std::string result(text.data());
    if (result.starts_with('-') && result.find_first_not_of("-0.") == std::string::npos)
        result.erase(0, 1);
    return result;
}

std::vector<std::optional<ColumnRange>> ColumnRanges(std::span<const double> x,
                                                     std::span<const double> y, double xLow,
                                                     double xHigh, std::size_t columns) {
    std::vector<std::optional<ColumnRange>> ranges(columns);
    const std::size_t count = std::min(x.size(), y.size());
    if (columns == 0 || !(xHigh > xLow)) return ranges;
    const double perUnit = static_cast<double>(columns) / (xHigh - xLow);
    for (std::size_t i = 0; i < count; ++i) {
        if (!(x[i] >= xLow && x[i] <= xHigh) || !std::isfinite(y[i])) continue;
        const auto column =
            std::min(columns - 1, static_cast<std::size_t>((x[i] - xLow) * perUnit));
        std::optional<ColumnRange>& range = ranges[column];
        if (!range) {
            range = ColumnRange{y[i], y[i]};
        } else {
            range->low = std::min(range->low, y[i]);
            range->high = std::max(range->high, y[i]);
        }
    }
    return ranges;
}

}  // namespace ritmova
