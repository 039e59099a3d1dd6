#pragma once

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

// The median of `values` (the mean of the two middle ones for an even count), reordering
// them. `values` must not be empty.
double MedianOf(std::span<double> values);

}  // namespace ritmova::standard
