// Text from a file, shown safely: printable UTF-8 as it is, every other byte escaped.
#include "common/safe_text.h"

#include <gtest/gtest.h>

#include <string>

namespace ritmova {
namespace {

// A token's first 20 characters, quoted; an escape counts as one character.
TEST(QuotedTokenTest, ShowsPrintableTextAndEscapesTheRest) {
    const std::string seven(20, '7');
    const std::pair<std::string, std::string> cases[] = {
        {"0.8x", "'0.8x'"},
        {"", "''"},
        {"\x1b[31m", "'\\x1b[31m'"},
        {std::string("a\0b", 3), "'a\\x00b'"},
        {"\x7f", "'\\x7f'"},
        {"caf\xe9", "'caf\\xe9'"},  // Latin-1
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80",
         "'caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80'"},
        {"\xc0\xaf", "'\\xc0\\xaf'"},                    // an overlong slash
        {"\xe0\x80\xaf", "'\\xe0\\x80\\xaf'"},           // overlong in three bytes
        {"\xed\xa0\x80", "'\\xed\\xa0\\x80'"},           // a surrogate
        {"\xf4\x90\x80\x80", "'\\xf4\\x90\\x80\\x80'"},  // beyond Unicode
        {"\xc2\x85", "'\\xc2\\x85'"},                    // a C1 control
        {"a\xe2\x82", "'a\\xe2\\x82'"},                  // a cut sequence
        {"\x80x", "'\\x80x'"},                           // a stray continuation byte
        {"1\xe2\x80\xae!", "'1\\xe2\\x80\\xae!'"},       // right-to-left override
        {"\xe2\x80\xa8", "'\\xe2\\x80\\xa8'"},           // line separator
        {seven, "'" + seven + "'"},
        {seven + "7", "'" + seven + "...'"},
        {"\xc3\xa9" + std::string(20, 'x'), "'\xc3\xa9" + std::string(19, 'x') + "...'"},
        {seven.substr(1) + std::string(2, '\0'), "'" + seven.substr(1) + "\\x00...'"}};
    for (const auto& [bytes, quoted] : cases) EXPECT_EQ(QuotedToken(bytes), quoted) << quoted;
}

TEST(SafeTextTest, KeepsEveryCharacterOfAFileName) {
    EXPECT_EQ(SafeText("r\xff\xfe" + std::string(30, 'x') + ".int"),
              "r\\xff\\xfe" + std::string(30, 'x') + ".int");
}

}  // namespace
}  // namespace ritmova
