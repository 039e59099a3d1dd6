#pragma once

#include <algorithm>
#include <span>
#include <vector>

// The series the standard analysis works on: normal-to-normal intervals in milliseconds, in
// double precision, and the times of the beats that end them.
namespace ritmova::standard {

// t_i = (RR_1 + ... + RR_i) / 1000 in seconds, summed in order: the time of the beat that ends
// interval i, the beat before the first interval being at 0.
std::vector<double> BeatTimes(std::span<const double> rrMs);

// Throws CommandFailure naming the first interval (1-based, counted from `firstBeat`) that is
// not a finite value above 0: such a value has no heart rate and no place on a time axis.
void RequirePositiveIntervals(std::span<const double> rrMs, std::size_t firstBeat = 1);

// The sorted copy's quantile p (0..1) by linear interpolation between order statistics
// (h = (n - 1) p; the common "type 7" rule). `sorted` must not be empty.
double Quantile(std::span<const double> sorted, double p);

// The median of sorted values (the mean of the two middle ones for an even count). `sorted`
// must not be empty.
double SortedMedian(std::span<const double> sorted);

// Calls visit(i, window) for every i, `window` being the sorted values of the centred window of
// `width` values around value i, shrinking at the ends (those within width / 2 either side).
// The window is kept sorted as it slides: one insertion and one removal a step. The values
// must not be NaN.
template <typename Visit>
void ForEachCentredWindow(std::span<const double> values, std::size_t width, Visit visit) {
    const std::size_t half = width / 2;
    std::vector<double> window;
    window.reserve(2 * half + 1);
    const auto add = [&window](double v) {
        window.insert(std::upper_bound(window.begin(), window.end(), v), v);
    };
    for (std::size_t i = 0; i < std::min(half, values.size()); ++i) add(values[i]);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i + half < values.size()) add(values[i + half]);
        if (i > half)
            window.erase(std::lower_bound(window.begin(), window.end(), values[i - half - 1]));
        visit(i, std::span<const double>(window));
    }
}

}  // namespace ritmova::standard
