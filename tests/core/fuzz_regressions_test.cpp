#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "output_checks.h"
#include "target_checks.h"
#include "test_data.h"

namespace ritmova {
namespace {

// The fuzz targets' judges of well-formed output tell a broken text from a good one.
TEST(FuzzOutputChecksTest, TellWellFormedJsonAndCsvFromBroken) {
    EXPECT_TRUE(
        fuzz::IsJson("[\n{\"a\":-1.5e-3,\"b\":[true,false,null,0],\"c\":\"\\u00e9\"}\n]\n"));
    for (const char* broken : {"[\"\xff\"]", "[nan]", "[1,]", "{\"a\" 1}", "[\"a\x01\"]", "[1]]"})
        EXPECT_FALSE(fuzz::IsJson(broken)) << broken;
    EXPECT_TRUE(fuzz::IsCsv("a,b\n\"x\ny\"\"\",2\n"));
    for (const char* broken : {"a,b\n1\n", "a,b\n\"x,2\n", "a,b\n1,2"})
        EXPECT_FALSE(fuzz::IsCsv(broken)) << broken;
}

// Every input that once made a fuzz target crash or disagree is kept in fuzz/regressions and
// read again here by the checks of every target.
TEST(FuzzRegressionTest, PassesTheChecksOfEveryFuzzTarget) {
    std::error_code none;  // no folder: nothing was ever found
    for (const auto& entry :
         std::filesystem::directory_iterator(RITMOVA_FUZZ_REGRESSIONS_DIR, none)) {
        const std::string path = entry.path().string();
        const std::string bytes = testing::ReadAll(path);
        EXPECT_EQ(fuzz::ReaderDisagreement(bytes, path), std::nullopt);
        EXPECT_EQ(fuzz::RecordingReaderDisagreement(bytes, path), std::nullopt);
        EXPECT_EQ(fuzz::PassFault(path), std::nullopt);
    }
}

}  // namespace
}  // namespace ritmova
