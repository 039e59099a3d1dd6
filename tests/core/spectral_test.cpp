#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/time_domain.h"
#include "common/command_failure.h"
#include "spectral/band_measures.h"
#include "spectral/power_spectrum.h"
#include "test_data.h"

namespace ritmova {
namespace {

// Runs the spectral steps of a pass over `values`; returns SpectrumMax.
float Spectrum(AnalysisState& state, const std::vector<double>& values) {
    const IntervalValues intervals = testing::ToIntervals(values);
    for (int i = 1; i <= BeatCount; ++i) state.RRSeries[i] = intervals[std::size_t(i - 1)];
    state.MeanRR = RunningMean(intervals);
    PrepareSeries(state);
    TransformSeries(state);
    return ComputePowerSpectrum(state, [](float) {});
}

// A cosine of `period` beats has its power at bin 256 / period, PowerSpectrum element
// 256 / period + 1; period 2 (bin 128) is past the written elements and shows at their end.
TEST(PowerSpectrumTest, CosinePutsItsPowerInItsBin) {
    for (const auto& [period, element] : {std::pair{32, 9}, {8, 33}, {4, 65}, {2, 128}}) {
        std::vector<double> values;
        for (int n = 0; n < BeatCount; ++n)
            values.push_back(0.8 + 0.05 * std::cos(2 * M_PI * n / period));
        AnalysisState state;
        const float maximum = Spectrum(state, values);
        const auto first = state.PowerSpectrum.begin() + 1;
        EXPECT_EQ(std::max_element(first, first + 128) - state.PowerSpectrum.begin(), element);
        EXPECT_EQ(state.PowerSpectrum[std::size_t(element)], maximum);
        for (int j = 129; j <= 512; ++j) ASSERT_EQ(state.PowerSpectrum[j], 0.0f) << j;
    }
}

TEST(PowerSpectrumTest, EqualValuesLeaveOnlyTheRunningMeansDrift) {
    AnalysisState state;
    const float maximum = Spectrum(state, testing::Constant(0.8));
    EXPECT_GT(maximum, 0.0f);
    EXPECT_LT(maximum, 1.8e-9f);
    EXPECT_EQ(SpectrumCaption(maximum), " 1.69");  // 1.695011E-09
}

// Weights 0.54 + 0.46 cos(i pi / 256): 1 - 0.46 (1 - cos(pi / 256)) at i = 1, 0.54 at 128,
// 0.08 at 256; the mean 0.75 of 0.5, 1, 0.5, ... is exact.
TEST(PowerSpectrumTest, PreparationRemovesTheMeanAndTapers) {
    AnalysisState state;
    for (int i = 1; i <= BeatCount; ++i) state.RRSeries[i] = i % 2 ? 0.5f : 1.0f;
    state.MeanRR = 0.75f;
    state.FftData[2] = 5;  // stays as it is
    PrepareSeries(state);
    EXPECT_EQ(state.RRSeries[1], -0.25f);
    EXPECT_EQ(state.RRSeries[256], 0.25f);
    EXPECT_NEAR(state.FftData[1], -0.25 * (1 - 0.46 * (1 - std::cos(M_PI / 256))), 1e-9);
    EXPECT_NEAR(state.FftData[255], 0.25 * 0.54, 1e-9);
    EXPECT_NEAR(state.FftData[511], 0.25 * 0.08, 1e-9);
    EXPECT_EQ(state.FftData[2], 5.0);
    EXPECT_EQ(state.FftData[0], 0.0);
}

// Power = |X|^2 / 128 * 3.14159265: 3 + 4i gives 25 / 128 * 3.14159265 = 0.613592314...
TEST(PowerSpectrumTest, PowerOfEachOutputAndTheReportedMaximum) {
    AnalysisState state;
    state.FftData[3] = 3;
    state.FftData[4] = 4;
    state.FftData[255] = -1;  // output 128, element 128: 1 / 128 * pi
    std::vector<float> reported;
    const float maximum = ComputePowerSpectrum(state, [&](float m) { reported.push_back(m); });
    EXPECT_FLOAT_EQ(state.PowerSpectrum[2], 0.61359231f);
    EXPECT_FLOAT_EQ(state.PowerSpectrum[128], 0.024543693f);
    EXPECT_EQ(state.PowerSpectrum[1], 0.0f);
    EXPECT_EQ(maximum, state.PowerSpectrum[2]);
    EXPECT_EQ(reported, std::vector<float>{maximum});
}

// An overflowing power fails; the caption gets the maximum so far unless it is the first.
TEST(PowerSpectrumTest, OverflowFailsAfterReportingTheMaximumSoFar) {
    for (const int failing : {1, 3}) {
        AnalysisState state;
        state.FftData[1] = 2;
        state.FftData[std::size_t(2 * failing - 1)] = 1e30;
        std::vector<float> reported;
        EXPECT_THROW(ComputePowerSpectrum(state, [&](float m) { reported.push_back(m); }),
                     CommandFailure);
        EXPECT_EQ(reported, failing == 1 ? std::vector<float>{}
                                         : std::vector<float>{3.14159265f / 32});  // 2^2 / 128 pi
    }
}

// Powers put at chosen PowerSpectrum elements and the band measures worked out by hand.
// VLF is 1..10, LF 11..38, HF 39..102; the peak is the element index / 256.
struct BandCase {
    const char* name;
    std::vector<std::pair<int, float>> powers;
    std::array<float, 4> peak, power, percent;
};

// clang-format off
const BandCase BandCases[] = {
    {"OnePerBand", {{3, 0.5f}, {20, 2.0f}, {21, 1.0f}, {50, 0.25f}},
     {0, 3.0f / 256, 20.0f / 256, 50.0f / 256}, {3.75f, 0.5f, 3.0f, 0.25f},
     {0, 0, 3.0f / 3.25f * 100, 0.25f / 3.25f * 100}},
    // The first of equal maxima; 103..128 count nowhere.
    {"EdgesAndTies", {{1, 1.0f}, {10, 1.0f}, {11, 0.5f}, {15, 0.75f}, {30, 0.75f}, {38, 0.1f},
                      {39, 0.2f}, {102, 0.3f}, {103, 100.f}, {128, 100.f}},
     {0, 1.0f / 256, 15.0f / 256, 102.0f / 256}, {4.6f, 2.0f, 2.1f, 0.5f},
     {0, 0, 2.1f / 2.6f * 100, 0.5f / 2.6f * 100}},
    {"EmptyVlfKeepsPeakZero", {{20, 1.0f}, {40, 1.0f}}, {0, 0, 20.0f / 256, 40.0f / 256},
     {2, 0, 1, 1}, {0, 0, 50, 50}}};
// clang-format on

TEST(BandMeasuresTest, WorkedOutByHand) {
    for (const BandCase& c : BandCases) {
        SCOPED_TRACE(c.name);
        AnalysisState state;
        for (auto [j, power] : c.powers) state.PowerSpectrum[std::size_t(j)] = power;
        ComputeBandMeasures(state);
        for (std::size_t b = 0; b < 4; ++b) {
            EXPECT_FLOAT_EQ(state.PeakFrequency[b], c.peak[b]) << b;
            EXPECT_FLOAT_EQ(state.BandPower[b], c.power[b]) << b;
            EXPECT_FLOAT_EQ(state.BandPercent[b], c.percent[b]) << b;
        }
    }
}

TEST(BandMeasuresFailure, NoLfOrHfPowerFailsAfterTheBandPowers) {
    AnalysisState state;
    state.PowerSpectrum[5] = 1.0f;
    state.BandPercent = {7, 7, 7, 7};  // from an earlier pass
    EXPECT_THROW(ComputeBandMeasures(state), CommandFailure);
    EXPECT_EQ(state.BandPower, (std::array<float, 4>{1, 1, 0, 0}));
    EXPECT_EQ(state.PeakFrequency[1], 5.0f / 256);
    EXPECT_EQ(state.BandPercent, (std::array<float, 4>{7, 7, 7, 7}));
    ClearBandMeasures(state);
    AnalysisState cleared;
    cleared.PowerSpectrum[5] = 1.0f;
    EXPECT_TRUE(state == cleared);
}

TEST(BandMeasuresFailure, LfHfNeedsHfPower) {
    AnalysisState state;
    state.BandPower = {1.5f, 0, 1.5f, 0};
    try {
        LfHfRatio(state);
        FAIL() << "no failure";
    } catch (const CommandFailure& failure) {
        EXPECT_STREQ(failure.what(), "no power in the HF band: LF/HF is undefined");
    }
    state.BandPower[3] = 1;
    EXPECT_EQ(LfHfRatio(state), 1.5f);
}

}  // namespace
}  // namespace ritmova
