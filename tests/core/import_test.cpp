// Files with a header or columns: the guess of how to read them, what a choice reads, reading
// as far as the values go, the window's Open through the import step, and the recent files.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/import_proposal.h"
#include "analysis/recent_files.h"
#include "common/command_failure.h"
#include "recording_window.h"
#include "test_data.h"
#include "ui/recording_commands.h"

namespace ritmova {
namespace {

constexpr Units S = Units::Seconds;
constexpr Units Ms = Units::Milliseconds;

const std::string RealRest = std::string(RITMOVA_REAL_DATA_DIR) + "/bartelshrv-rest.int";
const std::string RealNsr = std::string(RITMOVA_REAL_DATA_DIR) + "/nsr2db-nsr024.int";

// Each guess worked out by hand: which lines are the header, which column holds the R-R
// intervals (by its name, else by its values), which units; and the shape it is kept by.
TEST(ProposeImportTest, GuessesHeaderColumnAndUnits) {
    const struct {
        std::string text;
        bool proposed;
        ImportChoice choice;
        FileShape shape;
    } cases[] = {
        {"time,rr\n0,0.812\n0.812,0.79\n1.602,0.801\n", true, {1, 2, S}, {"time,rr", 2}},
        {"\xEF\xBB\xBFTime (s)\tRR (ms)\r\n0\t812\r\n0.812\t790\r\n",
         true,
         {1, 2, Ms},
         {"Time (s)\tRR (ms)", 2}},
        // No name says R-R: the beat numbers rise, the intervals do not.
        {"# recorded by X\n\n1, 812\n2, 790\n3, 801\n", true, {2, 2, Ms}, {"# recorded by X\n", 2}},
        {"12:00:01,0.812\n12:00:02,0.79\n", true, {0, 2, S}, {"", 2}},
        {"Subject 7\nbeat;interval\n1;0.8\n2;0.82\n3;0.79\n",
         true,
         {2, 2, S},
         {"Subject 7\nbeat;interval", 2}},
        // A heart rate is no interval, nor a rising time.
        {"x y\n1 72 0.83\n2 71 0.85\n3 73 0.81\n", true, {1, 3, S}, {"x y", 3}},
        {"a b\n5 -1\n6 0\n", true, {1, 1, S}, {"a b", 2}},  // nothing looks right: the first
        {"0.812\n0.79\n", false, {}, {}},                   // a plain list
        {"\n\n0.8,0.9 1\n", false, {}, {}},
        {"rr\n0.8\nx\n0.9\n", false, {}, {}},  // no column reads through the first lines
        {"time,rr\n", false, {}, {}},
        {"a,b\nc,d\n", false, {}, {}},
        {"", false, {}, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<ImportProposal> proposal = ProposeImport(SplitHead(c.text, true));
        ASSERT_EQ(proposal.has_value(), c.proposed);
        if (!proposal) continue;
        EXPECT_EQ(proposal->choice, c.choice);
        EXPECT_EQ(proposal->shape, c.shape);
        // The guess reads the file with the console tool's reader.
        EXPECT_NO_THROW(ParseRecording(c.text, proposal->choice.readOptions()));
    }
}

// A cut-off start leaves its last line out; a whole file keeps a last line without its end.
TEST(ProposeImportTest, HeadHoldsCompleteLinesOnly) {
    EXPECT_EQ(SplitHead("a\r\nb\rc\nd", false).lines, std::vector<std::string>({"a", "b", "c"}));
    EXPECT_EQ(SplitHead("a\r\nb\rc\nd", true).lines,
              std::vector<std::string>({"a", "b", "c", "d"}));
    std::string many;
    for (int i = 0; i < 100; ++i) many += "1\n";
    EXPECT_EQ(SplitHead(many, true).lines.size(), MaxHeadLines);
}

// A real recording written as time and R-R columns under a header reads back, through the
// guess, to exactly the recording of its one-column file.
TEST(ProposeImportTest, ColumnFileOfARealRecordingReadsAsTheRecording) {
    const Recording original = ReadRecording(RealRest);
    std::string text = "time_s,rr_s\n";
    double time = 0;
    std::istringstream lines(testing::ReadAll(RealRest));
    for (std::string line; std::getline(lines, line);) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%.3f,", time);
        text += stamp + line + "\n";
        time += std::stod(line);
    }
    testing::ScratchDir folder;
    const std::string file = folder.write("rest.csv", text);
    const std::optional<ImportProposal> proposal = ProposeImport(ReadFileHead(file));
    ASSERT_TRUE(proposal);
    EXPECT_EQ(proposal->choice, (ImportChoice{1, 2, S}));
    EXPECT_EQ(ReadRecording(file, proposal->choice.readOptions()).intervals, original.intervals);
}

TEST(ImportChoiceTest, TextReadsBackAndOtherTextIsNoChoice) {
    for (const ImportChoice& choice : {ImportChoice{0, 1, S}, ImportChoice{12, 3, Ms}}) {
        EXPECT_EQ(ParseImportChoice(ImportChoiceText(choice)), choice);
    }
    EXPECT_EQ(ImportChoiceText({2, 3, Ms}), "2,3,ms");
    for (const char* bad : {"", "1,0,s", "1,2", "1,2,", "1,2,sec", "-1,2,s", "1,,s", "x,1,s"}) {
        EXPECT_EQ(ParseImportChoice(bad), std::nullopt) << bad;
    }
}

// What a choice reads from the first lines, as one line of text.
TEST(ImportChoiceTest, PreviewShowsTheValuesReadOrWhyNone) {
    const FileHead head = SplitHead("time,rr\n0,812\n0.812,790.5\n1.6,x\n", true);
    const struct {
        ImportChoice choice;
        std::size_t count;
        std::string text;
    } cases[] = {{{1, 2, Ms}, 8, "0.812, 0.7905 s; then line 4: 'x' is not a number"},
                 {{1, 2, Ms}, 1, "0.812 s; then line 4: 'x' is not a number"},
                 {{1, 2, S}, 8, "812, 790.5 s; then line 4: 'x' is not a number"},
                 {{1, 1, S}, 8, "0, 0.812, 1.6 s"},
                 {{0, 2, S}, 8, "line 1: 'rr' is not a number"},
                 {{1, 3, S}, 8, "line 2: column 3 is missing"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ImportPreviewText(PreviewImport(head, c.choice, c.count)), c.text);
    }
}

// Reading as far as the values go keeps exactly the values before the first failure, with
// the reason the whole reading gives; a text without one reads as the whole reading reads it.
TEST(ReadUntilFailureTest, KeepsTheValuesBeforeTheFailure) {
    const std::string original = testing::ReadAll(RealNsr);
    const PartialRecording whole = ParseRecordingUntilFailure(original);
    EXPECT_EQ(whole.recording.intervals, ReadRecording(RealNsr).intervals);
    EXPECT_EQ(whole.stopReason, "");
    const auto withLine = [&original](std::size_t line, const std::string& text) {
        std::size_t at = 0;
        for (std::size_t i = 1; i < line; ++i) at = original.find('\n', at) + 1;
        return original.substr(0, at) + text + "\n" + original.substr(at);
    };
    // The bad line's number and text, and the values read from it before its bad field.
    const struct {
        std::size_t line;
        std::string text;
        UnitsChoice units;
        std::vector<float> fromLine;
        std::string reason;
    } cases[] = {
        {1000, "x", UnitsChoice::Seconds, {}, "line 1000: 'x' is not a number"},
        {257, "4e38", UnitsChoice::Seconds, {}, "line 257: '4e38' is too large"},
        {2, "0.8,,0.9", UnitsChoice::Auto, {0.8f}, "line 2: empty field between two commas"},
        {1999, "0.8 -", UnitsChoice::Milliseconds, {0.0008f}, "line 1999: '-' is not a number"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        const std::string text = withLine(c.line, c.text);
        const PartialRecording partial = ParseRecordingUntilFailure(text, {c.units});
        EXPECT_EQ(partial.stopReason, c.reason);
        EXPECT_EQ(testing::FailureReason([&] { ParseRecording(text, {c.units}); }, ""), c.reason);
        std::vector<float> expected = ParseRecording(original, {c.units}).intervals;
        expected.resize(c.line - 1);
        expected.insert(expected.end(), c.fromLine.begin(), c.fromLine.end());
        EXPECT_EQ(partial.recording.intervals, expected);
    }
    EXPECT_EQ(testing::FailureReason([] { ParseRecordingUntilFailure("x\n0.8\n"); }, ""),
              "line 1: 'x' is not a number");
}

// "time,rr" and `count` lines of a beat number and 0.8 or 0.85 s; line `bad` holds "x".
std::string columns(int count, int bad = 0) {
    std::string text = "time,rr\n";
    for (int line = 2; line <= count + 1; ++line) {
        text += line == bad ? "x\n" : std::to_string(line) + (line % 2 ? ",0.8\n" : ",0.85\n");
    }
    return text;
}

// The window's Open asks the chooser, with the reason and the guess, and reads as it chose;
// without a chooser the file fails as before. A bad line deep in the file ends the recording.
TEST(ImportOpenTest, AsksTheChooserAndReadsAsItChose) {
    WindowState state;
    testing::RecordingWindow window;
    RecordingCommands commands{state, window};
    testing::ScratchDir folder;
    const auto open = [&](const std::string& name, const std::string& text) {
        window.choose(folder.write(name, text));
        return testing::FailureReason([&] { commands.open(S); }, commands.hints());
    };
    const std::string reason = "line 1: 'time' is not a number";
    EXPECT_EQ(open("a.csv", columns(300)), reason);
    std::vector<ImportQuestion> asked;
    commands.setImportChooser([&asked](const ImportQuestion& question) {
        asked.push_back(question);
        return ImportChoice{1, 2, S};
    });
    EXPECT_EQ(open("a.csv", columns(300)), "");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].reason, reason);
    EXPECT_EQ(asked[0].proposal.choice, (ImportChoice{1, 2, S}));
    EXPECT_EQ(asked[0].head.lines[1], "2,0.85");
    EXPECT_EQ(commands.windowField(),
              "a.csv \u00b7 beats 1-256 of 300 \u00b7 s \u00b7 0 artifacts");
    EXPECT_EQ(open("b.csv", columns(300, 200)), "line 200: column 2 is missing");
    EXPECT_EQ(open("c.csv", columns(600, 500)), "reading stopped at line 500: column 2 is missing");
    EXPECT_EQ(commands.opened()->beats(), 498u);
}

TEST(SuggestedUnitsTest, OnlyWhenTheValuesLookLikeTheOtherUnits) {
    const struct {
        double value;
        Units units;
        std::optional<Units> suggested;
    } cases[] = {{0.8, S, std::nullopt},   {10, S, std::nullopt},    {10.5, S, Ms},
                 {0.8, Ms, std::nullopt},  {0.01, Ms, std::nullopt}, {0.0098, Ms, S},
                 {0.0098, S, std::nullopt}};
    for (const auto& c : cases) {
        const IntervalValues values = testing::ToIntervals(testing::Constant(c.value));
        EXPECT_EQ(SuggestedUnits(values, c.units), c.suggested) << c.value;
    }
}

TEST(RecentFilesTest, NewestFirstOnceEachAtMostEight) {
    using List = std::vector<std::string>;
    const struct {
        List list;
        std::string added;
        List result;
    } cases[] = {
        {{}, "a", {"a"}},
        {{"a", "b", "c"}, "c", {"c", "a", "b"}},
        {{"a", "b"}, "-", {"a", "b"}},
        {{"a"}, "", {"a"}},
        {{"1", "2", "3", "4", "5", "6", "7", "8"}, "9", {"9", "1", "2", "3", "4", "5", "6", "7"}}};
    for (const auto& c : cases) EXPECT_EQ(WithRecentFile(c.list, c.added), c.result) << c.added;
    EXPECT_EQ(WithoutRecentFile({"a", "b", "a"}, "a"), List{"b"});
    EXPECT_EQ(RecentFileCaption(0, "/data/rec.int"), "&1 rec.int");
    EXPECT_EQ(RecentFileCaption(7, "/d&d/R&D\x1b.int"), "&8 R&&D\\x1b.int");
}

}  // namespace
}  // namespace ritmova
