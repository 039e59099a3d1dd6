// Numbers and text from files as the program shows them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>

#include "common/number_text.h"
#include "common/safe_text.h"
#include "report/results_text.h"

namespace ritmova {
namespace {

// The value is taken as a float ('f', 7 significant digits), a double ('d', 15) or a whole
// number ('i') before the pattern applies; halves round away from zero.
// clang-format off
const std::tuple<double, char, const char*, const char*> Formats[] = {
    // "###.####": no leading zero, the point always, trailing zeros dropped.
    {0.81234, 'f', "###.####", ".8123"}, {0.05, 'f', "###.####", ".05"},
    {12, 'f', "###.####", "12."}, {0, 'f', "###.####", "."}, {50, 'f', "###.####", "50."},
    {1234.5, 'f', "###.####", "1234.5"}, {-0.25, 'f', "###.####", "-.25"},
    {1e10, 'f', "###.####", "10000000000."},
    // A float 0.00005 is 5.000000e-05 at seven digits: its half rounds up. Carries run on.
    {0.00005, 'f', "###.####", ".0001"}, {0.34375, 'f', "###.####", ".3438"},
    {0.99999, 'f', "###.####", "1."}, {9.99996, 'f', "###.####", "10."},
    // A double keeps fifteen digits: 0.0000499999999999 rounds down.
    {1234.56789, 'd', "###.####", "1234.5679"}, {50.19607843137255, 'd', "###.####", "50.1961"},
    {0.0000499999999999, 'd', "###.####", "."}, {0.0000500000000001, 'd', "###.#", "."},
    // '0' places are always written.
    {0.7346, 'f', "0.000", "0.735"}, {1.92524, 'f', "0.000", "1.925"},
    {12, 'f', "0.000", "12.000"}, {0.0625, 'f', "0.000", "0.063"}, {-0.5, 'f', "0.000", "-0.500"},
    {0, 'f', "0.000", "0.000"}, {0.0004, 'f', "00.000", "00.000"}, {0.0006, 'f', "0.0#0", "0.001"},
    // Only a '#' at the very end drops a zero; seven float and fifteen double digits show.
    {0.5, 'f', "0.#0", "0.50"}, {1.234567, 'f', "0.######", "1.234567"},
    {1.0 / 3, 'd', "0.################", "0.333333333333333"},
    // Text around the digit places is copied: probabilities and transition cells.
    {0.15625, 'f', " (.000)", " (.156)"}, {1, 'f', " (.000)", " (1.000)"},
    {0.546875, 'f', "    .000", "    .547"}, {0.9995, 'f', "    .000", "    1.000"},
    // Whole numbers: '#' shows no zero, '0' pads, more digits than places still show.
    {0, 'i', "###", ""}, {255, 'i', "###", "255"}, {40, 'i', "000", "040"},
    {0, 'i', "000", "000"}, {1234, 'i', "000", "1234"}, {-7, 'i', "a000b", "-a007b"}};
// clang-format on

TEST(FormatNumberTest, RendersThroughPattern) {
    for (const auto& [value, type, pattern, expected] : Formats) {
        const std::string text = type == 'f' ? FormatNumber(static_cast<float>(value), pattern)
                                 : type == 'd'
                                     ? FormatNumber(value, pattern)
                                     : FormatNumber(static_cast<std::int16_t>(value), pattern);
        EXPECT_EQ(text, expected) << value << type << " '" << pattern << "'";
    }
    EXPECT_THROW(FormatNumber(1.0, "abc"), std::invalid_argument);
}

// ' ' or '-' in front, no zero before the point; exponent form below 1e-4 and from 10^digits
// on (7 digits for a float, 15 for a double).
TEST(NumberTextTest, GeneralForm) {
    // clang-format off
    const std::tuple<double, char, const char*> cases[] = {
        {0.0123456, 'f', " .0123456"}, {1.5, 'f', " 1.5"}, {12.3456, 'f', " 12.3456"},
        {0, 'f', " 0"}, {64, 'd', " 64"}, {-0.5, 'd', "-.5"}, {0.87654321, 'd', " .87654321"},
        // Seven digits for a float: 0.1f is 0.100000001490116...
        {0.1, 'f', " .1"}, {0.8000019, 'f', " .8000019"}, {1234567, 'f', " 1234567"},
        {12345678, 'f', " 1.234568E+07"}, {1e14, 'd', " 100000000000000"}, {1e15, 'd', " 1E+15"},
        {0.0001, 'f', " .0001"}, {0.00001, 'f', " 1E-05"}, {-0.0000123, 'd', "-1.23E-05"},
        {1.7e-9, 'f', " 1.7E-09"}, {2.5e-100, 'd', " 2.5E-100"}};
    // clang-format on
    for (const auto& [value, type, expected] : cases) {
        EXPECT_EQ(type == 'f' ? NumberText(static_cast<float>(value)) : NumberText(value), expected)
            << value << type;
    }
}

// The spectrum axis caption keeps the five characters of the general form while they still
// tell the value's size, and otherwise gives two digits with their exponent, rounded half up
// from the float's seven digits.
TEST(SpectrumCaptionTest, FiveCharactersOrTwoDigitsAndExponent) {
    // clang-format off
    const std::pair<float, const char*> cases[] = {
        // Five characters that read right stay as they are.
        {0.61359231f, " .613"}, {0.024f, " .024"}, {0.001f, " .001"}, {1234.5f, " 1234"},
        {0, " 0"}, {7.0f, " 7"},
        // An exponent cut off: " 2.49" of " 2.495E-08", " 1.69" of " 1.695011E-09".
        {2.495e-8f, "2.5e-8"}, {1.695011e-9f, "1.7e-9"}, {1.5e-5f, "1.5e-5"},
        {9.96e-8f, "1.0e-7"}, {12345678, "1.2e7"},
        // Integer digits cut off: " 7328" of " 7328230".
        {7328230, "7.3e6"}, {12345, "1.2e4"}, {99999, "1.0e5"},
        // Every significant digit cut off: " .000" of " .00025".
        {0.00025f, "2.5e-4"}, {0.0001f, "1.0e-4"}};
    // clang-format on
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(SpectrumCaption(value), expected) << value;
}

// The short exponent form of negative and whole values.
TEST(ShortExponentTextTest, SignAndCarry) {
    const std::pair<float, const char*> cases[] = {
        {-0.00025f, "-2.5e-4"}, {1, "1.0e0"}, {0.95f, "9.5e-1"}, {-9.95f, "-1.0e1"}, {0, "0.0e0"}};
    for (const auto& [value, expected] : cases) EXPECT_EQ(ShortExponentText(value), expected);
}

// One is singular; none and many are plural.
TEST(CountTextTest, EnglishNumber) {
    const std::pair<std::size_t, const char*> cases[] = {
        {0, "0 windows"}, {1, "1 window"}, {2, "2 windows"}, {21, "21 windows"}};
    for (const auto& [count, expected] : cases) {
        EXPECT_EQ(CountText(count, "window", "windows"), expected);
    }
}

// A token's first 20 characters, quoted; an escape counts as one character.
TEST(QuotedTokenTest, ShowsPrintableTextAndEscapesTheRest) {
    const std::string seven(20, '7');
    // UTF-8, Latin-1, then an overlong slash, overlong in three bytes, a surrogate, beyond
    // Unicode, a C1 control, a cut sequence, a stray continuation byte, a right-to-left
    // override and a line separator.
    const std::string utf8 = "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80";
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"0.8x", "'0.8x'"}, {"", "''"}, {utf8, "'" + utf8 + "'"},
        {"\x1b[31m\x1f", "'\\x1b[31m\\x1f'"},
        {std::string("a\0b", 3), "'a\\x00b'"}, {"\x7f", "'\\x7f'"}, {"caf\xe9", "'caf\\xe9'"},
        {"\xc0\xaf", "'\\xc0\\xaf'"}, {"\xe0\x80\xaf", "'\\xe0\\x80\\xaf'"},
        {"\xed\xa0\x80", "'\\xed\\xa0\\x80'"}, {"\xf4\x90\x80\x80", "'\\xf4\\x90\\x80\\x80'"},
        {"\xc2\x85", "'\\xc2\\x85'"}, {"a\xe2\x82", "'a\\xe2\\x82'"}, {"\x80x", "'\\x80x'"},
        {"1\xe2\x80\xae!", "'1\\xe2\\x80\\xae!'"}, {"\xe2\x80\xa8", "'\\xe2\\x80\\xa8'"},
        {seven, "'" + seven + "'"}, {seven + "7", "'" + seven + "...'"},
        {"\xc3\xa9" + std::string(20, 'x'), "'\xc3\xa9" + std::string(19, 'x') + "...'"},
        {seven.substr(1) + std::string(2, '\0'), "'" + seven.substr(1) + "\\x00...'"}};
    // clang-format on
    for (const auto& [bytes, quoted] : cases) EXPECT_EQ(QuotedToken(bytes), quoted) << quoted;
    // A file name keeps every character.
    EXPECT_EQ(SafeText("r\xff\xfe" + std::string(30, 'x') + ".int"),
              "r\\xff\\xfe" + std::string(30, 'x') + ".int");
}

}  // namespace
}  // namespace ritmova
