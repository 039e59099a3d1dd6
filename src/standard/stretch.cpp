#include "standard/stretch.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "common/command_failure.h"

namespace ritmova::standard {
namespace {

std::string secondsText(double value) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr) + " s";
}

// The stretch of intervals [begin, end) (0-based) of the recording.
Stretch stretchOf(std::span<const double> timesS, std::size_t begin, std::size_t end) {
    return {begin + 1, end, begin == 0 ? 0 : timesS[begin - 1], timesS[end - 1], 0};
}

}  // namespace

StretchPlan PlanStretches(std::span<const double> timesS, const StretchChoice& choice) {
    const double from = choice.fromS.value_or(0);
    const auto first = static_cast<std::size_t>(
        std::lower_bound(timesS.begin(), timesS.end(), from) - timesS.begin());
    const auto end =
        choice.toS
            ? static_cast<std::size_t>(std::lower_bound(timesS.begin(), timesS.end(), *choice.toS) -
                                       timesS.begin())
            : timesS.size();
    if (first >= end) {
        throw CommandFailure("no interval ends between " + secondsText(from) + " and " +
                             (choice.toS ? secondsText(*choice.toS) : "the end"));
    }
    StretchPlan plan;
    if (!choice.segmentS) {
        plan.stretches.push_back(stretchOf(timesS, first, end));
        return plan;
    }
    const double length = *choice.segmentS;
    const double rangeEnd = choice.toS ? std::min(*choice.toS, timesS[end - 1]) : timesS[end - 1];
    const double complete = std::floor((rangeEnd - from) / length);
    const auto segmentOf = [&](std::size_t i) { return std::floor((timesS[i] - from) / length); };
    std::size_t begin = first;
    // Segments with no interval ending in them have nothing to analyse and are passed over.
    while (begin < end && segmentOf(begin) < complete) {
        const double k = segmentOf(begin);
        std::size_t stop = begin + 1;
        while (stop < end && segmentOf(stop) == k) ++stop;
        plan.stretches.push_back(stretchOf(timesS, begin, stop));
        plan.stretches.back().segment = static_cast<std::size_t>(k) + 1;
        begin = stop;
    }
    if (begin < end) plan.leftOut = stretchOf(timesS, begin, end);
    if (plan.stretches.empty()) {
        throw CommandFailure("no complete " + secondsText(length) + " segment: the stretch lasts " +
                             secondsText(rangeEnd - from));
    }
    return plan;
}

}  // namespace ritmova::standard
