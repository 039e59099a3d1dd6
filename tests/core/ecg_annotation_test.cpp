// WFDB annotation files: every annotation of the reference dumps, the time-resolution block,
// 64-bit sample numbers, the writer's round trip, and the reasons hostile files are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ecg/annotation_file.h"
#include "test_data.h"

namespace ritmova::ecg {
namespace {

const std::string Ecg = RITMOVA_ECG_DATA_DIR;

// One line of the reference tool's dump: time, sample, type, subtype, channel, number, aux.
std::string DumpLine(const Annotation& a) {
    std::string line = std::to_string(a.sample) + " " + CodeMnemonic(a.code) + " " +
                       std::to_string(a.subtype) + " " + std::to_string(a.channel) + " " +
                       std::to_string(a.number);
    if (!a.aux.empty()) line += " " + std::string(a.auxText());
    return line;
}

std::vector<std::string> ReferenceDump(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string time, rest, field;
        fields >> time;
        while (fields >> field) rest += (rest.empty() ? "" : " ") + field;
        lines.push_back(rest);
    }
    return lines;
}

TEST(AnnotationFileTest, AgreesWithTheReferenceDumps) {
    const struct {
        const char *annotations, *dump;
    } cases[] = {
        {"/mitdb/100.atr", "/expected/rdann-100-atr.txt"},
        {"/wfdb-100s/100s.atr", "/expected/rdann-100s-atr.txt"},
    };
    for (const auto& c : cases) {
        AnnotationFile file = ReadAnnotations(Ecg + c.annotations);
        std::vector<std::string> lines;
        for (const Annotation& a : file.annotations) lines.push_back(DumpLine(a));
        EXPECT_EQ(lines, ReferenceDump(Ecg + c.dump)) << c.annotations;
        EXPECT_EQ(file.timeResolutionHz, 0);
    }
}

// The resolution block is taken out; chained SKIPs reach 10^10; beats counted as the
// data's notes count them (100s.qrs: the 74 detections the reference comparison matched).
TEST(AnnotationFileTest, ReadsTheResolutionBlockAndLongSkips) {
    const struct {
        const char* path;
        double resolution;
        std::size_t count;
        std::int64_t first;
    } cases[] = {{"/wfdb-100s/100s.qrs", 250, 74, 48},
                 {"/adfecgdb/r01.edf.qrs", 1000, 644, 183},
                 {"/expected/huge.qrs", 0, 1, 10'000'000'000},
                 {"/ltafdb/00.atr", 0, 106247, 0x14697}};
    for (const auto& c : cases) {
        AnnotationFile file = ReadAnnotations(Ecg + c.path);
        EXPECT_EQ(file.timeResolutionHz, c.resolution) << c.path;
        ASSERT_FALSE(file.annotations.empty());
        auto beats = std::count_if(file.annotations.begin(), file.annotations.end(),
                                   [](const Annotation& a) { return IsBeatCode(a.code); });
        EXPECT_EQ(std::size_t(beats), c.count) << c.path;
        EXPECT_EQ(file.annotations[0].sample, c.first) << c.path;
    }
}

TEST(AnnotationFileTest, WritesWhatItReads) {
    for (const char* path : {"/mitdb/100.atr", "/mitdb/201.atr", "/wfdb-100s/100s.qrs",
                             "/expected/huge.qrs", "/ltdb/14046.atr"}) {
        std::string bytes = testing::ReadAll(Ecg + path);
        EXPECT_EQ(AnnotationBytes(ParseAnnotations(bytes)), bytes) << path;
    }
    AnnotationFile made{{{5, 1, -3, 2, -1, "odd"},
                         {5, 28, 0, 2, 100, std::string("(AFL\0", 5)},
                         {3'000'000'000, 5, 0, 255, -128, "even"}},
                        128};
    EXPECT_EQ(ParseAnnotations(AnnotationBytes(made)).annotations, made.annotations);
    EXPECT_EQ(ParseAnnotations(AnnotationBytes(made)).timeResolutionHz, 128);
}

std::string Words(std::initializer_list<unsigned> words) {
    std::string bytes;
    for (unsigned w : words) bytes += {char(w & 0xFF), char(w >> 8)};
    return bytes;
}

TEST(AnnotationFileTest, RefusesHostileFilesWithReason) {
    const unsigned N = 1 << 10, Skip = 59 << 10, Num = 60 << 10, Aux = 63 << 10;
    const struct {
        std::string bytes, reason;
    } cases[] = {
        {"", "byte 0: the file ends before an annotation word (it lacks its end mark)"},
        {Words({N | 5}), "byte 2: the file ends before an annotation word (it lacks its end mark)"},
        {Words({N | 5}) + "\x00",
         "byte 2: the file ends before an annotation word (it lacks its end mark)"},
        {Words({Skip, 0xFFFF}), "byte 4: the file ends before the SKIP's value"},
        {Words({Num | 3, 0}), "byte 0: a NUM word before any annotation"},
        {Words({(61u << 10) | 3, 0}), "byte 0: a SUB word before any annotation"},
        {Words({N, Aux | 1023, 0}), "byte 2: the file ends inside an AUX text"},
        {Words({Skip, 0xFFFF, 0xFFF0, N | 5, 0}),
         "byte 6: an annotation before the record's start"},
        {Words({22u << 10, Aux | 22}) + std::string("## time resolution: x\0", 22) + Words({0}),
         "the time resolution '## time resolution: ...' is not valid"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(testing::FailureReason([&] { ParseAnnotations(c.bytes); }, "accepted"), c.reason);
    AnnotationFile unordered{{{9, 1, 0, 0, 0, ""}, {8, 1, 0, 0, 0, ""}}, 0};
    EXPECT_EQ(testing::FailureReason([&] { AnnotationBytes(unordered); }, "accepted"),
              "the annotation at sample 8 comes after a later one");
}

}  // namespace
}  // namespace ritmova::ecg
