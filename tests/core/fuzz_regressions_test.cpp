#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "output_checks.h"
#include "target_checks.h"
#include "test_data.h"

namespace ritmova {
namespace {

// Every input that once made a fuzz target crash or disagree is kept in fuzz/regressions and
// read again here by the checks of every target.
std::vector<std::string> Regressions() {
    std::vector<std::string> files;
    std::error_code none;  // no folder: nothing was ever found
    for (const auto& entry :
         std::filesystem::directory_iterator(RITMOVA_FUZZ_REGRESSIONS_DIR, none)) {
        files.push_back(entry.path().filename());
    }
    return files;
}

// The fuzz targets' judges of well-formed output, on outputs worked out by hand.
TEST(FuzzOutputChecksTest, TellWellFormedJsonAndCsvFromBroken) {
    const struct {
        std::string_view text;
        bool json;
        bool csv;
    } cases[] = {
        {"[\n{\"a\":-1.5e-3,\"b\":[true,false,null,0],\"c\":\"\\u00e9\xc3\xa9\\\"\"}\n]\n", true,
         false},
        {"[\"\xff\"]", false, false},          // not UTF-8
        {"[\"\xed\xa0\x80\"]", false, false},  // a surrogate
        {"[nan]", false, false},
        {"[1,]", false, false},
        {"{\"a\" 1}", false, false},
        {"[\"a\x01\"]", false, false},  // a raw control byte
        {"[\"a\\x\"]", false, false},
        {"[1]]", false, false},
        {"a,b\n1,2\n", false, true},
        {"a,b\n\"x\ny\"\"\",2\n", false, true},
        {"a,b\n1\n", false, false},
        {"a,b\n\"x,2\n", false, false},
        {"a,b\n1,2", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fuzz::IsJson(c.text), c.json) << c.text;
        EXPECT_EQ(fuzz::IsCsv(c.text), c.csv) << c.text;
    }
}

class FuzzRegressionTest : public ::testing::TestWithParam<std::string> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FuzzRegressionTest);

TEST_P(FuzzRegressionTest, PassesTheChecksOfEveryFuzzTarget) {
    const std::string path = std::string(RITMOVA_FUZZ_REGRESSIONS_DIR) + "/" + GetParam();
    const std::string bytes = testing::ReadAll(path);
    EXPECT_EQ(fuzz::ReaderDisagreement(bytes, path), std::nullopt);
    EXPECT_EQ(fuzz::RecordingReaderDisagreement(bytes, path), std::nullopt);
    EXPECT_EQ(fuzz::PassFault(path), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzRegressionTest, ::testing::ValuesIn(Regressions()),
                         [](const auto& test) {
                             std::string name = test.param;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace ritmova
