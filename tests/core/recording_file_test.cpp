#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/recording.h"
#include "common/command_failure.h"
#include "test_data.h"

namespace ritmova {
namespace {

constexpr UnitsChoice S = UnitsChoice::Seconds;
constexpr UnitsChoice Ms = UnitsChoice::Milliseconds;
constexpr UnitsChoice Auto = UnitsChoice::Auto;

std::vector<std::uint32_t> Bits(const std::vector<float>& values) {
    std::vector<std::uint32_t> bits;
    for (float value : values) bits.push_back(std::bit_cast<std::uint32_t>(value));
    return bits;
}

struct ReadCase {
    const char* name;
    std::string text;
    ReadOptions options;
    std::vector<float> intervals;
    Units units = Units::Seconds;
};

void PrintTo(const ReadCase& read, std::ostream* out) {
    *out << read.name;
}

class ReadRecordingTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadRecordingTest, ReadsEveryValue) {
    const Recording recording = ParseRecording(GetParam().text, GetParam().options);
    EXPECT_EQ(Bits(recording.intervals), Bits(GetParam().intervals));
    EXPECT_EQ(recording.units, GetParam().units);
}

const std::string Polar =
    "\r\n[Params]\r\nVersion=106\r\nInterval=238\r\n\r\n[Note]\r\n5\r\n[HRData]\r\n"
    "783\t120\r\n\r\n 800\t118\r\n[Swaps]\r\n9\r\n";

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadRecordingTest,
    ::testing::Values(
        ReadCase{"List", "\xEF\xBB\xBF 0.8, +0.9\r\n\n1e0\t.5", {}, {0.8f, 0.9f, 1.0f, 0.5f}},
        ReadCase{"Milliseconds",
                 "783 783.25 7.83e2 0.5 -0 1e-40",
                 {Ms},
                 {0.783f, 0.78325f, 0.783f, 0.0005f, -0.0f, 1e-43f},
                 Units::Milliseconds},
        ReadCase{
            "AutoMilliseconds", "9 783 800", {Auto}, {0.009f, 0.783f, 0.8f}, Units::Milliseconds},
        ReadCase{"AutoSeconds", "0.8 11 12 0.9", {Auto}, {0.8f, 11, 12, 0.9f}},
        ReadCase{"AutoMedianOfTen", "10 10", {Auto}, {10, 10}},
        ReadCase{"SkipLines", "time,rr\n\nx y\n0.8\n0.9", {S, 3}, {0.8f, 0.9f}},
        ReadCase{
            "SecondColumn", "1;0.8;x\r\n\r\n  2 ; 0.9\n3\t1.0\n", {S, 0, 2}, {0.8f, 0.9f, 1.0f}},
        ReadCase{"HeaderAndColumn",
                 "t,rr\n0:00,783\n0:01, 790",
                 {Ms, 1, 2},
                 {0.783f, 0.79f},
                 Units::Milliseconds},
        ReadCase{"PolarHrm", Polar, {}, {0.783f, 0.8f}, Units::Milliseconds},
        ReadCase{"PolarHrmUnderAnyUnits", Polar, {S}, {0.783f, 0.8f}, Units::Milliseconds}),
    [](const auto& test) { return test.param.name; });

struct FailCase {
    const char* name;
    std::string text;
    ReadOptions options;
    const char* reason;
};

void PrintTo(const FailCase& fail, std::ostream* out) {
    *out << fail.name;
}

class RecordingFailureTest : public ::testing::TestWithParam<FailCase> {};

