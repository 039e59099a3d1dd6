#include "about/registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "in_memory_registry.h"

namespace ritmova {
namespace {

constexpr char Key[] = "SOFTWARE\\Ritmova\\Test";

std::vector<char> Bytes(std::string_view bytes) {
    return {bytes.begin(), bytes.end()};
}

// What GetKeyValue makes of a value of the given type and bytes: its text, or "previous" when
// it leaves the text as it was. Every key it opens, with KEY_ALL_ACCESS, is closed again.
struct ReadCase {
    const char* name;
    std::uint32_t type;
    std::string bytes, expected;
};

const std::string FullBuffer(1024, 'x');

// clang-format off
const ReadCase Reads[] = {
    {"StringWithTerminatingZero", 1, std::string("C:\\msinfo32.exe\0", 16), "C:\\msinfo32.exe"},
    {"StringWithoutTerminatingZero", 1, "C:\\msinfo32.exe", "C:\\msinfo32.exe"},
    {"StringEndingInTwoZeros", 1, std::string("ab\0\0", 4), std::string("ab\0", 3)},
    {"EmptyValue", 1, "", ""},
    {"StringFillingTheBuffer", 1, FullBuffer, FullBuffer},
    {"NumberOne", 4, std::string("\1\0\0\0", 4), "1"},
    {"NumberWithZeroLowByte", 4, std::string("\0\1\0\0", 4), "256"},
    {"NumberAllBytesUsed", 4, "\x78\x56\x34\x12", "305419896"},
    {"LargestNumber", 4, "\xFF\xFF\xFF\xFF", "4294967295"},
    {"NumberZero", 4, std::string(4, '\0'), "0"},
    {"BinaryLeavesTextUnchanged", 3, "\1\2\3", "previous"},
    {"ExpandableStringLeavesTextUnchanged", 2, "%SystemRoot%", "previous"}};
// clang-format on

TEST(GetKeyValue, GivesTheValueAsTextAndClosesTheKey) {
    for (const ReadCase& c : Reads) {
        SCOPED_TRACE(c.name);
        testing::InMemoryRegistry registry;
        registry.SetValue(kHkeyLocalMachine, Key, "Value", {c.type, Bytes(c.bytes)});
        std::string text = "previous";
        EXPECT_TRUE(GetKeyValue(registry, kHkeyLocalMachine, Key, "Value", text));
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(registry.accessMasks, std::vector<std::uint32_t>{0x2003F});
        EXPECT_EQ(registry.closed.size(), 1u);
        EXPECT_TRUE(registry.AllKeysClosed());
    }
}

// A failed read empties the text and still closes the key.
TEST(GetKeyValue, FailureEmptiesTheTextAndClosesTheKey) {
    struct FailureCase {
        const char* key;
        const char* value;
        std::uint32_t type;
        std::string bytes;
    };
    for (const FailureCase& c :
         {FailureCase{"SOFTWARE\\Ritmova\\Other", "Value", 1, "a"},  // missing key
          FailureCase{Key, "Other", 1, "a"},                         // missing value
          FailureCase{Key, "Value", 1, std::string(1025, 'x')},      // larger than the buffer
          FailureCase{Key, "Value", 4, std::string("\1\0\0\0\0\0\0\0\1", 9)}}) {  // > 64 bits
        SCOPED_TRACE(c.key + std::string(" ") + c.value);
        testing::InMemoryRegistry registry;
        registry.SetValue(kHkeyLocalMachine, Key, "Value", {c.type, Bytes(c.bytes)});
        std::string text = "previous";
        EXPECT_FALSE(GetKeyValue(registry, kHkeyLocalMachine, c.key, c.value, text));
        EXPECT_EQ(text, "");
        EXPECT_EQ(registry.closed.size(), 1u);
        EXPECT_TRUE(registry.AllKeysClosed());
    }
}

}  // namespace
}  // namespace ritmova
