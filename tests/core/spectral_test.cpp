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

using testing::ToIntervals;

// Runs the spectral steps of a pass over `values`; returns SpectrumMax.
float Spectrum(AnalysisState& state, const std::vector<double>& values) {
    const IntervalValues intervals = ToIntervals(values);
    for (int i = 1; i <= BeatCount; ++i) {
        state.RRSeries[i] = intervals[static_cast<std::size_t>(i - 1)];
        state.RRSeriesAsRead[i] = state.RRSeries[i];
    }
    state.MeanRR = RunningMean(intervals);
    PrepareSeries(state);
    TransformSeries(state);
    return ComputePowerSpectrum(state, [](float) {});
}

int LargestElement(const AnalysisState& state) {
    const auto first = state.PowerSpectrum.begin() + 1;
    return static_cast<int>(std::max_element(first, first + 128) - state.PowerSpectrum.begin());
}

TEST(PowerSpectrumTest, EqualValuesGiveTinyButNonzeroPowers) {
    AnalysisState state;
    const float maximum = Spectrum(state, testing::Constant(0.8));
    EXPECT_GT(maximum, 0.0f);
    EXPECT_LT(maximum, 1.8e-9f);
    EXPECT_EQ(SpectrumCaption(maximum), " 1.69");  // exponent form: 1.695011E-09
}

TEST(PowerSpectrumTest, PeriodOfEightBeatsPeaksAtOneEighthCyclePerBeat) {
    std::vector<double> values;
    for (int n = 0; n < BeatCount; ++n) values.push_back(0.8 + 0.05 * std::cos(2 * M_PI * n / 8));
    AnalysisState state;
    Spectrum(state, values);
    EXPECT_EQ(LargestElement(state), 33);  // output 32 = 32/256 cycle per beat
}

TEST(PowerSpectrumTest, HalfACyclePerBeatLiesBeyondTheWrittenElements) {
    AnalysisState state;
    Spectrum(state, testing::Alternating(0.9, 0.7));
    EXPECT_EQ(LargestElement(state), 128);
    for (int j = 129; j <= 512; ++j) ASSERT_EQ(state.PowerSpectrum[j], 0.0f) << j;
}

TEST(PowerSpectrumTest, PreparationRemovesTheMeanAndTapers) {
    AnalysisState state;
    Spectrum(state, testing::Alternating(0.5, 1.0));
    EXPECT_EQ(state.RRSeries[1], -0.25f);
    EXPECT_EQ(state.RRSeries[256], 0.25f);
    EXPECT_EQ(state.FftData[0], 0.0);
    // Zero-frequency power: (sum of tapered values)^2 / 128 * pi is small but not zero.
    EXPECT_GT(state.PowerSpectrum[1], 0.0f);
}

// Puts `power` at the given PowerSpectrum elements of a cleared spectrum.
AnalysisState WithPowers(std::initializer_list<std::pair<int, float>> powers) {
    AnalysisState state;
    for (auto [j, power] : powers) state.PowerSpectrum[j] = power;
    return state;
}

TEST(BandMeasuresTest, PeakIsTheElementIndexOver256) {
    AnalysisState state = WithPowers({{3, 0.5f}, {20, 2.0f}, {21, 1.0f}, {50, 0.25f}});
    ComputeBandMeasures(state);
    EXPECT_EQ(state.PeakFrequency[1], 3.0f / 256);
    EXPECT_EQ(state.PeakFrequency[2], 0.078125f);  // element 20, not its own frequency 19/256
    EXPECT_EQ(state.PeakFrequency[3], 50.0f / 256);
    EXPECT_EQ(state.BandPower[1], 0.5f);
    EXPECT_EQ(state.BandPower[2], 3.0f);
    EXPECT_EQ(state.BandPower[3], 0.25f);
    EXPECT_EQ(state.BandPower[0], 3.75f);
    EXPECT_EQ(state.BandPercent[2], 3.0f / 3.25f * 100.0f);
    EXPECT_EQ(state.BandPercent[3], 0.25f / 3.25f * 100.0f);
}

TEST(BandMeasuresTest, EdgesTiesAndOutOfBandPower) {
    AnalysisState state = WithPowers({{1, 1.0f},
                                      {10, 1.0f},
                                      {11, 0.5f},
                                      {15, 0.75f},
                                      {30, 0.75f},
                                      {38, 0.1f},
                                      {39, 0.2f},
                                      {102, 0.3f},
                                      {103, 100.f},
                                      {128, 100.f}});
    ComputeBandMeasures(state);
    EXPECT_EQ(state.PeakFrequency[1], 1.0f / 256);  // the first of equal maxima
    EXPECT_EQ(state.PeakFrequency[2], 15.0f / 256);
    EXPECT_EQ(state.PeakFrequency[3], 102.0f / 256);
    EXPECT_EQ(state.BandPower[1], 2.0f);
    EXPECT_EQ(state.BandPower[2], 2.1f);
    EXPECT_EQ(state.BandPower[3], 0.5f);
    EXPECT_EQ(state.BandPower[0], (2.0f + 2.1f) + 0.5f);  // 103..128 count nowhere
}

TEST(BandMeasuresTest, EmptyBandKeepsPeakZero) {
    AnalysisState state = WithPowers({{20, 1.0f}, {40, 1.0f}});
    ComputeBandMeasures(state);
    EXPECT_EQ(state.PeakFrequency[1], 0.0f);
    EXPECT_EQ(state.BandPower[1], 0.0f);
    EXPECT_EQ(state.BandPercent[2], 50.0f);
}

TEST(BandMeasuresTest, NoLfOrHfPowerFailsAfterTheBandPowers) {
    AnalysisState state = WithPowers({{5, 1.0f}});
    EXPECT_THROW(ComputeBandMeasures(state), CommandFailure);
    EXPECT_EQ(state.BandPower[1], 1.0f);
    EXPECT_EQ(state.PeakFrequency[1], 5.0f / 256);
    EXPECT_EQ(state.BandPercent[2], 0.0f);
    EXPECT_EQ(state.BandPercent[3], 0.0f);
}

TEST(BandMeasuresTest, LfHfNeedsHfPower) {
    AnalysisState state = WithPowers({{20, 1.0f}});
    ComputeBandMeasures(state);
    EXPECT_THROW(LfHfRatio(state), CommandFailure);
    state.BandPower[3] = 0.5f;
    EXPECT_EQ(LfHfRatio(state), 2.0f);
}

}  // namespace
}  // namespace ritmova
