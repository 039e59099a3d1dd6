#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/registry.h"
#include "in_memory_registry.h"

namespace ritmova {
namespace {

using testing::InMemoryRegistry;

constexpr char kKey[] = "SOFTWARE\\Ritmova\\Test";
constexpr char kValue[] = "Value";

std::vector<char> Bytes(std::initializer_list<int> values) {
    std::vector<char> bytes;
    for (int value : values) bytes.push_back(static_cast<char>(value));
    return bytes;
}

std::vector<char> Text(std::string_view text) {
    return {text.begin(), text.end()};
}

struct ReadCase {
    const char* name;
    std::uint32_t type;
    std::vector<char> bytes;
    std::string expected;
};

void PrintTo(const ReadCase& testCase, std::ostream* out) {
    *out << testCase.name;
}

class GetKeyValueRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(GetKeyValueRead, GivesTheValueAsTextAndClosesTheKey) {
    InMemoryRegistry registry;
    registry.SetValue(kHkeyLocalMachine, kKey, kValue, {GetParam().type, GetParam().bytes});
    std::string text = "previous";
    EXPECT_TRUE(GetKeyValue(registry, kHkeyLocalMachine, kKey, kValue, text));
    EXPECT_EQ(text, GetParam().expected);
    EXPECT_EQ(registry.accessMasks, std::vector<std::uint32_t>{0x2003F});
    EXPECT_EQ(registry.closed.size(), 1u);
    EXPECT_TRUE(registry.AllKeysClosed());
}

const std::string kFullBuffer(1024, 'x');

INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyValueRead,
    ::testing::Values(
        ReadCase{"StringWithTerminatingZero", 1, Text(std::string_view("C:\\msinfo32.exe\0", 16)),
                 "C:\\msinfo32.exe"},
        ReadCase{"StringWithoutTerminatingZero", 1, Text("C:\\msinfo32.exe"), "C:\\msinfo32.exe"},
        ReadCase{"StringEndingInTwoZeros", 1, Bytes({'a', 'b', 0, 0}), std::string("ab\0", 3)},
        ReadCase{"EmptyValue", 1, {}, ""},
        ReadCase{"StringFillingTheBuffer", 1, Text(kFullBuffer), kFullBuffer},
        ReadCase{"NumberOne", 4, Bytes({1, 0, 0, 0}), "1"},
        ReadCase{"NumberWithZeroLowByte", 4, Bytes({0, 1, 0, 0}), "256"},
        ReadCase{"NumberAllBytesUsed", 4, Bytes({0x78, 0x56, 0x34, 0x12}), "305419896"},
        ReadCase{"LargestNumber", 4, Bytes({0xFF, 0xFF, 0xFF, 0xFF}), "4294967295"},
        ReadCase{"NumberZero", 4, Bytes({0, 0, 0, 0}), "0"},
        ReadCase{"BinaryLeavesTextUnchanged", 3, Bytes({1, 2, 3}), "previous"},
        ReadCase{"ExpandableStringLeavesTextUnchanged", 2, Text("%SystemRoot%"), "previous"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct FailureCase {
    const char* name;
    const char* key;
    const char* value;
    std::uint32_t type;
    std::vector<char> bytes;
};

void PrintTo(const FailureCase& testCase, std::ostream* out) {
    *out << testCase.name;
}

class GetKeyValueFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(GetKeyValueFailure, EmptiesTheTextAndStillClosesTheKey) {
    InMemoryRegistry registry;
    registry.SetValue(kHkeyLocalMachine, kKey, kValue, {GetParam().type, GetParam().bytes});
    std::string text = "previous";
    EXPECT_FALSE(GetKeyValue(registry, kHkeyLocalMachine, GetParam().key, GetParam().value, text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(registry.closed.size(), 1u);
    EXPECT_TRUE(registry.AllKeysClosed());
}

INSTANTIATE_TEST_SUITE_P(Values, GetKeyValueFailure,
                         ::testing::Values(FailureCase{"MissingKey", "SOFTWARE\\Ritmova\\Other",
                                                       kValue, 1, Text("a")},
                                           FailureCase{"MissingValue", kKey, "Other", 1, Text("a")},
                                           FailureCase{"LargerThanTheBuffer", kKey, kValue, 1,
                                                       Text(std::string(1025, 'x'))},
                                           FailureCase{"NumberBeyondSixtyFourBits", kKey, kValue, 4,
                                                       Bytes({1, 0, 0, 0, 0, 0, 0, 0, 1})}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace ritmova
