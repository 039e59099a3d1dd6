// The spectra in Hz and their band measures: sines of known power, Parseval, settings of
// series of known length, invariance and scaling, and the band rule at its edges.
#include "standard/spectra.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

#include "common/command_failure.h"
#include "spectrum_series.h"
#include "standard/spectral_bands.h"

namespace ritmova::standard {
namespace {

using testing::BeatSeries;
using SpectrumFunction = std::function<Spectrum(std::span<const double>, std::span<const double>)>;

const struct {
    const char* name;
    SpectrumFunction compute;
} methods[] = {
    {"Welch", WelchSpectrum}, {"Lomb-Scargle", LombScargleSpectrum}, {"Burg", BurgSpectrum}};

// 1000 beats about 0.8 s apart, jittered by up to ±0.12 s; the intervals are 800 ms plus a sine
// of the beat time, whose power is amplitude² / 2.
BeatSeries SineAtUnevenBeats(double hz, double amplitude) {
    BeatSeries s;
    for (int i = 1; i <= 1000; ++i) {
        const double t = 0.8 * i + 0.12 * std::sin(1.7 * i * i);
        s.timesS.push_back(t);
        s.rrMs.push_back(800.0 + amplitude * std::sin(2.0 * std::numbers::pi * hz * t));
    }
    return s;
}

TEST(SpectraTest, SineLandsInItsBandWithItsPower) {
    const struct {
        double hz, amplitude;
        Band band;
    } cases[] = {{0.02, 30.0, Band::Vlf}, {0.1, 40.0, Band::Lf}, {0.2, 20.0, Band::Hf}};
    for (const auto& c : cases)
        for (const auto& method : {methods[0], methods[1]}) {
            const BeatSeries s = SineAtUnevenBeats(c.hz, c.amplitude);
            const BandMeasures bands = MeasureBands(method.compute(s.rrMs, s.timesS));
            const double power = c.amplitude * c.amplitude / 2.0;
            SCOPED_TRACE(std::string(method.name) + " at " + std::to_string(c.hz) + " Hz");
            EXPECT_NEAR(*bands[c.band].powerMs2.value, power, 0.03 * power);
            EXPECT_NEAR(*bands[c.band].peakHz.value, c.hz, 0.004);
            EXPECT_NEAR(*bands.totalMs2.value, power, 0.04 * power);
        }
}

// Beats 0.25 s apart put the knots on the 4-Hz grid, so Burg's method sees the autoregressive
// process x_n = 1.2 x_{n−1} − 0.6 x_{n−2} + e_n (σ = 10 ms) itself, whose density is
// 2 σ² / 4 / |1 − 1.2 z + 0.6 z²|², z = e^{−2πif/4}.
TEST(SpectraTest, BurgFindsAKnownProcess) {
    std::mt19937_64 random(5);
    std::normal_distribution<double> noise(0.0, 10.0);
    BeatSeries s;
    double x1 = 0.0, x2 = 0.0;
    for (int i = 1; i <= 40000; ++i) {
        const double x = 1.2 * x1 - 0.6 * x2 + noise(random);
        x2 = x1, x1 = x;
        s.timesS.push_back(0.25 * i), s.rrMs.push_back(800.0 + x);
    }
    const Spectrum burg = BurgSpectrum(s.rrMs, s.timesS);
    const std::size_t points[] = {0, 100, 200, 300, 500, 1000, 2048};
    for (const std::size_t k : points) {
        const std::complex<double> z =
            std::polar(1.0, -2.0 * std::numbers::pi * burg.frequencyHz[k] / 4.0);
        const double expected = 2.0 * 100.0 / 4.0 / std::norm(1.0 - 1.2 * z + 0.6 * z * z);
        EXPECT_NEAR(burg.densityMs2PerHz[k], expected, 0.1 * expected) << burg.frequencyHz[k];
    }
}

// Σ density × Δf is the mean over segments of Σ (windowed, mean-removed sample)² / Σ w².
TEST(SpectraTest, WelchKeepsParseval) {
    for (const char* name : {"rrhs-009.int", "picsdb-infant1seg0.int"}) {
        const BeatSeries s = testing::RealSeries(name);
        const Spectrum welch = WelchSpectrum(s.rrMs, s.timesS);
        const std::vector<double> x = ResampleAt4Hz(s.rrMs, s.timesS);
        const std::size_t length = welch.segmentSamples;
        std::vector<double> hann;  // sin²(πn/L)
        for (std::size_t n = 0; n < length; ++n)
            hann.push_back(std::pow(std::sin(std::numbers::pi * double(n) / double(length)), 2));
        double energy = 0.0, windowPower = 0.0;
        for (const double w : hann) windowPower += w * w;
        for (std::size_t start = 0; start + length <= x.size(); start += length - length / 2) {
            double mean = 0.0;
            for (std::size_t n = 0; n < length; ++n) mean += x[start + n] / double(length);
            for (std::size_t n = 0; n < length; ++n)
                energy += std::pow((x[start + n] - mean) * hann[n], 2);
        }
        double integral = 0.0;
        for (const double d : welch.densityMs2PerHz) integral += d * welch.resolutionHz;
        EXPECT_NEAR(integral, energy / windowPower / double(welch.segments), 1e-9 * integral)
            << name;
    }
}

// Beats exactly 1 s apart: N beats give 4 (N − 1) samples at 4 Hz and T = N − 1 s.
TEST(SpectraTest, SettingsOfKnownLengths) {
    const struct {
        int beats;
        std::size_t welchLength, welchSegments, lombPoints;
    } cases[] = {
        {129, 512, 1, 256}, {301, 1024, 1, 600}, {385, 1024, 2, 768}, {2001, 1024, 14, 4000}};
    for (const auto& c : cases) {
        BeatSeries s;
        for (int i = 1; i <= c.beats; ++i)
            s.timesS.push_back(i), s.rrMs.push_back(1000.0 + 30.0 * std::sin(i));
        const Spectrum welch = WelchSpectrum(s.rrMs, s.timesS),
                       lomb = LombScargleSpectrum(s.rrMs, s.timesS),
                       burg = BurgSpectrum(s.rrMs, s.timesS);
        EXPECT_EQ(std::vector({welch.segmentSamples, welch.segments, welch.fftPoints,
                               welch.frequencyHz.size(), lomb.frequencyHz.size()}),
                  std::vector({c.welchLength, c.welchSegments, std::size_t{1024}, std::size_t{513},
                               c.lombPoints}));
        EXPECT_EQ(
            std::vector({burg.segmentSamples, burg.frequencyHz.size(), burg.fftPoints, burg.order}),
            std::vector<std::size_t>({std::size_t(4 * (c.beats - 1)), 2049, 4096, 16}));
        EXPECT_EQ(welch.resolutionHz, 1.0 / 256);
        EXPECT_DOUBLE_EQ(lomb.resolutionHz, 1.0 / (4.0 * (c.beats - 1)));
        EXPECT_EQ(burg.frequencyHz.back(), 2.0);
    }
}

// Too short a stretch, a value not finite, or times that do not increase (at beat 2) give a
// reason, which every band measure carries; times and intervals not in pairs are refused.
TEST(SpectraTest, StretchesWithoutSpectraGiveReasons) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        std::vector<double> rr, times;
        bool welch, lomb, burg;
    } cases[] = {
        {{}, {}, false, false, false},
        {{800}, {0.8}, false, false, false},
        {{300, 300}, {0.3, 0.6}, true, false, false},
        {{800, 800}, {0.8, 1.6}, true, true, false},
        {{800, 810, 790, 800, 820, 800}, {0.8, 1.61, 2.4, 3.2, 4.02, 4.82}, true, true, true},
        {{800, 800, 800}, {0.8, 0.8, 2.4}, false, false, false},
        {{800, 800, 800}, {0.8, 0.7, 2.4}, false, false, false},
        {{800, nan, 800}, {0.8, 1.6, 2.4}, false, false, false},
        {{800, 800, 800}, {0.8, nan, 2.4}, false, false, false}};
    for (const auto& c : cases) {
        const bool expected[] = {c.welch, c.lomb, c.burg};
        for (std::size_t m = 0; m < 3; ++m) {
            const Spectrum spectrum = methods[m].compute(c.rr, c.times);
            EXPECT_EQ(spectrum.Available(), expected[m]) << methods[m].name << " " << c.rr.size();
            EXPECT_EQ(spectrum.reason.empty(), expected[m]) << methods[m].name;
            EXPECT_TRUE(expected[m] || MeasureBands(spectrum).lfHf.reason == spectrum.reason);
            EXPECT_TRUE(c.rr.size() != 3 || spectrum.reason.find("beat 2") != std::string::npos);
        }
        if (!c.times.empty()) {
            EXPECT_THROW(WelchSpectrum(c.rr, {c.times.data(), 0}), CommandFailure);
        }
    }
}

