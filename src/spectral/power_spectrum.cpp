#include "spectral/power_spectrum.h"

#include <array>
#include <cmath>

#include "common/checked.h"
#include "common/number_text.h"
#include "spectral/fourier_transform.h"

namespace ritmova {

namespace {

// The taper weights 0.46 * cos(i * pi / 256) + 0.54, i = 1..256, computed once.
const std::array<double, BeatCount + 1>& TaperWeights() {
    static const std::array<double, BeatCount + 1> weights = [] {
        std::array<double, BeatCount + 1> w{};
        for (int i = 1; i <= BeatCount; ++i) {
            const double c = std::cos(static_cast<double>(i) * TaperPi / 256.0);
            w[static_cast<std::size_t>(i)] = 0.46 * c + 0.54;
        }
        return w;
    }();
    return weights;
}

}  // namespace

void PrepareSeries(AnalysisState& state) {
    const auto& taper = TaperWeights();
    for (int i = 1; i <= BeatCount; ++i) {
        state.RRSeries[i] =
            CheckedSingle(state.RRSeries[i] - state.MeanRR, "a mean-removed interval");
        state.FftData[2 * i - 1] = double{state.RRSeries[i]} * taper[static_cast<std::size_t>(i)];
    }
}

void TransformSeries(AnalysisState& state) {
    state.FftPointCount = BeatCount;
    state.FftDirection = 1;
    FourierTransform(state.FftPointCount, state.FftData, state.FftDirection);
}

std::string SpectrumCaption(float spectrumMax) {
    return NumberText(spectrumMax).substr(0, 5);
}

}  // namespace ritmova
