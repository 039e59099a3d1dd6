// Open's reading: ECG records chosen and named as the window opens them, and the progress and
// cancellation of the readers that a long Open runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/recording.h"
#include "common/progress.h"
#include "ecg/ecg_record.h"
#include "ecg/opened_record.h"
#include "test_data.h"
#include "ui/recording_commands.h"

namespace ritmova {
namespace {

const std::string Ecg = RITMOVA_ECG_DATA_DIR;
using ecg::BeatOrigin;

struct RecordCase {
    std::string path;
    BeatOrigin asked;
    BeatOrigin origin;  // what the beats came from
    std::string annotator;
    std::size_t channelNumber;
    std::string channelLabel;
    std::string title;
    std::size_t beats;  // the reference beat counts of the data's SOURCES.md
};

class OpenRecordTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(OpenRecordTest, TakesTheReferenceAnnotatorElseDetects) {
    const RecordCase& c = GetParam();
    const ecg::OpenedRecord record = ecg::OpenRecord(Ecg + c.path, c.asked);
    EXPECT_EQ(record.path, Ecg + c.path);
    EXPECT_EQ(record.origin, c.origin);
    EXPECT_EQ(record.annotator, c.annotator);
    EXPECT_EQ(record.channelNumber, c.channelNumber);
    EXPECT_EQ(record.channelLabel, c.channelLabel);
    EXPECT_EQ(record.title(), c.title);
    if (c.beats) {
        EXPECT_EQ(record.series.beats.size(), c.beats);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Records, OpenRecordTest,
    ::testing::Values(
        RecordCase{"/mitdb/100.hea", BeatOrigin::Annotations, BeatOrigin::Annotations, "atr", 1,
                   "MLII", "100 (atr)", 2273},
        RecordCase{"/mitdb/100", BeatOrigin::Detection, BeatOrigin::Detection, "", 1, "MLII",
                   "100 (detected, MLII)", 0},
        RecordCase{"/svdb/800.hea", BeatOrigin::Annotations, BeatOrigin::Annotations, "atr", 1,
                   "ECG", "800 (atr)", 1883},
        // Fetal ECG: the QRS annotations beside the EDF file.
        RecordCase{"/adfecgdb/r01.edf", BeatOrigin::Annotations, BeatOrigin::Annotations, "qrs", 1,
                   "Direct_1", "r01 (qrs)", 644},
        // A long-term record kept without its signal: annotations, and no channel to show.
        RecordCase{"/ltdb/14046.hea", BeatOrigin::Annotations, BeatOrigin::Annotations, "atr", 0,
                   "", "14046 (atr)", 115278},
        // No annotations: detected in the ECG channel among 20 EEG channels.
        RecordCase{"/eegmat/Subject00_1.edf", BeatOrigin::Annotations, BeatOrigin::Detection, "",
                   21, "ECG ECG", "Subject00_1 (detected, ECG ECG)", 0}));

// An EDF+ file without an annotation file beside it: the beats among its own annotations (the
// same 644 fetal R peaks as r01.edf.qrs).
TEST(OpenRecordTest, TakesAnEdfFilesOwnBeatAnnotations) {
    const testing::ScratchDir folder;
    const std::string copy = folder.write("r01.edf", testing::ReadAll(Ecg + "/adfecgdb/r01.edf"));
    const ecg::OpenedRecord record = ecg::OpenRecord(copy, BeatOrigin::Annotations);
    EXPECT_EQ(record.origin, BeatOrigin::Annotations);
    EXPECT_EQ(record.title(), "r01 (edf)");
    EXPECT_EQ(record.series.beats.size(), 644u);
    EXPECT_EQ(ReadForOpen(copy, Units::Seconds, BeatOrigin::Annotations).note,
              "beats of the file's EDF+ annotations");
}

// A record without its signal cannot be detected in: the reason, not an empty series.
TEST(OpenRecordTest, DetectionWithoutASignalFails) {
    EXPECT_THROW(ecg::OpenRecord(Ecg + "/ltdb/14046.hea", BeatOrigin::Detection), CommandFailure);
}

struct SampleCase {
    double ticksPerSecond, samplesPerSecond;
    std::int64_t tick, sample;
};

class SampleOfTest : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SampleOfTest, ConvertsTicksToSamples) {
    const SampleCase& c = GetParam();
    ecg::BeatSeries series;
    series.ticksPerSecond = c.ticksPerSecond;
    series.samplesPerSecond = c.samplesPerSecond;
    EXPECT_EQ(ecg::SampleOf(series, {c.tick, 1}), c.sample);
}

// 100s.qrs counts 1/250 s in a record of 360 samples per second.
INSTANTIATE_TEST_SUITE_P(Ticks, SampleOfTest,
                         ::testing::Values(SampleCase{360, 360, 77, 77},
                                           SampleCase{250, 360, 250, 360},
                                           SampleCase{250, 360, 1, 1},    // 1.44
                                           SampleCase{250, 360, 3, 4},    // 4.32
                                           SampleCase{250, 360, 5, 7}));  // 7.2

// Each reader that a long Open runs, reading with or without a Progress.
struct Reader {
    const char* name;
    std::function<std::vector<double>(Progress*)> read;
    bool reportsFraction;
};

std::vector<double> TextValues(const std::string& path, Progress* progress) {
    const Recording recording = ReadRecording(path, {}, progress);
    return {recording.intervals.begin(), recording.intervals.end()};
}

std::vector<double> BeatTicks(const std::string& record, const std::string& channel,
                              const std::string& annotator, Progress* progress) {
    std::vector<double> ticks;
    for (const ecg::Beat& beat : ecg::LoadBeats(record, {channel, annotator, 0}, progress).beats)
        ticks.push_back(double(beat.tick));
    return ticks;
}

std::vector<Reader> Readers() {
    return {
        {"Text",
         [](Progress* p) { return TextValues(testing::ExampleFile("nsr2db-nsr012.int"), p); },
         true},
        {"Wfdb", [](Progress* p) { return BeatTicks(Ecg + "/mitdb/100", "", "", p); }, true},
        {"Edf", [](Progress* p) { return BeatTicks(Ecg + "/adfecgdb/r01.edf", "Direct_1", "", p); },
         true},
        {"Annotations", [](Progress* p) { return BeatTicks(Ecg + "/mitdb/100", "", "atr", p); },
         false}};
}

class ProgressTest : public ::testing::TestWithParam<Reader> {};

// Reporting changes no value, and a read that ran to the end reports all of it.
TEST_P(ProgressTest, ReportingChangesNothing) {
    const Reader& reader = GetParam();
    Progress progress;
    EXPECT_EQ(reader.read(&progress), reader.read(nullptr));
    EXPECT_EQ(progress.fraction(), reader.reportsFraction ? 1.0 : 0.0);
    EXPECT_FALSE(progress.cancelled());
}

// A cancelled read stops with Cancelled, which no handler of failures takes for one.
TEST_P(ProgressTest, CancelledReadStops) {
    Progress progress;
    progress.cancel();
    EXPECT_THROW(GetParam().read(&progress), Cancelled);
    EXPECT_EQ(progress.fraction(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Readers, ProgressTest, ::testing::ValuesIn(Readers()),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace ritmova
