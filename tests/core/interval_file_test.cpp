#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "analysis/interval_file.h"
#include "common/command_failure.h"
#include "test_data.h"

namespace ritmova {
namespace {

using testing::Lines;

// Values 0.001, 0.002, ...: value i is i/1000.
std::vector<double> Ramp(int count = 256) {
    std::vector<double> values;
    for (int i = 1; i <= count; ++i) values.push_back(i / 1000.0);
    return values;
}

void ExpectRamp(const IntervalValues& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_EQ(values[i], static_cast<float>(static_cast<double>(i + 1) / 1000.0)) << i + 1;
    }
}

std::string ReasonOf(const std::function<void()>& action) {
    return testing::FailureReason(action, "accepted");
}

struct TextCase {
    const char* name;
    std::string text;
    const char* reason = "accepted";
};

class IntervalTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(IntervalTextTest, ReadsTheRampOrFailsWithReason) {
    EXPECT_EQ(ReasonOf([this] { ExpectRamp(ParseIntervals(GetParam().text)); }), GetParam().reason);
}

constexpr const char* Utf16 = "UTF-16 text: save the file as UTF-8 or ASCII";

INSTANTIATE_TEST_SUITE_P(
    , IntervalTextTest,
    ::testing::Values(
        TextCase{"BlankLinesCrLf", "\n\n" + Lines(Ramp(), "\n\n\r\n")},
        TextCase{"OldMacCr", Lines(Ramp(), "\r")},
        TextCase{"NoFinalLineEnd", Lines(Ramp()).substr(0, Lines(Ramp()).size() - 1)},
        TextCase{"Commas", Lines(Ramp(), ",")},
        TextCase{"BlanksAroundCommas", Lines(Ramp(), " , ")},
        TextCase{"BlanksAndTabs", Lines(Ramp(), " \t")},
        TextCase{"TrailingCommaPerLine", Lines(Ramp(), ",\n")},
        TextCase{"GarbageAfter256th", Lines(Ramp(300)) + "not,a,number,,"},
        TextCase{"ByteOrderMark", "\xEF\xBB\xBF" + Lines(Ramp(), "\r\n")},
        TextCase{"Empty", "", "only 0 values, 256 needed"},
        TextCase{"ShortBy1", Lines(Ramp(255)), "only 255 values, 256 needed"},
        TextCase{"Word", "0.8\n0.9\nabc\n", "line 3: 'abc' is not a number"},
        TextCase{"EmptyField", "0.8,,0.9", "line 1: empty field between two commas"},
        TextCase{"Infinity", "0.8\r\ninf", "line 2: 'inf' is not a number"},
        TextCase{"Hexadecimal", "0x1p-1", "line 1: '0x1p-1' is not a number"},
        TextCase{"BareExponent", "1e", "line 1: '1e' is not a number"},
        TextCase{"TooLarge", "1e39", "line 1: '1e39' is too large"},
        TextCase{"LongToken", std::string(100000, '7'),
                 "line 1: '77777777777777777777...' is not a number"},
        TextCase{"BeyondDouble", "0.8\n1e400", "line 2: '1e400' is too large"},
        TextCase{"NegativeBeyondDouble", "-1e309", "line 1: '-1e309' is too large"},
        TextCase{"CapitalExponent", "0.8, 4E422", "line 1: '4E422' is too large"},
        TextCase{"Nul", std::string("0.8\n0.9\n0.8\0x\n", 14),
                 "line 3: '0.8\\x00x' is not a number"},
        TextCase{"Escape", "\x1b[2J", "line 1: '\\x1b[2J' is not a number"},
        TextCase{"Elf", "\177ELF\x02\x01", "line 1: '\\x7fELF\\x02\\x01' is not a number"},
        TextCase{"Utf16LittleEndianMark", {'\xff', '\xfe', '0', 0, '.', 0, '8', 0}, Utf16},
        TextCase{"Utf16BigEndianMark", {'\xfe', '\xff', 0, '0', 0, '.', 0, '8'}, Utf16},
        TextCase{"Utf16WithoutMark", {'0', 0, '.', 0, '8', 0, '\n', 0}, Utf16}),
    [](const auto& test) { return test.param.name; });

// 0.8000001 and 1.6777217 (a mantissa past 2^24) as the single nearest to them; the last
// three below single and double's range.
TEST(IntervalFileTest, NumberForms) {
    const std::string forms =
        "8.1e-1 +0.5 -0.25 .75 3. 1E1 0.8000001 1.6777217 1e-50 1e-400 -1e-46\n";
    const IntervalValues values = ParseIntervals(forms + Lines(testing::Constant(1.0, 245)));
    const std::vector<float> expected{0.81f,      0.5f,       -0.25f, 0.75f, 3.0f, 10.0f,
                                      0.8000001f, 1.6777217f, 0,      0,     -0.0f};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(values[i]),
                  std::bit_cast<std::uint32_t>(expected[i]))
            << i;
    }
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

// What reading a path says, and what the check for a regular file says. The pipe gives a value
// and then endless blanks; standard input, as -, holds one value.
TEST(IntervalFileTest, OddPathsAreNamedForWhatTheyAre) {
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
    const std::string regular = dir.write("r.int", "0.8");
    const int savedInput = dup(STDIN_FILENO);
    const int input = open(regular.c_str(), O_RDONLY);
    dup2(input, STDIN_FILENO);
    close(input);
    const struct {
        std::string path, reading, check;
    } cases[] = {
        {"/nonexistent/file.int", "No such file or directory", "No such file or directory"},
        {"", "no file name given", "No such file or directory"},
        {dir.file(""), "is a folder", "is a folder"},
        {"/dev/null", "only 0 values, 256 needed", "is not a regular file"},
        {fifo, "no 256 values in the first 16 MB", "is not a regular file"},
        {regular, "only 1 values, 256 needed", "accepted"},
        {"-", "only 1 values, 256 needed", "No such file or directory"},
    };
    for (const auto& odd : cases) {
        EXPECT_EQ(ReasonOf([&] { ReadIntervalFile(odd.path); }), odd.reading) << odd.path;
        EXPECT_EQ(ReasonOf([&] { RequireRegularFile(odd.path); }), odd.check) << odd.path;
    }
    dup2(savedInput, STDIN_FILENO);
    close(savedInput);
    std::clearerr(stdin);
    writer.join();
    std::signal(SIGPIPE, previous);
}

}  // namespace
}  // namespace ritmova
