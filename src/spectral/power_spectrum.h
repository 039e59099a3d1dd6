#pragma once

#include "analysis/analysis_state.h"
#include "common/checked.h"

namespace ritmova {

// Pi as written with 8 decimals; the taper and the power scale use this value.
inline constexpr double TaperPi = 3.14159265;

// Removes MeanRR from RRSeries in place and writes the tapered series, weighted by
// 0.54 + 0.46 * cos(i * pi / 256), into the real parts of FftData (imaginary parts stay 0).
void PrepareSeries(AnalysisState& state);

// Sets FftPointCount and FftDirection and transforms FftData.
void TransformSeries(AnalysisState& state);

// PowerSpectrum(1..128) from the transform; returns SpectrumMax, the largest power (0 when
// none is above 0). `onMaximum` receives the running maximum as the caption would show it;
// it is called once with the final value, or with the value reached before a failure.
template <typename OnMaximum>
float ComputePowerSpectrum(AnalysisState& state, OnMaximum&& onMaximum);

// The first five characters of SpectrumMax's general text form: the spectrum axis caption.
std::string SpectrumCaption(float spectrumMax);

// The power of the transform output at FftData(k), FftData(k+1): its squared magnitude / 128
// * pi. Throws CommandFailure when it overflows single precision. Inline: it runs 128 times
// in every pass.
inline float SpectrumPower(const AnalysisState& state, int k) {
    const double re = state.FftData[k];
    const double im = state.FftData[k + 1];
    return ToSingle((re * re + im * im) / (256.0 / 2.0) * TaperPi, "the power spectrum");
}

template <typename OnMaximum>
float ComputePowerSpectrum(AnalysisState& state, OnMaximum&& onMaximum) {
    float spectrumMax = 0;
    for (int k = 1; k <= 255; k += 2) {
        const int j = k / 2 + 1;
        try {
            state.PowerSpectrum[j] = SpectrumPower(state, k);
        } catch (...) {
            if (j > 1) onMaximum(spectrumMax);
            throw;
        }
        if (state.PowerSpectrum[j] > spectrumMax) spectrumMax = state.PowerSpectrum[j];
    }
    onMaximum(spectrumMax);
    return spectrumMax;
}

}  // namespace ritmova
