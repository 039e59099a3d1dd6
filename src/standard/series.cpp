#include "standard/series.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "common/command_failure.h"

namespace ritmova::standard {

std::vector<double> BeatTimes(std::span<const double> rrMs) {
    std::vector<double> times;
    times.reserve(rrMs.size());
    double sumMs = 0;
    for (const double rr : rrMs) {
        sumMs += rr;
        times.push_back(sumMs / 1000);
    }
    return times;
}

namespace {

std::string shortestText(double value) {
    char buffer[32];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr};
}

}  // namespace

void RequirePositiveIntervals(std::span<const double> rrMs, std::size_t firstBeat) {
    for (std::size_t i = 0; i < rrMs.size(); ++i) {
        if (!(rrMs[i] > 0) || !std::isfinite(rrMs[i])) {
            throw CommandFailure("interval " + std::to_string(firstBeat + i) + " (" +
                                 shortestText(rrMs[i]) +
                                 " ms) is not above 0: the standard analysis needs a time axis");
        }
    }
}

double Quantile(std::span<const double> sorted, double p) {
    const double h = static_cast<double>(sorted.size() - 1) * p;
    const double below = std::floor(h);
    const auto k = static_cast<std::size_t>(below);
    if (k + 1 >= sorted.size()) return sorted[k];
    return sorted[k] + (h - below) * (sorted[k + 1] - sorted[k]);
}

double SortedMedian(std::span<const double> sorted) {
    const std::size_t middle = sorted.size() / 2;
    if (sorted.size() % 2 == 1) return sorted[middle];
    return (sorted[middle - 1] + sorted[middle]) / 2;
}

}  // namespace ritmova::standard
