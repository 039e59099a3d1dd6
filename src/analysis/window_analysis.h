#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "measures/band_measures.h"
#include "measures/beat_series.h"
#include "measures/markov.h"
#include "measures/power_spectrum.h"
#include "measures/sd_heart_rate.h"
#include "measures/time_domain.h"

namespace ritmova {

// How far the 256-beat pass got: each step needs the ones before it.
enum class PassStep { None, TimeDomain, Measures, Complete };

// The 256-beat pass over one window: the series, the time-domain measures, the tapered
// series' spectrum and its bands, LF/HF and the Poincare plot's r. Arrays keep the 1-based
// index ranges of the formulas: element 0 is never used.
struct PassResults {
    std::array<float, BeatCount + 1> seriesAsRead{};
    std::array<float, BeatCount + 1> deviations{};  // from the mean, once the spectrum began
    float meanRR = 0;
    TimeDomain timeDomain;
    std::array<double, 2 * BeatCount + 1> transform{};
    std::array<float, 2 * BeatCount + 1> powerSpectrum{};  // 1..128 written
    SpectrumMaximum spectrumMax;
    BandMeasures bands;
    float lfHf = 0;
    std::optional<double> poincareR;  // absent when undefined
    PassStep reached = PassStep::None;

    // Elements 1..256 of an array above.
    std::span<const float, BeatCount> beats(const std::array<float, BeatCount + 1>& a) const {
        return std::span(a).subspan<1, BeatCount>();
    }

    bool operator==(const PassResults&) const = default;
};

// Runs the pass on `values` into `results`, every single/double rule in its order. Throws
// CommandFailure at the first failure, with what the steps before it wrote left in place and
// `reached` telling how far they got; a read that failed never gets here.
void AnalysePass(const IntervalValues& values, PassResults& results);

// Everything the analysis of one window gives: the pass, then, when it completed, SD1, SD2
// and the heart rates, and the Markov analysis; and the window's artifacts.
struct WindowAnalysis {
    std::optional<std::string> failure;  // why the pass failed
    PassResults pass;
    std::optional<SdAndHeartRates> sdAndRates;  // absent when an interval is not above 0
    MarkovResult markov;
    std::string markovFailure;  // why the Markov analysis failed, if it did
    std::size_t artifacts = 0;  // flagged intervals in the window

    bool markovCompleted() const { return markov.nakahamaIndex.has_value(); }
};

// The whole analysis of `values`, of which `artifacts` intervals are flagged, into
// `analysis`, which keeps nothing of an earlier window.
void AnalyseWindow(const IntervalValues& values, std::size_t artifacts, WindowAnalysis& analysis);

}  // namespace ritmova
