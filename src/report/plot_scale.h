#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The scales of the plots: an axis range with tick values at round numbers (1, 2 or 5 times a
// power of ten) covering the data, their labels, and the reduction of a long series to what a
// pixel column can show.
namespace ritmova {

struct AxisTicks {
    double low = 0;  // the axis range: the ticks' first and last value, around the data
    double high = 1;
    double step = 1;  // between ticks: 1, 2 or 5 times a power of ten
    std::vector<double> values;
};

// The smallest round step that covers [dataLow, dataHigh] with at most `maxTicks` ticks (at
// least 2), the range widened to whole steps. A range of one value is widened to a step
// around it; a range that is not finite gives 0 to 1.
AxisTicks NiceTicks(double dataLow, double dataHigh, int maxTicks = 6);

// A tick's value with as many decimals as the step needs ("0.05", "120", "1.5"), or in
// exponent form for steps below 1e-4 or from 1e6 on ("2e-05", "3e+06").
std::string TickText(double value, double step);

// The least and the greatest y of the points whose x falls in each of `columns` equal parts
// of [xLow, xHigh]: all a line plot over that many pixels can show of a long series. Columns
// without points are absent; points outside the range are left out.
struct ColumnRange {
    double low;
    double high;
};
std::vector<std::optional<ColumnRange>> ColumnRanges(std::span<const double> x,
                                                     std::span<const double> y, double xLow,
                                                     double xHigh, std::size_t columns);

}  // namespace ritmova
