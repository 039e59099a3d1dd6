#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "common/command_failure.h"

namespace ritmova::testing {

// Intervals in ms with the times in s of the beats that end them.
struct BeatSeries {
    std::vector<double> rrMs, timesS;
};

inline BeatSeries FromIntervals(std::vector<double> rrMs) {
    BeatSeries series{std::move(rrMs), {}};
    double sum = 0.0;
    for (const double rr : series.rrMs) series.timesS.push_back((sum += rr) / 1000.0);
    return series;
}

// A real recording of shared/data/real (values in s).
inline BeatSeries RealSeries(const std::string& name) {
    std::ifstream file(std::string(RITMOVA_REAL_DATA_DIR) + "/" + name);
    if (!file) throw CommandFailure("missing test recording " + name);
    std::vector<double> rrMs;
    for (double seconds; file >> seconds;) rrMs.push_back(seconds * 1000.0);
    return FromIntervals(std::move(rrMs));
}

}  // namespace ritmova::testing
