// The choices of the standard-analysis window as text: times typed and shown, steps through
// 5-min segments, the corrections offered and the spectra kept; and the worker that runs only
// the latest request.
#include <gtest/gtest.h>

#include <cmath>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "common/command_failure.h"
#include "common/latest_work.h"
#include "report/analysis_options.h"
#include "standard/analysis_choices.h"

namespace ritmova::standard {
namespace {

struct TimeCase {
    const char* text;
    std::optional<double> seconds;
};

class ClockTimes : public testing::TestWithParam<TimeCase> {};

TEST_P(ClockTimes, ReadAsSecondsMinutesOrHours) {
    EXPECT_EQ(ParseClockTime(GetParam().text), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(Texts, ClockTimes,
                         testing::Values(TimeCase{"95", 95}, TimeCase{"95.5", 95.5},
                                         TimeCase{"1:35", 95}, TimeCase{" 1:35\t", 95},
                                         TimeCase{"1:01:35", 3695}, TimeCase{"90:00", 5400},
                                         TimeCase{"0:00.25", 0.25}, TimeCase{".5", 0.5},
                                         TimeCase{"2:00:00", 7200}, TimeCase{"", std::nullopt},
                                         TimeCase{"  ", std::nullopt}));

class NotClockTimes : public testing::TestWithParam<const char*> {};

TEST_P(NotClockTimes, FailSayingWhatIsExpected) {
    try {
        ParseClockTime(GetParam());
        FAIL() << "read " << GetParam();
    } catch (const CommandFailure& failure) {
        EXPECT_NE(std::string(failure.what()).find("m:ss"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, NotClockTimes,
                         testing::Values("1:60", "1:60:00", "-5", "+5", "1e3", "inf", "nan",
                                         "1:2:3:4", "1::5", ":30", "1:", "1.5:00", "abc", "1:3x",
                                         "0x10", "1..5"));

struct ShownTime {
    double seconds;
    const char* text;
};

class ClockTexts : public testing::TestWithParam<ShownTime> {};

TEST_P(ClockTexts, ShowMinutesAndHoursWithTheDecimalsNeeded) {
    EXPECT_EQ(ClockText(GetParam().seconds), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Times, ClockTexts,
                         testing::Values(ShownTime{0, "0:00"}, ShownTime{95, "1:35"},
                                         ShownTime{600, "10:00"}, ShownTime{3695, "1:01:35"},
                                         ShownTime{0.25, "0:00.25"},
                                         ShownTime{3599.999, "59:59.999"},
                                         ShownTime{86400, "24:00:00"}, ShownTime{59.9996, "1:00"}));

TEST(ClockTexts, ReadBackToTheSameTime) {
    for (int eighths = 0; eighths < 100'000; eighths += 37) {
        const double seconds = eighths / 8.0;
        EXPECT_EQ(ParseClockTime(ClockText(seconds)), seconds) << ClockText(seconds);
    }
}

struct SegmentStep {
    std::optional<double> from, to;
    double duration;
    bool forward;
    std::optional<TimeRange> next;
};

class SegmentSteps : public testing::TestWithParam<SegmentStep> {};

TEST_P(SegmentSteps, GoToTheNeighbouringCompleteSegment) {
    const SegmentStep& c = GetParam();
    EXPECT_EQ(StepSegment(c.from, c.to, c.duration, c.forward), c.next);
}

constexpr auto None = std::nullopt;
// 1000 s hold three complete segments: [0, 300), [300, 600), [600, 900).
INSTANTIATE_TEST_SUITE_P(Stretches, SegmentSteps,
                         testing::Values(SegmentStep{None, None, 1000, true, TimeRange{0, 300}},
                                         SegmentStep{None, None, 1000, false, TimeRange{600, 900}},
                                         SegmentStep{300, 600, 1000, true, TimeRange{600, 900}},
                                         SegmentStep{300, 600, 1000, false, TimeRange{0, 300}},
                                         SegmentStep{600, 900, 1000, true, None},
                                         SegmentStep{0, 300, 1000, false, None},
                                         SegmentStep{450, 500, 1000, true, TimeRange{300, 600}},
                                         SegmentStep{450, 500, 1000, false, TimeRange{0, 300}},
                                         SegmentStep{450, None, 1000, true, TimeRange{300, 600}},
                                         SegmentStep{None, 500, 1000, true, TimeRange{0, 300}},
                                         SegmentStep{None, 500, 1000, false, None},
                                         SegmentStep{950, None, 1000, true, None},
                                         SegmentStep{950, None, 1000, false, TimeRange{600, 900}},
                                         SegmentStep{None, None, 299, true, None},
                                         SegmentStep{None, None, 299, false, None}));

// What the window offers means what ritmova-cli hrv --correct means by the same text.
TEST(CorrectionChoices, MeanWhatTheConsoleToolMeansAndAreFoundByTheirText) {
    for (std::size_t i = 0; i < CorrectionChoiceCount; ++i) {
        const CorrectionChoice& choice = CorrectionChoices[i];
        CorrectionSettings console;
        console.method = CorrectionMethod::Threshold;  // changed by every valid text
        console.thresholdS = -1;
        ASSERT_EQ(ParseCorrection(std::string(choice.text), &console), "") << choice.text;
        EXPECT_EQ(console.method, choice.settings.method) << choice.text;
        EXPECT_EQ(console.level, choice.settings.level) << choice.text;
        EXPECT_EQ(console.thresholdS, choice.settings.thresholdS) << choice.text;
        EXPECT_EQ(FindCorrectionChoice(choice.text), i);
    }
    EXPECT_EQ(FindCorrectionChoice("threshold:0.3"), std::nullopt);
    EXPECT_EQ(FindCorrectionChoice(""), std::nullopt);
}

TEST(SpectraShown, ReadBackToTheSameChoiceAndRefuseUnknownOrRepeatedNames) {
    for (int bits = 0; bits < 8; ++bits) {
        const SpectraShown shown{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
        EXPECT_EQ(ParseSpectra(SpectraText(shown)), shown) << bits;
    }
    EXPECT_EQ(SpectraText({true, false, true}), "welch,autoregressive");
    EXPECT_EQ(ParseSpectra("autoregressive,welch"), (SpectraShown{true, false, true}));
    for (const char* text : {"welch,welch", "fft", "welch,", ",", "Welch"}) {
        EXPECT_EQ(ParseSpectra(text), std::nullopt) << text;
    }
}

// A request posted while another runs replaces any request still waiting.
TEST(LatestWork, RunsTheRunningAndTheLatestRequestOnly) {
    std::mutex mutex;
    std::vector<int> ran;
    std::promise<void> started, release;
    std::shared_future<void> released = release.get_future().share();
    {
        LatestWork work;
        work.post([&] {
            started.set_value();
            released.wait();
            const std::lock_guard lock(mutex);
            ran.push_back(1);
        });
        started.get_future().wait();
        for (int request = 2; request <= 4; ++request) {
            work.post([&, request] {
                const std::lock_guard lock(mutex);
                ran.push_back(request);
            });
        }
        EXPECT_TRUE(work.busy());
        release.set_value();
        while (work.busy()) std::this_thread::yield();
    }
    EXPECT_EQ(ran, (std::vector<int>{1, 4}));
}

}  // namespace
}  // namespace ritmova::standard
