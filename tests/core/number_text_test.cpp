#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace ritmova {
namespace {

// The value is taken as a float ('f', 7 digits), a double ('d', 15 digits) or a whole number
// ('i') before the pattern applies.
struct FormatCase {
    double value;
    char type;
    const char* pattern;
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* out) {
    *out << c.value << c.type << " '" << c.pattern << "'";
}

class FormatNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, RendersThroughPattern) {
    const FormatCase& c = GetParam();
    const std::string text = c.type == 'f' ? FormatNumber(static_cast<float>(c.value), c.pattern)
                             : c.type == 'd'
                                 ? FormatNumber(c.value, c.pattern)
                                 : FormatNumber(static_cast<std::int16_t>(c.value), c.pattern);
    EXPECT_EQ(text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatNumberTest,
    ::testing::Values(
        // "###.####": no leading zero, the point always, trailing zeros dropped.
        FormatCase{0.81234, 'f', "###.####", ".8123"}, FormatCase{0.05, 'f', "###.####", ".05"},
        FormatCase{12, 'f', "###.####", "12."}, FormatCase{0, 'f', "###.####", "."},
        FormatCase{1234.5, 'f', "###.####", "1234.5"}, FormatCase{50, 'f', "###.####", "50."},
        FormatCase{-0.25, 'f', "###.####", "-.25"},
        // A float 0.00005 is 5.000000e-05 at seven digits: the half rounds away from zero.
        FormatCase{0.00005, 'f', "###.####", ".0001"},
        FormatCase{0.34375, 'f', "###.####", ".3438"}, FormatCase{0.99999, 'f', "###.####", "1."},
        FormatCase{9.99996, 'f', "###.####", "10."},
        FormatCase{1e10, 'f', "###.####", "10000000000."},
        // A double keeps fifteen digits: 0.0000499999999999 rounds down.
        FormatCase{1234.56789, 'd', "###.####", "1234.5679"},
        FormatCase{50.19607843137255, 'd', "###.####", "50.1961"},
        FormatCase{0.0000499999999999, 'd', "###.####", "."},
        FormatCase{0.0000500000000001, 'd', "###.#", "."},
        // "0.000": one integer digit at least, three decimals always.
        FormatCase{0.7346, 'f', "0.000", "0.735"}, FormatCase{1.92524, 'f', "0.000", "1.925"},
        FormatCase{12, 'f', "0.000", "12.000"}, FormatCase{0.0625, 'f', "0.000", "0.063"},
        FormatCase{-0.5, 'f', "0.000", "-0.500"}, FormatCase{0, 'f', "0.000", "0.000"},
        FormatCase{0.0004, 'f', "00.000", "00.000"}, FormatCase{0.0006, 'f', "0.0#0", "0.001"},
        // Probabilities and transition cells: text around the digits is copied.
        FormatCase{0.15625, 'f', " (.000)", " (.156)"}, FormatCase{1, 'f', " (.000)", " (1.000)"},
        FormatCase{0.546875, 'f', "    .000", "    .547"},
        FormatCase{0.9995, 'f', "    .000", "    1.000"},
        FormatCase{0, 'f', "    .000", "    .000"},
        // Whole numbers: '#' shows no zero, '0' pads, more digits than places still show.
        FormatCase{0, 'i', "###", ""}, FormatCase{255, 'i', "###", "255"},
        FormatCase{40, 'i', "000", "040"}, FormatCase{0, 'i', "000", "000"},
        FormatCase{1234, 'i', "000", "1234"}, FormatCase{-7, 'i', "a000b", "-a007b"}));

TEST(FormatNumberPattern, WithoutDigitPlacesIsRefused) {
    EXPECT_THROW(FormatNumber(1.0, "abc"), std::invalid_argument);
}

struct TextCase {
    double value;
    char type;
    const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.value << c.type;
}

class NumberTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(NumberTextTest, GeneralForm) {
    const TextCase& c = GetParam();
    EXPECT_EQ(c.type == 'f' ? NumberText(static_cast<float>(c.value)) : NumberText(c.value),
              c.expected);
}

// Exponent form below 1e-4 and from 10^digits on (7 digits for a float, 15 for a double).
INSTANTIATE_TEST_SUITE_P(
    Values, NumberTextTest,
    ::testing::Values(TextCase{0.0123456, 'f', " .0123456"}, TextCase{1.5, 'f', " 1.5"},
                      TextCase{12.3456, 'f', " 12.3456"}, TextCase{0, 'f', " 0"},
                      TextCase{64, 'd', " 64"}, TextCase{-0.5, 'd', "-.5"},
                      TextCase{0.87654321, 'd', " .87654321"},
                      // Seven digits for a float: 0.1f is 0.100000001490116...
                      TextCase{0.1, 'f', " .1"}, TextCase{0.8000019, 'f', " .8000019"},
                      TextCase{1234567, 'f', " 1234567"}, TextCase{12345678, 'f', " 1.234568E+07"},
                      TextCase{100000000000000, 'd', " 100000000000000"},
                      TextCase{1000000000000000, 'd', " 1E+15"}, TextCase{0.0001, 'f', " .0001"},
                      TextCase{0.00001, 'f', " 1E-05"}, TextCase{-0.0000123, 'd', "-1.23E-05"},
                      TextCase{1.7e-9, 'f', " 1.7E-09"}, TextCase{2.5e-100, 'd', " 2.5E-100"}));

}  // namespace
}  // namespace ritmova
