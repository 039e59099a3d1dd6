// The 256-value reader: the texts it takes, how their values convert, and why it refuses.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/interval_file.h"
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
                      utf16 = "UTF-16 text: save the file as UTF-8 or ASCII";
    const struct {
        std::string text;
        std::string reason = "accepted";
    } cases[] = {{"\n\n" + Lines(Ramp(256), "\n\n\r\n")},
                 {Lines(Ramp(256), "\r")},
                 {ramp.substr(0, ramp.size() - 1)},  // no final line end
                 {Lines(Ramp(256), ",")},
                 {Lines(Ramp(256), " , ")},
                 {Lines(Ramp(256), " \t")},
                 {Lines(Ramp(256), ",\n")},
                 {Lines(Ramp(300)) + "not,a,number,,"},
                 {"\xEF\xBB\xBF" + Lines(Ramp(256), "\r\n")},  // a byte order mark
                 {"", "only 0 values, 256 needed"},
                 {Lines(Ramp(255)), "only 255 values, 256 needed"},
                 {"0.8\n0.9\nabc\n", "line 3: 'abc' is not a number"},
                 {"0.8,,0.9", "line 1: empty field between two commas"},
                 {"0.8\r\ninf", "line 2: 'inf' is not a number"},
                 {"0x1p-1", "line 1: '0x1p-1' is not a number"},
                 {"1e", "line 1: '1e' is not a number"},
                 {"1e39", "line 1: '1e39' is too large"},
                 {"0.8\n1e400", "line 2: '1e400' is too large"},
                 {"-1e309", "line 1: '-1e309' is too large"},
                 {"0.8, 4E422", "line 1: '4E422' is too large"},
                 {std::string(100000, '7'), "line 1: '77777777777777777777...' is not a number"},
                 {std::string("0.8\n0.9\n0.8\0x\n", 14), "line 3: '0.8\\x00x' is not a number"},
                 {"\x1b[2J", "line 1: '\\x1b[2J' is not a number"},
                 {"\177ELF\x02\x01", "line 1: '\\x7fELF\\x02\\x01' is not a number"},
                 {{'\xff', '\xfe', '0', 0, '.', 0, '8', 0}, utf16},
                 {{'\xfe', '\xff', 0, '0', 0, '.', 0, '8'}, utf16},
                 {{'0', 0, '.', 0, '8', 0, '\n', 0}, utf16}};  // no byte order mark
    const IntervalValues expected = testing::ToIntervals(Ramp(256));
    for (const auto& c : cases) {
        EXPECT_EQ(ReasonOf([&c, &expected] {
                      if (ParseIntervals(c.text) != expected) throw CommandFailure("other values");
                  }),
                  c.reason)
            << c.text.substr(0, 40);
    }
}

// 0.8000001 and 1.6777217 (a mantissa past 2^24) as the single nearest to them; the last
// three below single and double's range.
TEST(IntervalFileTest, NumberForms) {
    const std::string forms =
        "8.1e-1 +0.5 -0.25 .75 3. 1E1 0.8000001 1.6777217 1e-50 1e-400 -1e-46\n";
    const IntervalValues values = ParseIntervals(forms + Lines(testing::Constant(1.0, 245)));
    const float expected[]{0.81f,      0.5f,       -0.25f, 0.75f, 3.0f, 10.0f,
                           0.8000001f, 1.6777217f, 0,      0,     -0.0f};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
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
        IntervalValues expected{};
        for (float& nearest : expected) {
            const std::string digits = std::to_string(next() % 100000000u);
            const std::size_t point = next() % (digits.size() + 4);
            const std::string value = point <= digits.size()
                                          ? digits.substr(0, point) + "." + digits.substr(point)
                                          : "0." + std::string(point - digits.size(), '0') + digits;
            std::from_chars(value.data(), value.data() + value.size(), nearest);
            text += value + "\n";
        }
        ASSERT_EQ(ParseIntervals(text), expected) << text;
    }
}

// What reading a path says, and what the check for a regular file says. Reading stops after
// 16 MB, however long a file or an endless pipe goes on.
TEST(IntervalFileTest, OddPathsAreNamedForWhatTheyAre) {
    testing::ScratchDir dir;
    const struct {
        std::string path, reading, check;
    } cases[] = {
        {"/nonexistent/file.int", "No such file or directory", "No such file or directory"},
        {"", "no file name given", "No such file or directory"},
        {dir.file(""), "is a folder", "is a folder"},
        {"/dev/null", "only 0 values, 256 needed", "is not a regular file"},
        {dir.write("blank.int", "0.8" + std::string(17u << 20, ' ')),
         "no 256 values in the first 16 MB", "accepted"},
        {dir.write("r.int", "0.8"), "only 1 values, 256 needed", "accepted"},
    };
    for (const auto& odd : cases) {
        EXPECT_EQ(ReasonOf([&] { ReadIntervalFile(odd.path); }), odd.reading) << odd.path;
        EXPECT_EQ(ReasonOf([&] { RequireRegularFile(odd.path); }), odd.check) << odd.path;
    }
}

}  // namespace
}  // namespace ritmova
