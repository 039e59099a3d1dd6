#include "common/safe_text.h"

#include <gtest/gtest.h>

#include <string>

namespace ritmova {
namespace {

struct QuoteCase {
    const char* name;
    std::string bytes;
    std::string quoted;
};

class QuotedTokenTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuotedTokenTest, ShowsPrintableTextAndEscapesTheRest) {
    EXPECT_EQ(QuotedToken(GetParam().bytes), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, QuotedTokenTest,
    ::testing::Values(QuoteCase{"Plain", "0.8x", "'0.8x'"}, QuoteCase{"Empty", "", "''"},
                      QuoteCase{"Escape", "\x1b[31m", "'\\x1b[31m'"},
                      QuoteCase{"Nul", std::string("a\0b", 3), "'a\\x00b'"},
                      QuoteCase{"Delete", "\x7f", "'\\x7f'"},
                      QuoteCase{"Latin1", "caf\xe9", "'caf\\xe9'"},
                      QuoteCase{"Utf8", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80",
                                "'caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80'"},
                      QuoteCase{"OverlongSlash", "\xc0\xaf", "'\\xc0\\xaf'"},
                      QuoteCase{"OverlongThreeBytes", "\xe0\x80\xaf", "'\\xe0\\x80\\xaf'"},
                      QuoteCase{"Surrogate", "\xed\xa0\x80", "'\\xed\\xa0\\x80'"},
                      QuoteCase{"BeyondUnicode", "\xf4\x90\x80\x80", "'\\xf4\\x90\\x80\\x80'"},
                      QuoteCase{"C1Control", "\xc2\x85", "'\\xc2\\x85'"},
                      QuoteCase{"CutSequence", "a\xe2\x82", "'a\\xe2\\x82'"},
                      QuoteCase{"StrayContinuation", "\x80x", "'\\x80x'"},
                      QuoteCase{"RightToLeftOverride", "1\xe2\x80\xae!", "'1\\xe2\\x80\\xae!'"},
                      QuoteCase{"LineSeparator", "\xe2\x80\xa8", "'\\xe2\\x80\\xa8'"},
                      QuoteCase{"Twenty", std::string(20, '7'), "'" + std::string(20, '7') + "'"},
                      QuoteCase{"TwentyOne", std::string(21, '7'),
                                "'" + std::string(20, '7') + "...'"},
                      QuoteCase{"TwentyOneWide", "\xc3\xa9" + std::string(20, 'x'),
                                "'\xc3\xa9" + std::string(19, 'x') + "...'"},
                      QuoteCase{"EscapesCountAsOne", std::string(19, '7') + std::string(2, '\0'),
                                "'" + std::string(19, '7') + "\\x00...'"}),
    [](const auto& test) { return test.param.name; });

TEST(SafeTextTest, KeepsEveryCharacterOfAFileName) {
    EXPECT_EQ(SafeText("r\xff\xfe" + std::string(30, 'x') + ".int"),
              "r\\xff\\xfe" + std::string(30, 'x') + ".int");
}

}  // namespace
}  // namespace ritmova
