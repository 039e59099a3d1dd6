// The readers: the first 256 values of a file, and whole recordings in their units.
#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/interval_file.h"
#include "analysis/recording.h"
#include "common/command_failure.h"
#include "target_checks.h"
#include "test_data.h"

namespace ritmova {
namespace {

using testing::Lines;

std::string ReasonOf(const std::function<void()>& action) {
    return testing::FailureReason(action, "accepted");
}

// Values 0.001, 0.002, ...: value i is i/1000.
std::vector<double> Ramp(int count) {
    std::vector<double> values;
    for (int i = 1; i <= count; ++i) values.push_back(i / 1000.0);
    return values;
}

// Each text holds the values of Ramp(256) or names why it is refused.
TEST(IntervalTextTest, ReadsTheRampOrFailsWithReason) {
    const std::string ramp = Lines(Ramp(256)),
                      utf16 = "UTF-16 text: save the file as UTF-8 or ASCII",
                      tooLong = "has too many digits for a number (64 characters at most)";
    // Line ends of both kinds between runs of other separators.
    std::string mixed;
    const char* const separators[] = {"\n", "\r\n", "\n", ",", " \n"};
    for (int i = 0; i < 256; ++i) mixed += Lines({(i + 1) / 1000.0}, separators[i % 5]);
    // CR LF line ends before values with no zero in front of the point: ".001\r\n.002\r\n...".
    std::string bare;
    for (int i = 1; i <= 256; ++i) bare += Lines({i / 1000.0}, "\r\n").substr(1);
    // With a byte order mark, then with none.
    const std::string utf16Texts[] = {{'\xff', '\xfe', '0', 0, '.', 0, '8', 0},
                                      {'\xfe', '\xff', 0, '0', 0, '.', 0, '8'},
                                      {'0', 0, '.', 0, '8', 0}};
    // clang-format off
    const struct { std::string text, reason = "accepted"; } cases[] = {
        {"\n\n" + Lines(Ramp(256), "\n\n\r\n")}, {Lines(Ramp(256), "\r")}, {Lines(Ramp(256), ",")},
        {ramp.substr(0, ramp.size() - 1)}, {Lines(Ramp(256), " , ")}, {Lines(Ramp(256), " \t")},
        {Lines(Ramp(256), ",\n")}, {Lines(Ramp(300)) + "not,a,number,,"}, {mixed}, {bare},
        {"\xEF\xBB\xBF" + Lines(Ramp(256), "\r\n")},  // a byte order mark
        {"", "only 0 values, 256 needed"}, {Lines(Ramp(255)), "only 255 values, 256 needed"},
        {"0.8\n0.9\nabc\n", "line 3: 'abc' is not a number"},
        {Lines(Ramp(100), "\r\n") + "abc", "line 101: 'abc' is not a number"},
        {Lines(Ramp(100)) + "\n-", "line 102: '-' is not a number"},
        {Lines(Ramp(2)) + ",0.9", "line 3: empty field between two commas"},
        {"0.8,,0.9", "line 1: empty field between two commas"},
        {"0.8,0.9 0.7\nx", "line 2: 'x' is not a number"},  // one line end, not three
        {std::string(70, '0') + "1\n" + ramp, "line 1: '00000000000000000000...' " + tooLong},
        {"0." + std::string(73, '1'), "line 1: '0.111111111111111111...' " + tooLong},
        {"-1e" + std::string(70, '1'), "line 1: '-1e11111111111111111...' " + tooLong},
        {"1e" + std::string(70, 'x'), "line 1: '1exxxxxxxxxxxxxxxxxx...' is not a number"},
        {"0.8\r\ninf", "line 2: 'inf' is not a number"},
        {"0x1p-1", "line 1: '0x1p-1' is not a number"}, {"1e", "line 1: '1e' is not a number"},
        {"1e39", "line 1: '1e39' is too large"}, {"0.8\n1e400", "line 2: '1e400' is too large"},
        {"-1e309", "line 1: '-1e309' is too large"}, {"0.8, 4E422", "line 1: '4E422' is too large"},
        {std::string(100000, '7'), "line 1: '77777777777777777777...' " + tooLong},
        {std::string("0.8\n0.9\n0.8\0x\n", 14), "line 3: '0.8\\x00x' is not a number"},
        {"\x1b[2J", "line 1: '\\x1b[2J' is not a number"},
        {"\177ELF\x02\x01", "line 1: '\\x7fELF\\x02\\x01' is not a number"},
        {utf16Texts[0], utf16}, {utf16Texts[1], utf16}, {utf16Texts[2], utf16}};
    // clang-format on
    const IntervalValues expected = testing::ToIntervals(Ramp(256));
    for (const auto& c : cases) {
        EXPECT_EQ(ReasonOf([&c, &expected] {
                      if (ParseIntervals(c.text) != expected) throw CommandFailure("other values");
                  }),
                  c.reason)
            << c.text.substr(0, 40);
    }
}

// What reading a path says, and what the check for a regular file says. Reading stops after
// 16 MB, however long a file or an endless pipe goes on.
TEST(IntervalFileTest, OddPathsAreNamedForWhatTheyAre) {
    testing::ScratchDir dir;
    // The path, what reading it says, what the check says.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"/nonexistent/file.int", "No such file or directory", "No such file or directory"},
        {"", "no file name given", "No such file or directory"},
        {dir.file(""), "is a folder", "is a folder"},
        {"/dev/null", "only 0 values, 256 needed", "is not a regular file"},
        {dir.write("blank.int", "0.8" + std::string(17u << 20, ' ')),
         "no 256 values in the first 16 MB", "accepted"},
        {dir.write("r.int", "0.8"), "only 1 values, 256 needed", "accepted"},
        // The file's first read of 4096 bytes ends within the first value.
        {dir.write("late.int", std::string(4093, '\n') + Lines(Ramp(10)) + "x"),
         "line 4104: 'x' is not a number", "accepted"},
    };
    for (const auto& [path, reading, check] : cases) {
        EXPECT_EQ(ReasonOf([&] { ReadIntervalFile(path); }), reading) << path;
        EXPECT_EQ(ReasonOf([&] { RequireRegularFile(path); }), check) << path;
    }
}

// A Polar HRM file is told by the whole-recording reader's rule: its first text, after a byte
// order mark and blank lines, is [Params]. Standard input and folders never are.
TEST(IntervalFileTest, PolarFilesAreToldByTheRecordingReadersRule) {
    testing::ScratchDir dir;
    const std::pair<std::string, bool> cases[] = {{"\xEF\xBB\xBF\r\n \n\t[Params]\r\n", true},
                                                  {"[Params]", true},
                                                  {"[Params],1\n", true},
                                                  {"[Params]x\n", false},
                                                  {"[params]\n", false},
                                                  {"0.8\n[Params]\n", false},
                                                  {"", false}};
    for (const auto& [text, polar] : cases) {
        EXPECT_EQ(IsPolarFile(dir.write("f.hrm", text)), polar) << text;
    }
    EXPECT_FALSE(IsPolarFile("-") || IsPolarFile(dir.file("")));
}

constexpr UnitsChoice S = UnitsChoice::Seconds;
constexpr UnitsChoice Ms = UnitsChoice::Milliseconds;
constexpr UnitsChoice Auto = UnitsChoice::Auto;

// The units and each value in its shortest form that reads back to the same float, or why
// the text was refused.
TEST(ReadRecordingTest, ReadsEveryValueOrNamesTheReason) {
    const std::string polar =
        "\r\n[Params]\r\nVersion=106\r\nInterval=238\r\n\r\n[Note]\r\n5\r\n[HRData]\r\n"
        "783\t120\r\n\r\n 800\t118\r\n[Swaps]\r\n9\r\n";
    // clang-format off
    const struct { std::string text; ReadOptions options; const char* read; } cases[] = {
        {"\xEF\xBB\xBF 0.8, +0.9\r\n\n1e0\t.5", {}, "s 0.8 0.9 1 0.5"},
        {"1.5\r\n2.5\r\n7\n", {}, "s 1.5 2.5 7"},
        // 0.8000001 and 1.6777217 (a mantissa past 2^24) as the single nearest to them; the
        // last three below single and double's range.
        {"+8.1e-1 +0.5 -0.25 .75 3. 1E1 0.8000001 1.6777217 1e-50 1e-400 -1e-46", {},
         "s 0.81 0.5 -0.25 0.75 3 10 0.8000001 1.6777217 0 0 -0"},
        {"783 783.25 7.83e2 0.5 -0 1e-40 123456.789012 +3E41", {Ms},
         "ms 0.783 0.78325 0.783 5e-04 -0 1e-43 123.45679 3e+38"},
        {"9 783 800", {Auto}, "ms 0.009 0.783 0.8"}, {"0.8 11 12 0.9", {Auto}, "s 0.8 11 12 0.9"},
        {"10 10", {Auto}, "s 10 10"},  // a median of 10 s is not above it
        {"\ntime,rr\n\n0.8\n0.9", {S, 3}, "s 0.8 0.9"},
        {"1;0.8;x\r\n\r\n  2 ; 0.9\n3\t1.0\n", {S, 0, 2}, "s 0.8 0.9 1"},
        {"t,rr\n0:00,783\n0:01, 790", {Ms, 1, 2}, "ms 0.783 0.79"},
        {polar, {}, "ms 0.783 0.8"}, {polar, {S}, "ms 0.783 0.8"},
        {" \n\n", {}, "no values"}, {"a\nb", {S, 5}, "no values"},
        {"1e400", {Ms}, "line 1: '1e400' is too large"},
        {"4e38", {}, "line 1: '4e38' is too large"},
        {"1,0.8\n2\n", {S, 0, 2}, "line 2: column 2 is missing"},
        {"1;", {S, 0, 2}, "line 1: column 2 is missing"},
        {"\n1,,0.8", {S, 0, 2}, "line 2: column 2 is empty"},
        {"1;0.8\n2;n/a", {S, 0, 2}, "line 2: 'n/a' is not a number"},
        {"[Header]\n0.8", {}, "line 1: '[Header]' is not a number"},
        // The rest of the [Params] line is no section.
        {"[Params] [HRData]\nVersion=106\n", {}, "a Polar HRM file without an [HRData] section"},
        {"[Params]\n[HRData]\n\n", {}, "no values"},
        {"[Params]\n[HRData]\n783\n-\n", {}, "line 4: '-' is not a number"},
        // A second [HRData] section, after another section, is refused; which holds the
        // recording cannot be told.
        {"\n[Params]\n[HRData]\n783\n[Note]\n[HRData]\n800\n", {}, "line 6: a second [HRData] section"}};
    // clang-format on
    for (const auto& c : cases) {
        std::string read;
        const std::string reason = ReasonOf([&] {
            const Recording recording = ParseRecording(c.text, c.options);
            read = recording.units == Units::Milliseconds ? "ms" : "s";
            for (float value : recording.intervals) {
                char digits[32];
                read += ' ';
                read.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
            }
        });
        EXPECT_EQ(reason == "accepted" ? read : reason, c.read) << c.text.substr(0, 40);
    }
}

// 17 MB of blank space after a value ends both readers' reads; a recording holds at most ten
// million values.
TEST(RecordingFileTest, BlankSpaceAndValuesAreBounded) {
    const std::string blanks(17u << 20, ' '), ends(17u << 20, '\n');
    const std::string tooLong = "line 2: more than 16 MB of blank space";
    EXPECT_EQ(ReasonOf([&] { ParseIntervals("0.8" + blanks); }),
              "no 256 values in the first 16 MB");
    EXPECT_EQ(ReasonOf([&] { ParseRecording("0.8\n" + blanks); }), tooLong);
    EXPECT_EQ(ReasonOf([&] { ParseRecording("0.8\n" + ends, {S, 0, 1}); }), tooLong);
    std::string text(2 * MaxRecordingValues + 1, ',');
    for (std::size_t i = 0; i < text.size(); i += 2) text[i] = '1';
    const std::string_view most = std::string_view(text).substr(0, 2 * MaxRecordingValues);
    EXPECT_EQ(ParseRecording(most).intervals.size(), MaxRecordingValues);
    EXPECT_EQ(ReasonOf([&] { ParseRecording(text); }),
              "more than 10000000 values, the most a recording may hold");
}

// Every input that once made a fuzz target crash or disagree is kept in fuzz/regressions and
// read again here by the checks of every target.
TEST(FuzzRegressionTest, PassesTheChecksOfEveryFuzzTarget) {
    std::error_code none;  // no folder: nothing was ever found
    for (const auto& entry :
         std::filesystem::directory_iterator(RITMOVA_FUZZ_REGRESSIONS_DIR, none)) {
        const std::string path = entry.path().string();
        const std::string bytes = testing::ReadAll(path);
        EXPECT_EQ(fuzz::ReaderDisagreement(bytes, path), std::nullopt);
        EXPECT_EQ(fuzz::RecordingReaderDisagreement(bytes, path), std::nullopt);
        EXPECT_EQ(fuzz::PassFault(path), std::nullopt);
        std::vector<std::string> arguments(1);  // the options target's: split at NUL bytes
        for (const char c : bytes) {
            if (c == '\0') arguments.emplace_back();
            if (c != '\0') arguments.back().push_back(c);
        }
        EXPECT_EQ(fuzz::OptionsFault(arguments), std::nullopt);
    }
}

}  // namespace
}  // namespace ritmova
