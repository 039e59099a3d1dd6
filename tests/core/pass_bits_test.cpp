#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/open_command.h"
#include "common/command_failure.h"
#include "markov/markov_command.h"
#include "platform/headless_window.h"
#include "spectral/fourier_transform.h"
#include "test_data.h"

namespace ritmova {
namespace {

// FNV-1a over the bytes of values without padding: equal digests, equal bits.
class Digest {
  public:
    template <typename T>
    void add(const T& value) {
        bytes(&value, sizeof value);
    }
    void add(const std::string& text) { bytes(text.data(), text.size()); }
    void bytes(const void* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i)
            hash_ = (hash_ ^ static_cast<const unsigned char*>(data)[i]) * 0x100000001b3u;
    }
    std::uint64_t value() const { return hash_; }

  private:
    std::uint64_t hash_ = 0xcbf29ce484222325u;
};

void AddState(Digest& d, const AnalysisState& s) {
    d.add(s.RRSeries), d.add(s.RRSeriesAsRead), d.add(s.MeanRR), d.add(s.SDNN);
    d.add(s.FftPointCount), d.add(s.FftData), d.add(s.PowerSpectrum), d.add(s.BandPower);
    d.add(s.BandPercent), d.add(s.PeakFrequency), d.add(s.StateLimitLow), d.add(s.StateLimitMid);
    d.add(s.StateLimitHigh), d.add(s.StateSequence), d.add(s.StateCount);
    d.add(s.StateProbability), d.add(s.EntropyH0), d.add(s.TransitionCount);
    d.add(s.TransitionProbability), d.add(s.EntropyH1), d.add(s.NakahamaIndex);
}

// Every result of the pass without texts and of the Markov analysis, and where they failed.
std::uint64_t PassDigest(const IntervalValues& values) {
    AnalysisState state;
    HeadlessWindow window;
    PassValues pass;
    Digest digest;
    try {
        RunAnalysisPass(state, window, values, pass, PassOutput::MeasuresOnly);
        RunMarkovAnalysis(state);
    } catch (const CommandFailure& failure) {
        digest.add(std::string(failure.what()));
    }
    AddState(digest, state);
    digest.add(pass.timeDomain.RMSSD), digest.add(pass.timeDomain.NN50);
    digest.add(pass.timeDomain.PNN50), digest.add(pass.SpectrumMax);
    digest.add(pass.PoincareR.value_or(-1.0));
    return digest.value();
}

// 256 values around 0.8 s with slow and fast waves and an irregular part.
IntervalValues Synthetic(double start) {
    IntervalValues values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double t = start + static_cast<double>(i);
        values[i] = static_cast<float>(0.8 + 0.05 * std::sin(t / 9.7) + 0.02 * std::sin(t / 0.7) +
                                       0.01 * std::sin(t * t));
    }
    return values;
}

struct BitsCase {
    const char* name;
    IntervalValues values;
    std::uint64_t digest;  // as the pass computed it before any change made for speed
};

class PassBitsTest : public ::testing::TestWithParam<BitsCase> {};

TEST_P(PassBitsTest, EveryResultKeepsItsBits) {
    EXPECT_EQ(PassDigest(GetParam().values), GetParam().digest);
}

INSTANTIATE_TEST_SUITE_P(
    Series, PassBitsTest,
    ::testing::Values(BitsCase{"Nsr2db",
                               ReadIntervalFile(testing::ExampleFile("nsr2db-nsr012.int")),
                               13277977517222538888u},
                      BitsCase{"BartelsRest",
                               ReadIntervalFile(testing::ExampleFile("bartelshrv-rest.int")),
                               4329472181102283219u},
                      BitsCase{"SyntheticFirst", Synthetic(0), 2987407202048795896u},
                      BitsCase{"SyntheticLater", Synthetic(77777), 94000671149277275u},
                      BitsCase{"Alternating", testing::ToIntervals(testing::Alternating(0.7, 0.9)),
                               16295673730032324893u},
                      BitsCase{"ConstantFailsAtMarkov",
                               testing::ToIntervals(testing::Constant(0.8)), 2305682100592097904u}),
    [](const auto& test) { return test.param.name; });

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
    EXPECT_EQ(digest.value(), 8051731086678423472u);
}

}  // namespace
}  // namespace ritmova
