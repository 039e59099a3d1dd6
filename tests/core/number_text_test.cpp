#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/number_text.h"

namespace ritmova {
namespace {

struct FloatCase {
    float value;
    const char* pattern;
    const char* expected;
};

void PrintTo(const FloatCase& c, std::ostream* out) {
    *out << c.value << " " << c.pattern;
}

class FormatSingleTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(FormatSingleTest, RendersThroughPattern) {
    EXPECT_EQ(FormatNumber(GetParam().value, GetParam().pattern), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatSingleTest,
    ::testing::Values(
        // "###.####": no leading zero, the point always, trailing zeros dropped.
        FloatCase{0.81234f, "###.####", ".8123"}, FloatCase{0.05f, "###.####", ".05"},
        FloatCase{12.0f, "###.####", "12."}, FloatCase{0.0f, "###.####", "."},
        FloatCase{1234.5f, "###.####", "1234.5"}, FloatCase{50.0f, "###.####", "50."},
        FloatCase{-0.25f, "###.####", "-.25"},
        // A single 0.00005 is 5.000000e-05 at seven digits: the half rounds away from zero.
        FloatCase{0.00005f, "###.####", ".0001"}, FloatCase{0.34375f, "###.####", ".3438"},
        FloatCase{0.99999f, "###.####", "1."}, FloatCase{1e10f, "###.####", "10000000000."},
        // "0.000": one integer digit at least, three decimals always.
        FloatCase{0.7346f, "0.000", "0.735"}, FloatCase{1.92524f, "0.000", "1.925"},
        FloatCase{12.0f, "0.000", "12.000"}, FloatCase{0.0625f, "0.000", "0.063"},
        FloatCase{-0.5f, "0.000", "-0.500"}, FloatCase{0.0f, "0.000", "0.000"},
        // Probabilities and transition cells.
        FloatCase{0.15625f, " (.000)", " (.156)"}, FloatCase{0.0625f, " (.000)", " (.063)"},
        FloatCase{1.0f, " (.000)", " (1.000)"}, FloatCase{0.0f, " (.000)", " (.000)"},
        FloatCase{0.546875f, "    .000", "    .547"}, FloatCase{1.0f, "    .000", "    1.000"},
        FloatCase{0.0f, "    .000", "    .000"}, FloatCase{0.9995f, "    .000", "    1.000"}));

TEST(FormatNumberTest, DoubleKeepsFifteenDigits) {
    EXPECT_EQ(FormatNumber(1234.56789, "###.####"), "1234.5679");
    EXPECT_EQ(FormatNumber(50.19607843137255, "###.####"), "50.1961");
    EXPECT_EQ(FormatNumber(0.00005, "###.####"), ".0001");
    // 0.00004999999999 has 15 digits below the half: it rounds down.
    EXPECT_EQ(FormatNumber(0.0000499999999999, "###.####"), ".");
}

TEST(FormatNumberTest, WholeNumberPatterns) {
    EXPECT_EQ(FormatNumber(std::int16_t{0}, "###"), "");
    EXPECT_EQ(FormatNumber(std::int16_t{23}, "###"), "23");
    EXPECT_EQ(FormatNumber(std::int16_t{255}, "###"), "255");
    EXPECT_EQ(FormatNumber(std::int16_t{40}, "000"), "040");
    EXPECT_EQ(FormatNumber(std::int16_t{0}, "000"), "000");
    EXPECT_EQ(FormatNumber(std::int16_t{256}, "000"), "256");
    EXPECT_EQ(FormatNumber(std::int16_t{1234}, "000"), "1234");
}

struct TextCase {
    double value;
    bool single;
    const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.value;
}

class NumberTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(NumberTextTest, GeneralForm) {
    const TextCase& c = GetParam();
    const std::string text =
        c.single ? NumberText(static_cast<float>(c.value)) : NumberText(c.value);
    EXPECT_EQ(text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberTextTest,
    ::testing::Values(TextCase{0.0123456, true, " .0123456"}, TextCase{1.5, true, " 1.5"},
                      TextCase{12.3456, true, " 12.3456"}, TextCase{0.0, true, " 0"},
                      TextCase{64.0, false, " 64"}, TextCase{-0.5, false, "-.5"},
                      TextCase{0.87654321, false, " .87654321"},
                      TextCase{0.123456789, false, " .123456789"},
                      // Seven digits for a float: 0.1f is 0.100000001490116...
                      TextCase{0.1, true, " .1"}, TextCase{0.8000019, true, " .8000019"},
                      TextCase{1234567.0, true, " 1234567"},
                      TextCase{12345678.0, true, " 1.234568E+07"}, TextCase{0.0001, true, " .0001"},
                      TextCase{0.00001, true, " 1E-05"}, TextCase{-0.0000123, false, "-1.23E-05"},
                      TextCase{1.7e-9, true, " 1.7E-09"}));

TEST(NumberTextTest, CaptionsAreCutNotRounded) {
    EXPECT_EQ(NumberText(0.0123456f).substr(0, 5), " .012");
    EXPECT_EQ(NumberText(12.3456f).substr(0, 5), " 12.3");
    EXPECT_EQ(NumberText(0.87654321).substr(0, 8), " .876543");
    EXPECT_EQ(NumberText(0.123456789).substr(0, 8), " .123456");
}

}  // namespace
}  // namespace ritmova
