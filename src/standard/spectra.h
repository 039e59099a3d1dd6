#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// The power spectra of a stretch of intervals in Hz, as densities in ms²/Hz: Welch's over the
// 4-Hz spline-resampled series, Lomb-Scargle's at the uneven beat times, and Burg's
// autoregressive one over the 4-Hz series. Every function takes the intervals in ms and the
// times of the beats that end them in s, as many of each (otherwise it throws CommandFailure).
// A stretch it cannot analyse (too short, a value not finite, times that do not increase) gives
// a spectrum with no points and the reason.
namespace ritmova::standard {

inline constexpr double ResamplingHz = 4.0;
inline constexpr std::size_t WelchSegmentLimit = 1024;  // samples (256 s at 4 Hz)
inline constexpr std::size_t WelchFftPoints = 1024;     // the least transform length
inline constexpr std::size_t BurgOrder = 16;
inline constexpr std::size_t BurgFftPoints = 4096;

struct Spectrum {
    std::vector<double> frequencyHz;      // ascending, evenly spaced by resolutionHz
    std::vector<double> densityMs2PerHz;  // one per frequency
    double resolutionHz = 0.0;            // Δf
    std::size_t segmentSamples = 0;       // Welch: L; Lomb-Scargle: beats; Burg: the 4-Hz samples
    std::size_t segments = 0;             // Welch: the segments averaged; the others: 1
    std::size_t fftPoints = 0;            // Welch: nfft; Burg: 4096; Lomb-Scargle: 0 (no transform)
    std::size_t order = 0;                // Burg: the autoregressive order; the others: 0
    std::string reason;                   // why there are no points; empty when there are

    bool Available() const { return !frequencyHz.empty(); }
};

// Why the spectra cannot analyse the series (a value not finite, times that do not increase);
// empty when they can. Throws CommandFailure unless there are as many times as intervals.
std::string SpectrumSeriesProblem(std::span<const double> rrMs, std::span<const double> beatTimesS);

// RR_ms interpolated at the beat times by the not-a-knot cubic spline and sampled at
// t_1 + k/4 s for k = 0, 1, … while below t_N. Needs at least two beats and a series the
// spectra can analyse (throws CommandFailure otherwise).
std::vector<double> ResampleAt4Hz(std::span<const double> rrMs, std::span<const double> beatTimesS);

Spectrum WelchSpectrum(std::span<const double> rrMs, std::span<const double> beatTimesS);
Spectrum LombScargleSpectrum(std::span<const double> rrMs, std::span<const double> beatTimesS);
Spectrum BurgSpectrum(std::span<const double> rrMs, std::span<const double> beatTimesS);

// The 4-Hz series that Welch's and Burg's spectra both start from, so that a stretch builds its
// spline once: the number of intervals, and their resampled series (empty below 2 intervals),
// or why the spectra cannot analyse them.
struct ResampledSeries {
    std::size_t intervals = 0;
    std::vector<double> samples;
    std::string problem;  // SpectrumSeriesProblem's reason; empty when there is none
};

// Throws CommandFailure unless there are as many times as intervals.
ResampledSeries ResampleForSpectra(std::span<const double> rrMs,
                                   std::span<const double> beatTimesS);

// The same spectra as from the intervals and times the series was made from, to the bit.
Spectrum WelchSpectrumFromSeries(const ResampledSeries& series);
Spectrum BurgSpectrumFromSeries(ResampledSeries series);  // a copy: Burg's recursion works in place

}  // namespace ritmova::standard
