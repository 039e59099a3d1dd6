#pragma once

#include <cstdint>

#include "analysis/analysis_state.h"
#include "analysis/interval_file.h"

namespace ritmova {

// The running mean of the values as read: each value divided by 256 and added, in single
// precision at every step. Throws CommandFailure on overflow.
float RunningMean(const IntervalValues& values);

// Measures that exist only while a pass runs; the summary and the report show them.
struct TimeDomainValues {
    double RMSSD = 0;
    std::int16_t NN50 = 0;
    double PNN50 = 0;
};

// SDNN into the state, then RMSSD, NN50 and pNN50, from RRSeries as read and MeanRR.
TimeDomainValues ComputeTimeDomain(AnalysisState& state);

}  // namespace ritmova
