#include "standard/five_minute.h"

#include <cmath>
#include <string>
#include <vector>

#include "standard/time_measures.h"

namespace ritmova::standard {

FiveMinuteMeasures MeasureFiveMinute(std::span<const double> rrMs, std::span<const double> timesS) {
    FiveMinuteMeasures result;
    const double complete = timesS.empty() ? 0 : std::floor(timesS.back() / FiveMinuteSeconds);
    result.completeSegments = static_cast<std::size_t>(complete);
    const auto absent = [&result](const std::string& why) {
        result.sdannMs = result.sdnnIndexMs = Measured::Absent(why);
        return result;
    };
    if (result.completeSegments < 2) {
        return absent(std::to_string(result.completeSegments) +
                      " complete 5-min segments, 2 needed");
    }
    std::vector<double> means;
    double sdSum = 0;
    std::size_t begin = 0;
    for (std::size_t segment = 0; segment < result.completeSegments; ++segment) {
        std::size_t end = begin;
        while (end < rrMs.size() &&
               std::floor(timesS[end] / FiveMinuteSeconds) == static_cast<double>(segment))
            ++end;
        if (end - begin < 2) {
            return absent("5-min segment " + std::to_string(segment + 1) + " holds " +
                          std::to_string(end - begin) + " intervals, 2 needed");
        }
        const MeanSd meanSd = MeanAndSd(rrMs.subspan(begin, end - begin));
        means.push_back(meanSd.mean);
        sdSum += *meanSd.sd.value;
        begin = end;
    }
    result.sdannMs = MeanAndSd(means).sd;
    result.sdnnIndexMs = Measured::Of(sdSum / static_cast<double>(result.completeSegments));
    return result;
}

}  // namespace ritmova::standard
