#include "spectral/power_spectrum.h"

#include <cmath>

#include "common/checked.h"
#include "common/number_text.h"
#include "spectral/fourier_transform.h"

namespace ritmova {

void PrepareSeries(AnalysisState& state) {
    for (int i = 1; i <= BeatCount; ++i) {
        state.RRSeries[i] = CheckedSingle(state.RRSeries[i] - state.MeanRR, "a mean-removed interval");
        const double c = std::cos(static_cast<double>(i) * TaperPi / 256.0);
        state.FftData[2 * i - 1] = double{state.RRSeries[i]} * (0.46 * c + 0.54);
    }
}

void TransformSeries(AnalysisState& state) {
    state.FftPointCount = BeatCount;
    state.FftDirection = 1;
    FourierTransform(state.FftPointCount, state.FftData, state.FftDirection);
}

float SpectrumPower(const AnalysisState& state, int k) {
    const double re = state.FftData[k];
    const double im = state.FftData[k + 1];
    return ToSingle((re * re + im * im) / (256.0 / 2.0) * TaperPi, "the power spectrum");
}

std::string SpectrumCaption(float spectrumMax) { return NumberText(spectrumMax).substr(0, 5); }

}  // namespace ritmova
