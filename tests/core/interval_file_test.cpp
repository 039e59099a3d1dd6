#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <thread>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/interval_file.h"
#include "common/command_failure.h"
#include "test_data.h"

namespace ritmova {
namespace {

using testing::Lines;

// 256 values 0.001, 0.002, ... in the given layout; value i is i/1000.
std::vector<double> Ramp(int count = 256) {
    std::vector<double> values;
    for (int i = 1; i <= count; ++i) values.push_back(i / 1000.0);
    return values;
}

void ExpectRamp(const IntervalValues& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_EQ(values[i], static_cast<float>(static_cast<double>(i + 1) / 1000.0))
            << "value " << i + 1;
    }
}

struct LayoutCase {
    const char* name;
    std::string text;
};

void PrintTo(const LayoutCase& layout, std::ostream* out) {
    *out << layout.name;
}

class AcceptedLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(AcceptedLayoutTest, ReadsAllValuesInOrder) {
    ExpectRamp(ParseIntervals(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, AcceptedLayoutTest,
    ::testing::Values(
        LayoutCase{"OnePerLine", Lines(Ramp())}, LayoutCase{"CrLf", Lines(Ramp(), "\r\n")},
        LayoutCase{"OldMacCr", Lines(Ramp(), "\r")},
        LayoutCase{"NoFinalLineEnd", Lines(Ramp()).substr(0, Lines(Ramp()).size() - 1)},
        LayoutCase{"CommaSeparated", Lines(Ramp(), ",")},
        LayoutCase{"CommaAndBlank", Lines(Ramp(), ", ")},
        LayoutCase{"BlankBeforeComma", Lines(Ramp(), " ,")},
        LayoutCase{"Blanks", Lines(Ramp(), " ")}, LayoutCase{"Tabs", Lines(Ramp(), "\t")},
        LayoutCase{"BlankLines", "\n\n" + Lines(Ramp(), "\n\n\r\n")},
        LayoutCase{"TrailingCommaPerLine", Lines(Ramp(), ",\n")},
        LayoutCase{"ExtraValuesIgnored", Lines(Ramp(300))},
        LayoutCase{"GarbageAfter256th", Lines(Ramp()) + "not,a,number,,"},
        LayoutCase{"ByteOrderMark", "\xEF\xBB\xBF" + Lines(Ramp(), "\r\n")}),
    [](const auto& test) { return test.param.name; });

TEST(IntervalFileTest, NumberForms) {
    std::string text = "8.1e-1 +0.5 -0.25 .75 3. 1E1 0.8000001 1e-50 1e-400 -1e-46\n";
    text += Lines(testing::Constant(1.0, 246));
    const IntervalValues values = ParseIntervals(text);
    EXPECT_EQ(values[0], 0.81f);
    EXPECT_EQ(values[1], 0.5f);
    EXPECT_EQ(values[2], -0.25f);
    EXPECT_EQ(values[3], 0.75f);
    EXPECT_EQ(values[4], 3.0f);
    EXPECT_EQ(values[5], 10.0f);
    EXPECT_EQ(values[6], 0.8000001f);  // the single nearest to the text
    EXPECT_EQ(values[7], 0.0f);        // below single precision's range
    EXPECT_EQ(values[8], 0.0f);        // and below double's
    EXPECT_TRUE(std::signbit(values[9]));
}

// Every short decimal form reads as the single-precision value nearest to it.
TEST(IntervalFileTest, ShortDecimalsRoundCorrectly) {
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int round = 0; round < 400; ++round) {
        std::string text;
        std::vector<float> expected;
        for (int i = 0; i < BeatCount; ++i) {
            const std::string digits = std::to_string(next() % 100000000u);
            const std::size_t point = next() % (digits.size() + 4);
            std::string value = point <= digits.size()
                                    ? digits.substr(0, point) + "." + digits.substr(point)
                                    : "0." + std::string(point - digits.size(), '0') + digits;
            float nearest = 0;
            std::from_chars(value.data(), value.data() + value.size(), nearest);
            expected.push_back(nearest);
            text += value + "\n";
        }
        const IntervalValues values = ParseIntervals(text);
        for (std::size_t i = 0; i < values.size(); ++i) ASSERT_EQ(values[i], expected[i]) << text;
    }
}

struct RejectCase {
    const char* name;
    std::string text;
    const char* reason;
};

void PrintTo(const RejectCase& input, std::ostream* out) {
    *out << input.name;
}

constexpr const char* Utf16 = "UTF-16 text: save the file as UTF-8 or ASCII";

class RejectedInputTest : public ::testing::TestWithParam<RejectCase> {};

TEST_P(RejectedInputTest, FailsWithReason) {
    try {
        ParseIntervals(GetParam().text);
        FAIL() << "accepted";
    } catch (const CommandFailure& failure) {
        EXPECT_EQ(std::string(failure.what()), GetParam().reason);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RejectedInputTest,
    ::testing::Values(
        RejectCase{"Empty", "", "only 0 values, 256 needed"},
        RejectCase{"OnlyBlanks", "  \n\r\n\t ", "only 0 values, 256 needed"},
        RejectCase{"ShortBy1", Lines(Ramp(255)), "only 255 values, 256 needed"},
        RejectCase{"Word", "0.8\n0.9\nabc\n", "line 3: 'abc' is not a number"},
        RejectCase{"EmptyField", "0.8,,0.9", "line 1: empty field between two commas"},
        RejectCase{"LeadingComma", "\n,0.9", "line 2: empty field between two commas"},
        RejectCase{"Nan", "nan", "line 1: 'nan' is not a number"},
        RejectCase{"Infinity", "0.8\r\ninf", "line 2: 'inf' is not a number"},
        RejectCase{"Hexadecimal", "0x1p-1", "line 1: '0x1p-1' is not a number"},
        RejectCase{"DecimalComma", "0;8", "line 1: '0;8' is not a number"},
        RejectCase{"Quoted", "\"0.8\"", "line 1: '\"0.8\"' is not a number"},
        RejectCase{"TooLarge", "1e39", "line 1: '1e39' is too large"},
        RejectCase{"BareExponent", "1e", "line 1: '1e' is not a number"},
        RejectCase{"LongToken", std::string(100000, '7'),
                   "line 1: '77777777777777777777...' is not a number"},
        RejectCase{"BeyondDouble", "0.8\n1e400", "line 2: '1e400' is too large"},
        RejectCase{"NegativeBeyondDouble", "-1e309", "line 1: '-1e309' is too large"},
        RejectCase{"CapitalExponent", "0.8, 4E422", "line 1: '4E422' is too large"},
        RejectCase{"Nul", std::string("0.8\n0.9\n0.8\0x\n", 14),
                   "line 3: '0.8\\x00x' is not a number"},
        RejectCase{"Escape", "\x1b[2J", "line 1: '\\x1b[2J' is not a number"},
        RejectCase{"Binary",
                   "\x7f"
                   "ELF\x02\x01",
                   "line 1: '\\x7fELF\\x02\\x01' is not a number"},
        RejectCase{"LongUtf8", std::string(60, 'x') + "\xc3\xa9",
                   "line 1: 'xxxxxxxxxxxxxxxxxxxx...' is not a number"},
        RejectCase{"Utf16LittleEndianMark",
                   std::string("\xff\xfe"
                               "0\0.\08\0",
                               8),
                   Utf16},
        RejectCase{"Utf16BigEndianMark",
                   std::string("\xfe\xff\0"
                               "0\0.\08",
                               8),
                   Utf16},
        RejectCase{"Utf16WithoutMark", std::string("0\0.\08\0\n\0", 8), Utf16},
        RejectCase{"BlanksAfterAValue", "0.8" + std::string(17u << 20, ' '),
                   "no 256 values in the first 16 MB"}),
    [](const auto& test) { return test.param.name; });

TEST(IntervalFileTest, FileOfManyBlanksIsRejectedAfterABoundedRead) {
    testing::ScratchDir dir;
    const std::string path = dir.write("blank.int", std::string(17u << 20, ' ') + "0.8\n");
    EXPECT_THROW(ReadIntervalFile(path), CommandFailure);
}

TEST(IntervalFileTest, ReadsTheBundledRecording) {
    const IntervalValues values = ReadIntervalFile(testing::ExampleFile("nsr2db-nsr012.int"));
    EXPECT_EQ(values[0], 0.8828f);
    EXPECT_EQ(values[255], 0.9062f);
}

std::string ReasonOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CommandFailure& failure) {
        return failure.what();
    }
    return "accepted";
}

TEST(IntervalFileTest, OddPathsAreNamedForWhatTheyAre) {
    testing::ScratchDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string regular = dir.write("r.int", "0.8");
    const struct {
        std::string path, reading, check;
    } cases[] = {
        {"/nonexistent/file.int", "No such file or directory", "No such file or directory"},
        {"", "no file name given", "No such file or directory"},
        {dir.file(""), "is a folder", "is a folder"},
        {"/dev/null", "only 0 values, 256 needed", "is not a regular file"},
        {fifo, "(not opened)", "is not a regular file"},
        {regular, "only 1 values, 256 needed", "accepted"},
    };
    for (const auto& odd : cases) {
        EXPECT_EQ(ReasonOf([&] { RequireRegularFile(odd.path); }), odd.check) << odd.path;
        if (odd.path == fifo) continue;  // opening it would wait for a writer
        EXPECT_EQ(ReasonOf([&] { ReadIntervalFile(odd.path); }), odd.reading) << odd.path;
    }
}

// An endless stream of blanks after a value, as from a pipe, ends after a bounded read.
TEST(IntervalFileTest, EndlessBlanksFromAPipeEndTheRead) {
    testing::ScratchDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    std::thread writer([&fifo] {
        const int out = open(fifo.c_str(), O_WRONLY);
        const std::string blanks(1 << 16, ' ');
        bool writing = write(out, "0.8", 3) == 3;
        while (writing)
            writing = write(out, blanks.data(), blanks.size()) > 0;  // until the reader closes
        close(out);
    });
    EXPECT_EQ(ReasonOf([&] { ReadIntervalFile(fifo); }), "no 256 values in the first 16 MB");
    writer.join();
    std::signal(SIGPIPE, previous);
}

TEST(IntervalFileTest, DashReadsStandardInput) {
    testing::ScratchDir dir;
    const std::string path = dir.write("ramp.int", Lines(Ramp()));
    const int saved = dup(STDIN_FILENO);
    const int in = open(path.c_str(), O_RDONLY);
    dup2(in, STDIN_FILENO);
    close(in);
    const IntervalValues values = ReadIntervalFile("-");
    dup2(saved, STDIN_FILENO);
    close(saved);
    std::clearerr(stdin);
    ExpectRamp(values);
}

}  // namespace
}  // namespace ritmova
