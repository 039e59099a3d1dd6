// The fast Lomb-Scargle periodogram (non-uniform FFTs) against its direct sums.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "spectrum_series.h"
#include "standard/fourier.h"
#include "standard/spectra.h"
#include "standard/spectral_bands.h"

namespace ritmova::standard {
namespace {

using testing::BeatSeries;

// The periodogram as written: τ from atan2, every sum over every beat, O(N × F).
std::vector<double> DirectDensity(const BeatSeries& s, const std::vector<double>& frequencies) {
    double mean = 0.0;
    for (const double rr : s.rrMs) mean += rr / static_cast<double>(s.rrMs.size());
    std::vector<double> density;
    for (const double f : frequencies) {
        const double w = 2.0 * std::numbers::pi * f;
        double s2 = 0.0, c2 = 0.0;
        for (const double t : s.timesS) {
            s2 += std::sin(2.0 * w * (t - s.timesS[0]));
            c2 += std::cos(2.0 * w * (t - s.timesS[0]));
        }
        const double tau = std::atan2(s2, c2) / (2.0 * w);
        double yc = 0.0, ys = 0.0, cc = 0.0, ss = 0.0;
        for (std::size_t i = 0; i < s.rrMs.size(); ++i) {
            const double phase = w * (s.timesS[i] - s.timesS[0] - tau);
            yc += (s.rrMs[i] - mean) * std::cos(phase);
            ys += (s.rrMs[i] - mean) * std::sin(phase);
            cc += std::cos(phase) * std::cos(phase);
            ss += std::sin(phase) * std::sin(phase);
        }
        density.push_back((yc * yc / cc + ys * ys / ss) * mean / 1000.0);
    }
    return density;
}

BeatSeries RandomSeries(std::size_t beats, unsigned seed) {
    std::mt19937_64 random(seed);
    std::normal_distribution<double> rr(850.0, 60.0);
    std::vector<double> values;
    for (std::size_t i = 0; i < beats; ++i) values.push_back(rr(random));
    return testing::FromIntervals(values);
}

class LombScargleDirectTest : public ::testing::TestWithParam<std::string> {};

// Every density within 1e-10 of the largest, band powers within 1e-10 relative.
TEST_P(LombScargleDirectTest, FastEqualsDirect) {
    const std::string& name = GetParam();
    const BeatSeries s =
        name.starts_with("random") ? RandomSeries(700, 11) : testing::RealSeries(name);
    const Spectrum fast = LombScargleSpectrum(s.rrMs, s.timesS);
    const std::vector<double> direct = DirectDensity(s, fast.frequencyHz);
    double largest = 0.0;
    for (const double d : direct) largest = std::max(largest, d);
    for (std::size_t k = 0; k < direct.size(); ++k)
        ASSERT_NEAR(fast.densityMs2PerHz[k], direct[k], 1e-10 * largest) << k;
    Spectrum directSpectrum = fast;
    directSpectrum.densityMs2PerHz = direct;
    const BandMeasures a = MeasureBands(fast), b = MeasureBands(directSpectrum);
    for (std::size_t band = 0; band < BandCount; ++band)
        EXPECT_NEAR(*a.bands[band].powerMs2.value, *b.bands[band].powerMs2.value,
                    1e-10 * *b.bands[band].powerMs2.value)
            << band;
}

INSTANTIATE_TEST_SUITE_P(Series, LombScargleDirectTest,
                         ::testing::Values("random", "rrhs-003.int", "mitdb-203.int",
                                           "bartelshrv-rest.int", "picsdb-infant1seg0.int"),
                         [](const auto& tested) {
                             std::string id = tested.param.substr(0, tested.param.find('.'));
                             std::replace(id.begin(), id.end(), '-', '_');
                             return id;
                         });

// The grid's transform length: the least number >= n with no prime factor above 5.
TEST(NonuniformFourierTest, SmoothLengths) {
    const std::size_t asked[] = {1, 7, 11, 97, 617572}, smooth[] = {1, 8, 12, 100, 622080};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(SmoothLength(asked[i]), smooth[i]) << asked[i];
}

}  // namespace
}  // namespace ritmova::standard
