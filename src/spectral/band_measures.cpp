#include "spectral/band_measures.h"

#include "common/checked.h"

namespace ritmova {

void ClearBandMeasures(AnalysisState& state) {
    state.PeakFrequency.fill(0);
    state.BandPower.fill(0);
    state.BandPercent.fill(0);
}

namespace {

void measureBand(AnalysisState& state, const Band& band) {
    float runningMax = 0;
    float& power = state.BandPower[band.index];
    float& peak = state.PeakFrequency[band.index];
    for (int i = band.first; i <= band.last; ++i) {
        power = CheckedSingle(power + state.PowerSpectrum[i], "a band power");
        if (state.PowerSpectrum[i] > runningMax) {
            runningMax = state.PowerSpectrum[i];
            peak = static_cast<float>(i);
        }
    }
    // The element index over 256: one resolution step above the element's own frequency.
    peak = peak * 0.001953125f * 2.0f;
    state.BandPower[0] = CheckedSingle(state.BandPower[0] + power, "the total power");
}

// A single-precision quotient; a zero divisor is a fault, as is an overflowing result.
float divide(float dividend, float divisor, const char* zeroReason, const char* what) {
    if (divisor == 0) throw CommandFailure(zeroReason);
    return CheckedSingle(dividend / divisor, what);
}

}  // namespace

void ComputeBandMeasures(AnalysisState& state) {
    for (const Band& band : Bands) measureBand(state, band);
    for (int r = 2; r <= 3; ++r) {
        const float base = state.BandPower[0] - state.BandPower[1];
        const float share = divide(state.BandPower[r], base, "no power in the LF and HF bands",
                                   "a relative band power");
        state.BandPercent[r] = CheckedSingle(share * 100.0f, "a relative band power");
    }
}

float LfHfRatio(const AnalysisState& state) {
    return divide(state.BandPower[2], state.BandPower[3],
                  "no power in the HF band: LF/HF is undefined", "LF/HF");
}

}  // namespace ritmova
