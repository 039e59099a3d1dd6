// The whole-recording reader: lists, columns and Polar HRM files, in seconds or milliseconds.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
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

std::string ReasonOf(const std::function<void()>& read) {
    return testing::FailureReason(read, "accepted");
}

// The units and each value in its shortest form that reads back to the same float, or why
// the text was refused.
TEST(ReadRecordingTest, ReadsEveryValueOrNamesTheReason) {
    const std::string polar =
        "\r\n[Params]\r\nVersion=106\r\nInterval=238\r\n\r\n[Note]\r\n5\r\n[HRData]\r\n"
        "783\t120\r\n\r\n 800\t118\r\n[Swaps]\r\n9\r\n";
    const struct {
        std::string text;
        ReadOptions options;
        const char* read;
    } cases[] = {
        {"\xEF\xBB\xBF 0.8, +0.9\r\n\n1e0\t.5", {}, "s 0.8 0.9 1 0.5"},
        {"783 783.25 7.83e2 0.5 -0 1e-40 123456.789012 +3E41",
         {Ms},
         "ms 0.783 0.78325 0.783 5e-04 -0 1e-43 123.45679 3e+38"},
        {"9 783 800", {Auto}, "ms 0.009 0.783 0.8"},
        {"0.8 11 12 0.9", {Auto}, "s 0.8 11 12 0.9"},
        {"10 10", {Auto}, "s 10 10"},  // a median of 10 s is not above it
        {"time,rr\n\nx y\n0.8\n0.9", {S, 3}, "s 0.8 0.9"},
        {"1;0.8;x\r\n\r\n  2 ; 0.9\n3\t1.0\n", {S, 0, 2}, "s 0.8 0.9 1"},
        {"t,rr\n0:00,783\n0:01, 790", {Ms, 1, 2}, "ms 0.783 0.79"},
        {polar, {}, "ms 0.783 0.8"},
        {polar, {S}, "ms 0.783 0.8"},
        {" \n\n", {}, "no values"},
        {"a\nb", {S, 5}, "no values"},
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
        {"[Params]\n[HRData]\n783\n-\n", {}, "line 4: '-' is not a number"}};
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

// 17 MB of blank space after a value ends both readers' reads.
TEST(RecordingFileTest, BlankSpaceAfterAValueIsBounded) {
    const std::string blanks(17u << 20, ' ');
    const std::string lineEnds(17u << 20, '\n');
    EXPECT_EQ(ReasonOf([&] { ParseIntervals("0.8" + blanks); }),
              "no 256 values in the first 16 MB");
    EXPECT_EQ(ReasonOf([&] { ParseRecording("0.8\n" + blanks); }),
              "line 2: more than 16 MB of blank space");
    EXPECT_EQ(ReasonOf([&] {
                  ParseRecording("0.8\n" + lineEnds, {S, 0, 1});
              }),
              "line 2: more than 16 MB of blank space");
}

TEST(RecordingFileTest, MoreValuesThanARecordingMayHoldFail) {
    std::string text(2 * MaxRecordingValues + 1, ',');
    for (std::size_t i = 0; i < text.size(); i += 2) text[i] = '1';
    EXPECT_EQ(
        ParseRecording(std::string_view(text).substr(0, 2 * MaxRecordingValues)).intervals.size(),
        MaxRecordingValues);
    EXPECT_EQ(ReasonOf([&] { ParseRecording(text); }),
              "more than 10000000 values, the most a recording may hold");
}

// The text with each value's decimal point moved three places right: "0.8828" as "0882.8".
// Every value of the real recordings has a point and three or four decimals.
std::string InMilliseconds(std::string text) {
    for (std::size_t point = text.find('.'); point != std::string::npos;
         point = text.find('.', point + 4)) {
        text.insert(point + 4, ".").erase(point, 1);
    }
    return text;
}

// The bundled examples, and the shared real recordings where the checkout has them, read in
// seconds, in milliseconds or with units chosen, and the first 256 values alone.
TEST(RealRecordingTest, EveryWayOfReadingGivesTheSameFloats) {
    for (const char* folder : {RITMOVA_EXAMPLES_DIR, RITMOVA_REAL_DATA_DIR}) {
        if (!std::filesystem::is_directory(folder)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() != ".int") continue;
            const std::string path = entry.path().string();
            SCOPED_TRACE(path);
            const std::string seconds = testing::ReadAll(path);
            const std::string milliseconds = InMilliseconds(seconds);
            const auto asRead = Bits(ParseRecording(seconds).intervals);
            EXPECT_EQ(Bits(ParseRecording(milliseconds, {Ms}).intervals), asRead);
            const Recording chosen = ParseRecording(milliseconds, {Auto});
            EXPECT_EQ(chosen.units, Units::Milliseconds);
            EXPECT_EQ(Bits(chosen.intervals), asRead);
            EXPECT_EQ(ParseRecording(seconds, {Auto}).units, Units::Seconds);
            const IntervalValues first = ReadIntervalFile(path);
            ASSERT_GE(asRead.size(), first.size());
            EXPECT_EQ(Bits({first.begin(), first.end()}),
                      std::vector(asRead.begin(), asRead.begin() + BeatCount));
            EXPECT_EQ(Bits(ReadRecording(path).intervals), asRead);
        }
    }
}

}  // namespace
}  // namespace ritmova