TEST_P(RecordingFailureTest, NamesTheReason) {
    try {
        ParseRecording(GetParam().text, GetParam().options);
        FAIL() << "accepted";
    } catch (const CommandFailure& failure) {
        EXPECT_EQ(std::string(failure.what()), GetParam().reason);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RecordingFailureTest,
    ::testing::Values(
        FailCase{"Empty", " \n\n", {}, "no values"},
        FailCase{"AllSkipped", "a\nb", {S, 5}, "no values"},
        FailCase{"Header", "rr\n0.8", {}, "line 1: 'rr' is not a number"},
        FailCase{"EmptyField", "0.8\n,0.9", {}, "line 2: empty field between two commas"},
        FailCase{"BeyondDouble", "0.8\n\n1e400", {}, "line 3: '1e400' is too large"},
        FailCase{"BeyondDoubleInMs", "1e400", {Ms}, "line 1: '1e400' is too large"},
        FailCase{"TooLargeInSeconds", "4e38", {}, "line 1: '4e38' is too large"},
        FailCase{"Escape", "0.8 \x1b[2J", {Ms}, "line 1: '\\x1b[2J' is not a number"},
        FailCase{"Utf16",
                 std::string("\xff\xfe"
                             "0\0",
                             4),
                 {},
                 "UTF-16 text: save the file as UTF-8 or ASCII"},
        FailCase{"MissingColumn", "1,0.8\n2\n", {S, 0, 2}, "line 2: column 2 is missing"},
        FailCase{"TrailingSeparator", "1;", {S, 0, 2}, "line 1: column 2 is missing"},
        FailCase{"EmptyColumn", "\n1,,0.8", {S, 0, 2}, "line 2: column 2 is empty"},
        FailCase{"WordInColumn", "1;0.8\n2;n/a", {S, 0, 2}, "line 2: 'n/a' is not a number"},
        FailCase{"OtherSection", "[Header]\n0.8", {}, "line 1: '[Header]' is not a number"},
        FailCase{"PolarWithoutData",
                 "[Params]\nVersion=106\n",
                 {},
                 "a Polar HRM file without an [HRData] section"},
        FailCase{"PolarEmptyData", "[Params]\n[HRData]\n\n", {}, "no values"},
        FailCase{"BlanksAfterAValue",
                 "0.8\n" + std::string(17u << 20, ' '),
                 {},
                 "line 2: more than 16 MB of blank space"},
        FailCase{"BlankLinesInAColumn",
                 "0.8\n" + std::string(17u << 20, '\n'),
                 {S, 0, 1},
                 "line 2: more than 16 MB of blank space"},
        FailCase{
            "PolarBadValue", "[Params]\n[HRData]\n783\n-\n", {}, "line 4: '-' is not a number"}),
    [](const auto& test) { return test.param.name; });

TEST(RecordingFileTest, MoreValuesThanARecordingMayHoldFail) {
    std::string text;
    text.reserve(2 * MaxRecordingValues + 2);
    for (std::size_t i = 0; i <= MaxRecordingValues; ++i) text += "1,";
    EXPECT_THROW(
        {
            try {
                ParseRecording(text);
            } catch (const CommandFailure& failure) {
                EXPECT_STREQ(failure.what(),
                             "more than 10000000 values, the most a recording may hold");
                throw;
            }
        },
        CommandFailure);
    text.resize(2 * MaxRecordingValues);
    EXPECT_EQ(ParseRecording(text).intervals.size(), MaxRecordingValues);
}

// The same recording's text with the decimal point moved three places right: "0.5389" gives
// "538.9", "1.2" gives "1200".
std::string InMilliseconds(const std::string& seconds) {
    std::string out;
    for (std::size_t i = 0; i < seconds.size();) {
        const std::size_t end = std::min(seconds.find('\n', i), seconds.size());
        std::string value = seconds.substr(i, end - i);
        const std::size_t point = value.find('.');
        std::string digits = value.substr(0, point);
        std::string fraction = point == std::string::npos ? "" : value.substr(point + 1);
        fraction.resize(std::max<std::size_t>(fraction.size(), 3), '0');
        digits += fraction.substr(0, 3);
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
        out += digits + (fraction.size() > 3 ? "." + fraction.substr(3) : "") + "\n";
        i = end + 1;
    }
    return out;
}

class RealRecordingTest : public ::testing::TestWithParam<std::string> {};

TEST_P(RealRecordingTest, MillisecondsGiveTheSameFloatsAsSeconds) {
    const std::string seconds = testing::ReadAll(GetParam());
    const std::string milliseconds = InMilliseconds(seconds);
    ASSERT_NE(milliseconds.find("\n"), milliseconds.find(".")) << milliseconds.substr(0, 40);
    const Recording asRead = ParseRecording(seconds);
    EXPECT_EQ(Bits(ParseRecording(milliseconds, {Ms}).intervals), Bits(asRead.intervals));
    const Recording chosen = ParseRecording(milliseconds, {Auto});
    EXPECT_EQ(chosen.units, Units::Milliseconds);
    EXPECT_EQ(Bits(chosen.intervals), Bits(asRead.intervals));
    EXPECT_EQ(ParseRecording(seconds, {Auto}).units, Units::Seconds);
}

TEST_P(RealRecordingTest, AgreesWithTheFirst256Values) {
    const IntervalValues first = ReadIntervalFile(GetParam());
    const Recording whole = ReadRecording(GetParam());
    ASSERT_GE(whole.intervals.size(), first.size());
    EXPECT_EQ(Bits({first.begin(), first.end()}),
              Bits({whole.intervals.begin(), whole.intervals.begin() + BeatCount}));
}

std::string ReasonOf(auto read) {
    try {
        read();
    } catch (const CommandFailure& failure) {
        return failure.what();
    }
    return "accepted";
}

TEST_P(RealRecordingTest, AFailureNamesItsLine) {
    const std::string text = testing::ReadAll(GetParam());
    for (const std::size_t line : {1, 2, 256, 300}) {
        std::size_t start = 0;
        for (std::size_t i = 1; i < line; ++i) start = text.find('\n', start) + 1;
        std::string broken = text;
        broken.replace(start, text.find('\n', start) - start, "0.8;");
        const std::string reason = "line " + std::to_string(line) + ": '0.8;' is not a number";
        EXPECT_EQ(ReasonOf([&] { ParseRecording(broken); }), reason);
        if (line <= BeatCount) {
            EXPECT_EQ(ReasonOf([&] { ParseIntervals(broken); }), reason);
        }
    }
}

// The bundled examples, and the shared real recordings where the checkout has them.
std::vector<std::string> RealRecordings() {
    std::vector<std::string> paths;
    for (const char* folder : {RITMOVA_EXAMPLES_DIR, RITMOVA_REAL_DATA_DIR}) {
        if (!std::filesystem::is_directory(folder)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() == ".int") paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

INSTANTIATE_TEST_SUITE_P(Files, RealRecordingTest, ::testing::ValuesIn(RealRecordings()),
                         [](const auto& test) {
                             std::string name = std::filesystem::path(test.param).stem();
                             if (test.param.starts_with(RITMOVA_EXAMPLES_DIR)) name += "_example";
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace ritmova