// A constant series has no power anywhere: its ratios are absent with a reason, never NaN.
TEST(SpectraTest, ConstantSeriesHasNoRatios) {
    const BeatSeries s = testing::FromIntervals(std::vector<double>(500, 800.0));
    for (const auto& method : methods) {
        const BandMeasures bands = MeasureBands(method.compute(s.rrMs, s.timesS));
        EXPECT_EQ(*bands[Band::Lf].powerMs2.value, 0.0) << method.name;
        EXPECT_EQ(*bands.totalMs2.value, 0.0) << method.name;
        for (const Measured* ratio : {&bands[Band::Hf].relativePercent, &bands.lfNu, &bands.lfHf})
            EXPECT_TRUE(!*ratio && !ratio->reason.empty()) << method.name;
    }
}

// Two threads at once (planning new transform lengths together) give the same bits as one.
TEST(SpectraTest, SameBitsOnTwoThreads) {
    const BeatSeries a = testing::RealSeries("chf2db-chf221.int"),
                     b = testing::RealSeries("mitdb-119.int");
    for (const auto& method : methods) {
        Spectrum onA, onB;
        std::thread other([&] { onB = method.compute(b.rrMs, b.timesS); });
        onA = method.compute(a.rrMs, a.timesS);
        other.join();
        EXPECT_EQ(onA.densityMs2PerHz, method.compute(a.rrMs, a.timesS).densityMs2PerHz);
        EXPECT_EQ(onB.densityMs2PerHz, method.compute(b.rrMs, b.timesS).densityMs2PerHz);
    }
}

