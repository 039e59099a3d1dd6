#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/window_analysis.h"
#include "common/command_failure.h"
#include "measures/fourier_transform.h"
#include "test_data.h"

namespace ritmova {
namespace {

// FNV-1a over the bytes of values without padding: equal digests, equal bits.
struct Digest {
    std::uint64_t value = 0xcbf29ce484222325u;
    void bytes(const void* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i)
            value = (value ^ static_cast<const unsigned char*>(data)[i]) * 0x100000001b3u;
    }
    template <typename... T>
    void add(const T&... values) {
        (bytes(&values, sizeof values), ...);
    }
};

// Every result of the pass and of the Markov analysis, and where they failed, in the order
// and with the types the results had when the digests were taken: the pass's arrays from
// element 0, the transform's length, the Markov analysis's states after an unused element 0.
std::uint64_t PassDigest(const IntervalValues& values) {
    WindowAnalysis a;
    AnalyseWindow(values, 0, a);
    Digest d;
    const std::string reason = a.failure ? *a.failure : a.markovFailure;
    d.bytes(reason.data(), reason.size());
    const PassResults& p = a.pass;
    const MarkovResult& m = a.markov;
    const std::int16_t transformLength = BeatCount, unusedState = 0;
    d.add(p.deviations, p.seriesAsRead, p.meanRR, p.timeDomain.sdnn, transformLength, p.transform,
          p.powerSpectrum, p.bands.power, p.bands.percent, p.bands.peakFrequency, m.limitLow,
          m.limitMid, m.limitHigh, unusedState, m.states, m.counts, m.probabilities, m.h0,
          m.transitionCounts, m.transitionProbabilities, m.h1, m.nakahamaIndex.value_or(0.0f));
    d.add(p.timeDomain.rmssd, p.timeDomain.nn50, p.timeDomain.pnn50, p.spectrumMax.value,
          p.poincareR.value_or(-1.0));
    return d.value;
}

// Digests as the pass computed them before any change made for speed.
TEST(PassBitsTest, EveryResultKeepsItsBits) {
    const std::tuple<const char*, IntervalValues, std::uint64_t> cases[] = {
        {"Nsr2db", ReadIntervalFile(testing::ExampleFile("nsr2db-nsr012.int")),
         13277977517222538888u},
        {"BartelsRest", ReadIntervalFile(testing::ExampleFile("bartelshrv-rest.int")),
         4329472181102283219u},
        // Nearly all the power near element 128, beyond the HF band; r near -1.
        {"Alternating", testing::ToIntervals(testing::Alternating(0.7, 0.9)),
         16295673730032324893u},
        // Every beat in one state: the Markov analysis fails.
        {"Constant", testing::ToIntervals(testing::Constant(0.8)), 2305682100592097904u}};
    for (const auto& [name, values, digest] : cases) EXPECT_EQ(PassDigest(values), digest) << name;
}

// Every length and direction of the transform, on values of every sign and size with signed
// zeros among them, gives the bits it gave before any change made for speed.
TEST(TransformBitsTest, EveryLengthAndDirectionKeepsItsBits) {
    Digest digest;
    for (int count = 1; count <= 8192; count *= 2) {
        for (int direction : {1, -1}) {
            std::vector<double> data(2 * static_cast<std::size_t>(count) + 1);
            for (std::size_t i = 1; i < data.size(); ++i) {
                const double x = static_cast<double>(i);
                data[i] = i % 7 == 0
                              ? (i % 2 ? -0.0 : 0.0)
                              : std::sin(x * x) * std::exp2(static_cast<double>(i % 61) - 30.0);
            }
            FourierTransform(static_cast<std::int16_t>(count), data,
                             static_cast<std::int16_t>(direction));
            digest.bytes(data.data(), data.size() * sizeof(double));
        }
    }
    EXPECT_EQ(digest.value, 8051731086678423472u);
}

}  // namespace
}  // namespace ritmova
