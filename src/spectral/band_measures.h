#pragma once

#include "analysis/analysis_state.h"

namespace ritmova {

// PowerSpectrum elements of each band, inclusive: VLF 1..10, LF 11..38, HF 39..102.
struct Band {
    int index;  // into BandPower and PeakFrequency
    int first;
    int last;
};
inline constexpr Band Bands[] = {{1, 1, 10}, {2, 11, 38}, {3, 39, 102}};

// Clears PeakFrequency, BandPower and BandPercent.
void ClearBandMeasures(AnalysisState& state);

// Band powers, total, peak frequencies (peak element index / 256) and LF%, HF% of
// Total - VLF. Throws CommandFailure when LF and HF hold no power.
void ComputeBandMeasures(AnalysisState& state);

// LF/HF in single precision; throws CommandFailure when HF holds no power.
float LfHfRatio(const AnalysisState& state);

}  // namespace ritmova
