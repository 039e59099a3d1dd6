#pragma once

#include <array>
#include <span>

#include "standard/correction.h"
#include "standard/measured.h"
#include "standard/nonlinear.h"
#include "standard/spectra.h"
#include "standard/stretch.h"

// The standard analysis of one stretch of a recording: every measure once, each present or
// absent with its reason, with the settings and the correction that produced it.
namespace ritmova::standard {

// Every measure of the record, in the order of the measure table (standard/measure_rows.h).
enum class MeasureId {
    MeanNn,
    MedianNn,
    MinNn,
    MaxNn,
    Sdnn,
    Cvnn,
    Rmssd,
    Sdsd,
    Cvsd,
    Nn50,
    Pnn50,
    Nn20,
    Pnn20,
    Iqr,
    MeanHr,
    SdHr,
    MinHr,
    MaxHr,
    Sdann,
    SdnnIndex,
    TriangularIndex,
    Tinn,
    // Welch, Lomb-Scargle and autoregressive each have these, in this order:
    SpectrumFirst,
    SpectrumLast = SpectrumFirst + 3 * 15 - 1,
    Sd1,
    Sd2,
    Sd2OverSd1,
    EllipseArea,
    DfaAlpha1,
    DfaAlpha2,
    SampEn,
    ApEn,
    Count
};
inline constexpr std::size_t MeasureCount = static_cast<std::size_t>(MeasureId::Count);

// The three spectra, in the order of their measures.
enum class SpectrumMethod { Welch, LombScargle, Autoregressive };
inline constexpr std::size_t SpectrumMethodCount = 3;
inline constexpr std::size_t SpectrumMeasureCount = 15;

struct AnalysisSettings {
    CorrectionSettings correction;
};

struct StretchResults {
    Stretch stretch;
    CorrectionRecord correction;
    std::size_t intervals = 0;  // analysed, after correction
    std::array<Measured, MeasureCount> measures;
    std::array<Spectrum, SpectrumMethodCount> spectra;  // with their settings and densities
    std::vector<DfaPoint> dfaPoints;
    EntropyMeasures entropy;  // its counts and tolerance; the values are in `measures`

    const Measured& operator[](MeasureId id) const {
        return measures[static_cast<std::size_t>(id)];
    }
};

// Analyses the intervals (ms, above 0) of `stretch`: corrects them as the settings ask, takes
// the beat times from the corrected intervals' own sum, and measures. The same intervals give
// the same bits on every run and thread. Throws CommandFailure when the correction cannot be
// made.
StretchResults AnalyseStretch(std::span<const double> rrMs, const Stretch& stretch,
                              const AnalysisSettings& settings);

}  // namespace ritmova::standard
