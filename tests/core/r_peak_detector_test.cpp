// The R-peak detector against the cardiologists' beats of PhysioNet records (MIT-BIH
// Arrhythmia and Supraventricular Arrhythmia databases, ODC-By 1.0; see
// ../shared/data/ecg/SOURCES.md), on signals whose beats are known by construction, and the
// beat-by-beat score on worked examples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <numbers>
#include <span>
#include <string>
#include <vector>

#include "common/command_failure.h"
#include "ecg/annotation_file.h"
#include "ecg/beat_score.h"
#include "ecg/r_peak_detector.h"
#include "ecg/signal_reader.h"
#include "test_data.h"

namespace ritmova::ecg {
namespace {

const std::string kEcg = RITMOVA_ECG_DATA_DIR "/";

// The MIT-BIH leads are the first channel; the fetal scalp lead of the EDF files is Direct_1.
std::string ChannelOf(const std::string& record) {
    return IsEdfPath(record) ? "Direct_1" : "1";
}

std::vector<float> ReadChannel(const std::string& record, std::size_t limit = SIZE_MAX) {
    SignalReader reader = OpenSignal(kEcg + record, ChannelOf(record));
    std::vector<float> samples;
    std::vector<float> block(4096);
    while (const std::size_t n = reader.read(block)) {
        samples.insert(samples.end(), block.begin(), block.begin() + static_cast<long>(n));
        if (samples.size() >= limit) break;
    }
    if (samples.size() > limit) samples.resize(limit);
    return samples;
}

double RecordRate(const std::string& record) {
    return OpenSignal(kEcg + record, ChannelOf(record)).frequencyHz();
}

// The signal fed in blocks of `block` samples, as a reader gives it.
std::vector<std::int64_t> DetectInBlocks(std::span<const float> signal, double rate,
                                         std::size_t block) {
    RPeakDetector detector(rate);
    for (std::size_t at = 0; at < signal.size(); at += block)
        detector.feed(signal.subspan(at, std::min(block, signal.size() - at)));
    detector.finish();
    return detector.takeBeats();
}

std::vector<std::int64_t> ReferenceBeats(const std::string& record) {
    std::vector<std::int64_t> beats;
    const std::string suffix = IsEdfPath(record) ? ".qrs" : ".atr";
    for (const Annotation& annotation : ReadAnnotations(kEcg + record + suffix).annotations)
        if (IsBeatCode(annotation.code)) beats.push_back(annotation.sample);
    return beats;
}

struct RecordCase {
    const char* record;
    double sensitivity;  // floors a little under what the detector reaches
    double predictivity;
};

// Scored from 5 minutes on (records no longer, from their start), 150 ms either side.
BeatScore ScoreRecord(const std::string& record) {
    static std::map<std::string, BeatScore> scores;
    if (const auto known = scores.find(record); known != scores.end()) return known->second;
    const double rate = RecordRate(record);
    const std::vector<float> signal = ReadChannel(record);
    const std::int64_t fiveMinutes = std::llround(300 * rate);
    const auto length = static_cast<std::int64_t>(signal.size());
    const std::int64_t from = length > fiveMinutes ? fiveMinutes : 0;
    return scores[record] = ScoreBeats(ReferenceBeats(record), DetectRPeaks(signal, rate),
                                       std::llround(0.15 * rate), from);
}

// Floors a little under the measured counts, which the gross test below prints.
const RecordCase kRecords[] = {
    {"mitdb/100", 0.999, 0.999}, {"mitdb/101", 0.999, 0.997}, {"mitdb/106", 0.999, 0.997},
    {"mitdb/109", 0.999, 0.999}, {"mitdb/118", 0.999, 0.999}, {"mitdb/119", 0.999, 0.998},
    {"mitdb/200", 0.996, 0.997}, {"mitdb/201", 0.996, 0.999}, {"mitdb/210", 0.996, 0.998},
    {"mitdb/219", 0.999, 0.999}, {"svdb/800", 0.999, 0.997},  {"wfdb-100s/100s", 0.98, 0.98},
};

// Fetal scalp leads at 1000 Hz (Abdominal and Direct Fetal ECG Database, PhysioNet), scored
// from their start: five minutes each.
const RecordCase kFetalRecords[] = {
    {"adfecgdb/r01.edf", 0.998, 0.998},
    {"adfecgdb/r07.edf", 0.99, 0.997},
};

class RecordScoreTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RecordScoreTest, FindsTheReferenceBeats) {
    const BeatScore score = ScoreRecord(GetParam().record);
    EXPECT_GE(score.sensitivity(), GetParam().sensitivity) << score.falseNegatives << " missed";
    EXPECT_GE(score.positivePredictivity(), GetParam().predictivity)
        << score.falsePositives << " false";
}

std::string RecordName(const ::testing::TestParamInfo<RecordCase>& info) {
    std::string name = info.param.record;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(PhysioNet, RecordScoreTest, ::testing::ValuesIn(kRecords), RecordName);
INSTANTIATE_TEST_SUITE_P(Fetal, RecordScoreTest, ::testing::ValuesIn(kFetalRecords), RecordName);

// Prints the table of every record's counts.
TEST(RecordScoreTest, GrossScoreReachesPublishedDetectors) {
    BeatScore gross;
    std::printf("%-15s %6s %4s %4s %8s %8s\n", "record", "TP", "FN", "FP", "Se %", "+P %");
    const auto print = [](const char* name, const BeatScore& s) {
        std::printf(
            "%-15s %6lld %4lld %4lld %8.3f %8.3f\n", name, static_cast<long long>(s.truePositives),
            static_cast<long long>(s.falseNegatives), static_cast<long long>(s.falsePositives),
            100 * s.sensitivity(), 100 * s.positivePredictivity());
    };
    for (const RecordCase& c : kRecords) {
        print(c.record, ScoreRecord(c.record));
        gross += ScoreRecord(c.record);
    }
    print("gross", gross);
    EXPECT_GE(gross.sensitivity(), 0.997);
    EXPECT_GE(gross.positivePredictivity(), 0.995);
    EXPECT_GT(gross.truePositives, 20'000);
}

// Narrow pulses (a Gaussian of 8 ms) on a slow baseline wave, at known samples.
std::vector<float> PulseTrain(double rate, double beatsPerMinute, std::vector<std::int64_t>& at) {
    std::vector<float> signal(static_cast<std::size_t>(30 * rate));
    for (double t = 0.5; t < 29.5; t += 60 / beatsPerMinute) at.push_back(std::llround(t * rate));
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double v = 0.2 * std::sin(2 * std::numbers::pi * 0.3 * t);
        for (const std::int64_t pulse : at) {
            const double z = (static_cast<double>(pulse) - static_cast<double>(i)) / (0.008 * rate);
            if (std::abs(z) < 8) v += std::exp(-0.5 * z * z);
        }
        signal[i] = static_cast<float>(v);
    }
    return signal;
}

class PulseTrainTest : public ::testing::TestWithParam<double> {};

// Every pulse and nothing else, each within a sample (the even means lag half a sample).
TEST_P(PulseTrainTest, FindsEachPulse) {
    const double rate = GetParam();
    for (const double beatsPerMinute : {40.0, 72.0, 150.0, 220.0}) {
        std::vector<std::int64_t> pulses;
        const std::vector<float> signal = PulseTrain(rate, beatsPerMinute, pulses);
        const std::vector<std::int64_t> beats = DetectRPeaks(signal, rate);
        ASSERT_EQ(beats.size(), pulses.size()) << beatsPerMinute << " per minute";
        for (std::size_t i = 0; i < beats.size(); ++i)
            EXPECT_LE(std::abs(beats[i] - pulses[i]), 1) << beatsPerMinute << " beat " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, PulseTrainTest, ::testing::Values(128, 250, 360, 500, 1000));

// Three minutes of ventricular bigeminy and trigeminy: upside down, or fed a sample at a time
// or in odd blocks, the beats are the same.
TEST(RPeakDetectorTest, SameBeatsInvertedAndInAnyBlocks) {
    const double rate = RecordRate("mitdb/119");
    std::vector<float> signal = ReadChannel("mitdb/119", static_cast<std::size_t>(180 * rate));
    const std::vector<std::int64_t> beats = DetectRPeaks(signal, rate);
    EXPECT_GT(beats.size(), 180u);
    EXPECT_EQ(DetectInBlocks(signal, rate, 1), beats);
    EXPECT_EQ(DetectInBlocks(signal, rate, 4099), beats);
    for (float& sample : signal) sample = -sample;
    EXPECT_EQ(DetectRPeaks(signal, rate), beats);
}

// A flat line has no beats; a minute of white noise, hardly any.
TEST(RPeakDetectorTest, NoBeatsWithoutAHeart) {
    EXPECT_TRUE(DetectRPeaks(std::vector<float>(60 * 360, 0.7f), 360).empty());
    std::vector<float> noise(60 * 250);
    std::uint32_t state = 2024;
    for (float& sample : noise) {
        state = state * 1664525U + 1013904223U;
        sample = static_cast<float>(state >> 8) / 16777216.0f - 0.5f;
    }
    EXPECT_LE(DetectRPeaks(noise, 250).size(), 10u);
}

TEST(RPeakDetectorTest, RefusesWhatItCannotDetect) {
    using testing::FailureReason;
    EXPECT_EQ(FailureReason([] { RPeakDetector detector(100); }, ""),
              "R-peak detection needs 128 to 1000 samples per second, not 100");
    EXPECT_EQ(FailureReason([] { RPeakDetector detector(1200); }, ""),
              "R-peak detection needs 128 to 1000 samples per second, not 1200");
    const std::vector<float> gap{1, 2, std::numeric_limits<float>::quiet_NaN()};
    EXPECT_EQ(FailureReason([&] { DetectRPeaks(gap, 250); }, ""),
              "R-peak detection: sample 2 is not a number");
    // A refused block leaves the detector as it was.
    std::vector<std::int64_t> pulses;
    const std::vector<float> train = PulseTrain(250, 72, pulses);
    RPeakDetector detector(250);
    EXPECT_THROW(detector.feed(gap), CommandFailure);
    detector.feed(train);
    detector.finish();
    EXPECT_EQ(detector.beats(), DetectRPeaks(train, 250));
    EXPECT_EQ(FailureReason([&] { detector.feed(gap); }, ""),
              "R-peak detection: samples fed after the end");
}

struct ScoreCase {
    std::vector<std::int64_t> reference;
    std::vector<std::int64_t> detected;
    std::int64_t from;
    BeatScore expected;
};

// Window 20 samples throughout.
class BeatScoreTest : public ::testing::TestWithParam<ScoreCase> {};

TEST_P(BeatScoreTest, CountsMatchesMissesAndFalseBeats) {
    const ScoreCase& c = GetParam();
    EXPECT_EQ(ScoreBeats(c.reference, c.detected, 20, c.from), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, BeatScoreTest,
    ::testing::Values(
        // 105 and 290 match; 200 is missed; 250 is 50 from anything and 400 alone.
        ScoreCase{{100, 200, 300}, {105, 250, 290, 400}, 0, {2, 1, 2}},
        // 125 is nearer 130 than 100: 100 is missed.
        ScoreCase{{100, 130}, {125}, 0, {1, 1, 0}},
        // 95 and 104 both near 100: the nearer matches, the other is false.
        ScoreCase{{100}, {95, 104}, 0, {1, 0, 1}},
        // Exactly the window away still matches.
        ScoreCase{{100, 200}, {80, 220}, 0, {2, 0, 0}},
        // Beats before sample 150 are not scored on either side.
        ScoreCase{{100, 200, 300}, {10, 201}, 150, {1, 1, 0}}, ScoreCase{{}, {5}, 0, {0, 0, 1}},
        ScoreCase{{}, {}, 0, {0, 0, 0}}));

TEST(BeatScoreTest, SharesOfTheCounts) {
    const BeatScore score{6, 2, 3};
    EXPECT_DOUBLE_EQ(score.sensitivity(), 0.75);
    EXPECT_DOUBLE_EQ(score.positivePredictivity(), 6.0 / 9.0);
    EXPECT_EQ(BeatScore{}.sensitivity(), 1.0);
    EXPECT_EQ(BeatScore{}.positivePredictivity(), 1.0);
}

}  // namespace
}  // namespace ritmova::ecg
