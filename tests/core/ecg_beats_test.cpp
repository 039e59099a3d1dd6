// From beats to R-R intervals: the normal-to-normal selection, the reference dump's intervals,
// and the console tool's beats and rr commands on real records.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "ecg/annotation_file.h"
#include "ecg/beat_series.h"
#include "test_data.h"

namespace ritmova::ecg {
namespace {

const std::string Ecg = RITMOVA_ECG_DATA_DIR;

Annotation Mark(std::int64_t sample, int code, int subtype = 0) {
    return {sample, code, subtype, 0, 0, {}};
}

std::vector<double> Seconds(const std::vector<RrInterval>& intervals) {
    std::vector<double> seconds;
    for (const RrInterval& rr : intervals) seconds.push_back(rr.seconds);
    return seconds;
}

// At 10 ticks per second: N beats but a V at 23 and an A at 185, flutter from 55 to 65,
// unreadable noise from 100 to 120 (closed by a ~ of subtype 0) and from 220 on (never closed).
TEST(RrIntervalTest, KeepsOnlyNormalToNormalIntervalsOutsideEpisodes) {
    const int N = 1, V = 5, A = 8, Noise = 14, Open = 32, Close = 33;
    AnnotationFile file{
        {Mark(0, N), Mark(11, N), Mark(23, V), Mark(36, N), Mark(50, N), Mark(55, Open),
         Mark(65, Close), Mark(70, N), Mark(91, N), Mark(100, Noise, -1), Mark(113, N),
         Mark(120, Noise, 0), Mark(136, N), Mark(160, N), Mark(185, A), Mark(211, N),
         Mark(220, Noise, -1), Mark(245, N), Mark(280, N)},
        0};
    BeatSeries series;
    series.ticksPerSecond = 10;
    TakeBeats(file, series);
    EXPECT_EQ(series.beats.size(), 14u);
    std::vector<RrInterval> all = RrIntervals(series, false);
    EXPECT_EQ(all.size(), 13u);
    EXPECT_EQ(all[1].toCode, V);
    EXPECT_EQ(Seconds(RrIntervals(series, true)), (std::vector<double>{1.1, 1.4, 2.1, 2.4}));
}

// Every interval between successive beats of the reference tool's dump, in samples over 360.
TEST(RrIntervalTest, AgreesWithTheReferenceDump) {
    std::vector<double> expected;
    for (long gap : testing::DumpedBeatGaps100()) expected.push_back(double(gap) / 360);
    BeatSeries series;
    series.ticksPerSecond = 360;
    TakeBeats(ReadAnnotations(Ecg + "/mitdb/100.atr"), series);
    EXPECT_EQ(Seconds(RrIntervals(series, false)), expected);
    // The 34 A and V beats, none next to another or at an end, each take two intervals away.
    EXPECT_EQ(RrIntervals(series, true).size(), 2272u - 34 * 2);
}

using CliRun = std::tuple<int, std::string, std::string>;  // exit status, stdout, stderr

CliRun Cli(const std::string& arguments) {
    testing::ScratchDir dir;
    std::string command = std::string(RITMOVA_CLI) + " " + arguments + " >" + dir.file("out") +
                          " 2>" + dir.file("err");
    const int status = std::system(command.c_str());
    return {WEXITSTATUS(status), testing::ReadAll(dir.file("out")),
            testing::ReadAll(dir.file("err"))};
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

TEST(EcgCommandTest, WritesBeatsAndIntervalsOrReasons) {
    const std::string record = Ecg + "/wfdb-100s/100s";
    const struct {
        std::string arguments;
        int status;
        std::string first, err;
    } cases[] = {
        {"rr " + record + " --annotator atr", 0, "0.813889", ""},         // (370 - 77) / 360
        {"beats " + record + ".hea --annotator atr", 0, "0.213889", ""},  // 77 / 360
        {"beats " + record + " --annotator atr --format samples", 0, "77", ""},
        {"beats " + record + " --annotator qrs --format samples", 0, "69", ""},  // 48 * 360 / 250
        // r01.edf.qrs in ms, beside an EDF file whose channels do not say ECG.
        {"beats " + Ecg + "/adfecgdb/r01.edf --annotator qrs", 0, "0.183000", ""},
        {"summary " + record + " --annotator atr", 1, "",
         record + ": only 73 beats from beat 1 on, 256 needed\n"},
        {"rr " + Ecg + "/ltafdb/00 --annotator atr", 1, "",
         Ecg + "/ltafdb/00: the record has no header to give its sampling frequency: give "
               "--frequency HZ\n"},
        // The file's second beat word is 6c 04: 108 ticks after the first, at 128 Hz.
        {"rr " + Ecg + "/ltafdb/00 --annotator atr --frequency 128", 0, "0.843750", ""},
        {"beats " + record + " --format wfdb", 1, "",
         record + ": --format wfdb writes a binary file: give -o OUT\n"},
        {"rr " + record + " --annotator 'x/../atr'", 1, "",
         record + ": the annotator name 'x/../atr' is not valid\n"},
    };
    for (const auto& c : cases) {
        auto [status, out, err] = Cli(c.arguments);
        EXPECT_EQ(status, c.status) << c.arguments;
        EXPECT_EQ(FirstLine(out), c.first) << c.arguments;
        EXPECT_EQ(err, c.err) << c.arguments;
    }
    EXPECT_EQ(std::get<1>(Cli("rr " + record + " --annotator atr")).size(), 73u * 9);
}

// An EDF+ file's own "QRS" annotations are the beats of the annotation file beside it, which
// its source says agree within 1 ms (a sample at 1000 Hz).
TEST(EcgCommandTest, TakesBeatsFromEdfPlusAnnotations) {
    const std::string fetal = Ecg + "/adfecgdb/r01.edf", adult = Ecg + "/eegmat/Subject00_1.edf";
    auto samples = [&](const std::string& annotator) {
        std::istringstream out(
            std::get<1>(Cli("beats " + fetal + " --format samples --annotator " + annotator)));
        return std::vector<long>(std::istream_iterator<long>(out), {});
    };
    const std::vector<long> own = samples("edf"), beside = samples("qrs");
    ASSERT_EQ(own.size(), 644u);
    ASSERT_EQ(beside.size(), own.size());
    for (std::size_t i = 0; i < own.size(); ++i) EXPECT_LE(std::labs(own[i] - beside[i]), 1) << i;
    EXPECT_EQ(std::get<2>(Cli("rr " + adult + " --annotator edf")),
              adult + ": its EDF+ annotations hold no beats\n");
}

// The annotations the console tool writes are the beats it read, and name the record's source.
TEST(EcgCommandTest, WritesAnnotationFilesItReadsBack) {
    testing::ScratchDir dir;
    const std::string record = Ecg + "/mitdb/100";
    auto [status, out, err] =
        Cli("beats " + record + " --annotator atr --format wfdb -o " + dir.file("100.cpy"));
    ASSERT_EQ(status, 0) << err;
    dir.write("100.hea", testing::ReadAll(record + ".hea"));
    EXPECT_EQ(std::get<1>(Cli("rr " + dir.file("100") + " --annotator cpy --nn")),
              std::get<1>(Cli("rr " + record + " --annotator atr --nn")));
    EXPECT_EQ(FirstLine(std::get<1>(Cli("report " + record + " --annotator atr"))), "100 (atr)\r");
}

}  // namespace
}  // namespace ritmova::ecg
