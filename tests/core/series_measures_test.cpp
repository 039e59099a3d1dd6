// The time-domain and spectral measures of a series, worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "measures/band_measures.h"
#include "measures/fourier_transform.h"
#include "measures/power_spectrum.h"
#include "measures/time_domain.h"
#include "report/results_text.h"
#include "test_data.h"

namespace ritmova {
namespace {

// SDNN divides by 255, RMSSD by 255 differences, pNN50 by 255.
TEST(TimeDomainTest, MeasuresWorkedOutByHand) {
    const struct {
        const char* name;
        std::vector<double> values;
        float mean;
        double sdnn, rmssd;
        int nn50;
        double pnn50;
    } cases[] = {
        // The running sum of 0.8f / 256 drifts 2^-19 above 0.8f in single precision.
        {"Constant", testing::Constant(0.8), 0.8000019192695618f,
         std::ldexp(std::sqrt(256.0 / 255.0), -19), 0, 0, 0},
        // Deviations of +-0.25: 256 squares of 1/16.
        {"Alternating", testing::Alternating(0.5, 1.0), 0.75f, std::sqrt(16.0 / 255.0), 0.5, 255,
         100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const IntervalValues intervals = testing::ToIntervals(c.values);
        const float mean = RunningMean(intervals);
        EXPECT_NEAR(mean, c.mean, 2.5e-6);  // the running mean's drift
        const TimeDomain values = ComputeTimeDomain(intervals, mean);
        EXPECT_NEAR(values.sdnn, c.sdnn, 1e-5 * c.sdnn);
        EXPECT_NEAR(values.rmssd, c.rmssd, 1e-6);
        EXPECT_EQ(values.nn50, c.nn50);
        EXPECT_NEAR(values.pnn50, c.pnn50, 1e-12);
    }
}

// The single-precision difference must be above the single-precision 0.05: 0.8f - 0.75f is
// 0.0500000119, 1.05f - 1.0f 0.0499999523, and 0.1f is exactly twice 0.05f.
TEST(TimeDomainTest, NN50CountsOnlyDifferencesAboveFiveHundredths) {
    for (const auto& [first, second, counts] : {std::tuple{0.80, 0.75, true},
                                                {1.00, 1.05, false},
                                                {0.70, 0.80, true},
                                                {0.10, 0.05, false}}) {
        const IntervalValues intervals = testing::ToIntervals(testing::Alternating(first, second));
        EXPECT_EQ(ComputeTimeDomain(intervals, RunningMean(intervals)).nn50, counts ? 255 : 0)
            << first << " " << second;
    }
}

constexpr int N = 256;

// X(k) = sum x(n) exp(+i 2pi k n / 256), worked out from the definition: an impulse at n = 64
// turns by a quarter turn per bin, X(k) = i^k (the exponent's sign is +).
TEST(FourierTransformTest, DelayedImpulseTurnsAQuarterPerBin) {
    std::array<double, 2 * N + 1> data{};
    data[0] = 42.5;  // never touched
    data[2 * 64 + 1] = 1;
    FourierTransform(N, data, 1);
    EXPECT_EQ(data[0], 42.5);
    constexpr double Re[] = {1, 0, -1, 0}, Im[] = {0, 1, 0, -1};
    for (std::size_t k = 0; k < N; ++k) {
        ASSERT_NEAR(data[2 * k + 1], Re[k % 4], 1e-12) << k;
        ASSERT_NEAR(data[2 * k + 2], Im[k % 4], 1e-12) << k;
    }
}

// Counts that are powers of two up to 8192, arrays holding 0..2*count, directions +-1.
TEST(FourierTransformTest, RejectsCountsArraysAndDirectionsOutOfRange) {
    std::array<double, 2 * 8192 + 1> data{};
    EXPECT_NO_THROW(FourierTransform(8192, data, -1));
    // clang-format off
    for (const auto& [count, direction, size] : {std::tuple{0, 1, 1}, {-4, 1, 16385},
            {100, 1, 16385}, {16384, 1, 16385}, {256, 1, 512}, {256, 0, 513}, {256, 2, 513},
            {256, -2, 513}}) {
        // clang-format on
        EXPECT_THROW(FourierTransform(std::int16_t(count), std::span(data).first(std::size_t(size)),
                                      std::int16_t(direction)),
                     std::invalid_argument)
            << count << " " << direction << " " << size;
    }
}

// A cosine of `period` beats around 0.8 s has its power at bin 256 / period, PowerSpectrum
// element 256 / period + 1; period 2 (bin 128) is past the written elements and shows at
// their end. The caption is the first five characters of the maximum's text.
TEST(PowerSpectrumTest, CosinePutsItsPowerInItsBin) {
    for (const auto& [period, element] : {std::pair{32, 9}, {8, 33}, {4, 65}, {2, 128}}) {
        std::vector<double> values;
        for (int n = 0; n < BeatCount; ++n)
            values.push_back(0.8 + 0.05 * std::cos(2 * M_PI * n / period));
        IntervalValues intervals = testing::ToIntervals(values);
        std::array<double, 2 * N + 1> transform{};
        std::array<float, 2 * N + 1> spectrum{};
        TaperDeviations(intervals, RunningMean(intervals), transform);
        TransformSeries(transform);
        SpectrumMaximum maximum;
        ComputePowerSpectrum(transform, spectrum, maximum);
        const auto first = spectrum.begin() + 1;
        EXPECT_EQ(std::max_element(first, first + 128) - spectrum.begin(), element);
        EXPECT_EQ(spectrum[std::size_t(element)], maximum.value);
        EXPECT_EQ(maximum.powers, 128);
        for (int j = 129; j <= 512; ++j) ASSERT_EQ(spectrum[std::size_t(j)], 0.0f) << j;
    }
    EXPECT_EQ(SpectrumCaption(0.61359231f), " .613");
}

// An overflowing power fails with the maximum of the powers before it.
TEST(PowerSpectrumTest, OverflowFailsWithTheMaximumSoFar) {
    for (const int failing : {1, 3}) {
        std::array<double, 2 * N + 1> transform{};
        std::array<float, 2 * N + 1> spectrum{};
        transform[1] = 2;
        transform[std::size_t(2 * failing - 1)] = 1e30;
        SpectrumMaximum maximum{5, 5};
        EXPECT_THROW(ComputePowerSpectrum(transform, spectrum, maximum), CommandFailure);
        EXPECT_EQ(maximum.powers, failing - 1);
        EXPECT_EQ(maximum.value, failing == 1 ? 0 : 3.14159265f / 32);  // 2^2 / 128 pi
    }
}

// Powers put at chosen PowerSpectrum elements and the band measures worked out by hand.
// VLF is 1..10, LF 11..38, HF 39..102; the peak is the element index / 256.
TEST(BandMeasuresTest, WorkedOutByHand) {
    const struct {
        const char* name;
        std::vector<std::pair<int, float>> powers;
        std::array<float, 4> peak, power, percent;
    } cases[] = {// clang-format off
        // The first of equal maxima; 103..128 count nowhere.
        {"EdgesAndTies", {{1, 1.0f}, {10, 1.0f}, {11, 0.5f}, {15, 0.75f}, {30, 0.75f}, {38, 0.1f},
                          {39, 0.2f}, {102, 0.3f}, {103, 100.f}, {128, 100.f}},
         {0, 1.0f / 256, 15.0f / 256, 102.0f / 256}, {4.6f, 2.0f, 2.1f, 0.5f},
         {0, 0, 2.1f / 2.6f * 100, 0.5f / 2.6f * 100}},
        {"EmptyVlfKeepsPeakZero", {{20, 1.0f}, {40, 1.0f}}, {0, 0, 20.0f / 256, 40.0f / 256},
         {2, 0, 1, 1}, {0, 0, 50, 50}}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<float, 2 * N + 1> spectrum{};
        for (auto [j, power] : c.powers) spectrum[std::size_t(j)] = power;
        BandMeasures bands;
        ComputeBandMeasures(spectrum, bands);
        for (std::size_t b = 0; b < 4; ++b) {
            EXPECT_FLOAT_EQ(bands.peakFrequency[b], c.peak[b]) << b;
            EXPECT_FLOAT_EQ(bands.power[b], c.power[b]) << b;
            EXPECT_FLOAT_EQ(bands.percent[b], c.percent[b]) << b;
        }
    }
}

// Without LF and HF power the relative powers fail, the measures before them in place and
// those of an earlier spectrum gone; LF/HF needs HF power.
TEST(BandMeasuresTest, NoLfOrHfPowerFails) {
    std::array<float, 2 * N + 1> spectrum{};
    spectrum[5] = 1.0f;
    BandMeasures bands;
    bands.percent = {7, 7, 7, 7};
    EXPECT_EQ(testing::FailureReason([&] { ComputeBandMeasures(spectrum, bands); }, "none"),
              "no power in the LF and HF bands");
    EXPECT_EQ(bands.power, (std::array<float, 4>{1, 1, 0, 0}));
    EXPECT_EQ(bands.peakFrequency[1], 5.0f / 256);
    EXPECT_EQ(bands.percent, (std::array<float, 4>{}));
    bands.power = {1.5f, 0, 1.5f, 0};
    EXPECT_EQ(testing::FailureReason([&] { LfHfRatio(bands); }, "none"),
              "no power in the HF band: LF/HF is undefined");
    bands.power[3] = 1;
    EXPECT_EQ(LfHfRatio(bands), 1.5f);
}

}  // namespace
}  // namespace ritmova