// Shifting every beat time changes nothing; scaling the intervals by k scales the densities by
// k² (Lomb-Scargle's by k³ with its mean interval, at the same frequencies).
TEST(SpectraTest, ShiftAndScale) {
    const BeatSeries s = testing::RealSeries("nsr2db-nsr024.int");
    BeatSeries shifted = s, scaled = s;
    for (double& t : shifted.timesS) t += 3600.0;
    for (double& rr : scaled.rrMs) rr *= 3.0;
    const double power[] = {9.0, 27.0, 9.0};
    for (std::size_t m = 0; m < 3; ++m) {
        const Spectrum base = methods[m].compute(s.rrMs, s.timesS);
        const Spectrum moved = methods[m].compute(shifted.rrMs, shifted.timesS);
        const Spectrum larger = methods[m].compute(scaled.rrMs, scaled.timesS);
        ASSERT_EQ(moved.densityMs2PerHz.size(), base.densityMs2PerHz.size());
        double largest = 0.0;
        for (const double d : base.densityMs2PerHz) largest = std::max(largest, d);
        for (std::size_t k = 0; k < base.densityMs2PerHz.size(); ++k) {
            ASSERT_NEAR(moved.densityMs2PerHz[k], base.densityMs2PerHz[k], 1e-9 * largest)
                << methods[m].name;
            ASSERT_NEAR(larger.densityMs2PerHz[k], power[m] * base.densityMs2PerHz[k],
                        1e-9 * power[m] * largest)
                << methods[m].name;
        }
    }
}

// Points exactly at the band edges belong to the band above; the first of equal peaks wins.
TEST(SpectralBandsTest, EdgesRatiosAndAbsences) {
    Spectrum spectrum;
    spectrum.frequencyHz = {0.0, 0.003, 0.02, 0.04, 0.1, 0.15, 0.3, 0.4, 0.5};
    spectrum.densityMs2PerHz = {1, 2, 2, 4, 4, 8, 16, 32, 64};
    spectrum.resolutionHz = 0.5;
    const BandMeasures m = MeasureBands(spectrum);
    // ULF 1 × 0.5 at 0; VLF (2 + 2) × 0.5 first at 0.003; LF (4 + 4) × 0.5; HF (8 + 16) × 0.5.
    EXPECT_EQ(std::vector({*m[Band::Ulf].powerMs2.value, *m[Band::Vlf].powerMs2.value,
                           *m[Band::Lf].powerMs2.value, *m[Band::Hf].powerMs2.value,
                           *m.totalMs2.value, *m.lfNu.value, *m.hfNu.value}),
              std::vector({0.5, 2.0, 4.0, 12.0, 18.0, 25.0, 75.0}));
    EXPECT_EQ(std::vector({*m[Band::Ulf].peakHz.value, *m[Band::Vlf].peakHz.value,
                           *m[Band::Lf].peakHz.value, *m[Band::Hf].peakHz.value}),
              std::vector({0.0, 0.003, 0.04, 0.3}));
    EXPECT_DOUBLE_EQ(*m[Band::Vlf].relativePercent.value, 100.0 / 9);
    EXPECT_DOUBLE_EQ(*m[Band::Hf].relativePercent.value, 200.0 / 3);
    EXPECT_DOUBLE_EQ(*m.lfHf.value, 1.0 / 3);
    EXPECT_FALSE(m[Band::Ulf].relativePercent);
    spectrum.densityMs2PerHz = {1, 2, 2, 4, 4, 0, 0, 32, 64};  // no HF power
    EXPECT_FALSE(MeasureBands(spectrum).lfHf);
    EXPECT_EQ(*MeasureBands(spectrum).lfNu.value, 100.0);
    spectrum.frequencyHz = {0.0, 0.05, 0.1, 0.14, 0.5, 0.6, 0.7, 0.8, 0.9};  // none in VLF, HF
    const BandMeasures gaps = MeasureBands(spectrum);
    EXPECT_FALSE(gaps[Band::Vlf].powerMs2 || gaps[Band::Hf].peakHz || gaps.totalMs2);
    EXPECT_FALSE(gaps.lfNu.reason.empty());
}

}  // namespace
}  // namespace ritmova::standard
