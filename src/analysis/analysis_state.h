#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace ritmova {

// Fixed series length. The divisors 256 and 255 in the measures are fixed numbers, never counts.
inline constexpr int BeatCount = 256;

// Everything one analysis pass produces and later commands read.
// Arrays keep the 1-based index ranges of the formulas: element 0 of RRSeries, PowerSpectrum
// and PeakFrequency is never used, as element 0 of FftData is never used by the transform.
struct AnalysisState {
    // Series and time domain.
    std::array<float, BeatCount + 1> RRSeries{};        // 1..256, mean-removed after a pass
    std::array<float, BeatCount + 1> RRSeriesAsRead{};  // 1..256, as read
    float MeanRR = 0;
    float SDNN = 0;

    // Spectrum.
    std::int16_t FftPointCount = 0;
    std::int16_t FftDirection = 0;
    std::array<double, 2 * BeatCount + 1> FftData{};       // 0..512, interleaved complex from 1
    std::array<float, 2 * BeatCount + 1> PowerSpectrum{};  // 1..512, only 1..128 written
    std::array<float, 4> BandPower{};                      // 0 Total, 1 VLF, 2 LF, 3 HF
    std::array<float, 4> BandPercent{};                    // 2 LF%, 3 HF%
    std::array<float, 4> PeakFrequency{};                  // 1 VLF, 2 LF, 3 HF

    // Markov analysis; written only by the Markov command.
    float StateLimitLow = 0;
    float StateLimitMid = 0;
    float StateLimitHigh = 0;
    std::array<std::int16_t, BeatCount + 1> StateSequence{};  // 1..256
    std::array<std::int16_t, 4> StateCount{};
    std::array<float, 4> StateProbability{};
    float EntropyH0 = 0;
    std::array<std::array<std::int16_t, 4>, 4> TransitionCount{};  // [from][to]
    std::array<std::array<float, 4>, 4> TransitionProbability{};
    float EntropyH1 = 0;
    float NakahamaIndex = 0;

    // The report of the last pass that got as far as building it.
    std::string ReportText;

    bool operator==(const AnalysisState&) const = default;
};

}  // namespace ritmova
