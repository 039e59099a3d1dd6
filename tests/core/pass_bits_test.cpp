#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "analysis/open_command.h"
#include "common/command_failure.h"
#include "markov/markov_command.h"
#include "platform/headless_window.h"
#include "test_data.h"

namespace ritmova {
namespace {

// FNV-1a over the bytes of every value: two passes agree when every result has the same bits.
class Digest {
  public:
    template <typename T>
    void add(std::span<const T> values) {
        for (const T& value : values) {
            unsigned char bytes[sizeof(T)];
            std::memcpy(bytes, &value, sizeof(T));
            for (unsigned char byte : bytes) hash_ = (hash_ ^ byte) * 0x100000001b3u;
        }
    }
    template <typename T>
    void add(const T& value) {
        add(std::span<const T>(&value, 1));
    }
    void add(const std::string& text) { add(std::span<const char>(text)); }
    std::uint64_t value() const { return hash_; }

  private:
    std::uint64_t hash_ = 0xcbf29ce484222325u;
};

void AddState(Digest& digest, const AnalysisState& s) {
    digest.add<float>(s.RRSeries), digest.add<float>(s.RRSeriesAsRead);
    digest.add(s.MeanRR), digest.add(s.SDNN), digest.add(s.FftPointCount);
    digest.add<double>(s.FftData), digest.add<float>(s.PowerSpectrum);
    digest.add<float>(s.BandPower), digest.add<float>(s.BandPercent);
    digest.add<float>(s.PeakFrequency), digest.add(s.StateLimitLow), digest.add(s.StateLimitMid);
    digest.add(s.StateLimitHigh), digest.add<std::int16_t>(s.StateSequence);
    digest.add<std::int16_t>(s.StateCount), digest.add<float>(s.StateProbability);
    digest.add(s.EntropyH0), digest.add(s.TransitionCount), digest.add(s.TransitionProbability);
    digest.add(s.EntropyH1), digest.add(s.NakahamaIndex);
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
    EXPECT_EQ(PassDigest(GetParam().values), GetParam().digest) << std::hex;
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

}  // namespace
}  // namespace ritmova
