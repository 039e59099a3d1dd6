#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/command_failure.h"
#include "report/results_text.h"
#include "test_data.h"

namespace ritmova {
namespace {

using testing::ReadAll;

const std::string Report = "C:\\data\\a.int\r\nMean R-R value (sec):\t.8\r\n";

TEST(ReportFileTest, WritesTheReportAndOneMoreLineEnd) {
    testing::ScratchDir dir;
    WriteReportFile(dir.file("r.txt"), Report);
    EXPECT_EQ(ReadAll(dir.file("r.txt")), Report + "\r\n");
}

TEST(ReportFileTest, ReplacesAnExistingFile) {
    testing::ScratchDir dir;
    const std::string path = dir.write("r.txt", std::string(5000, 'x'));
    WriteReportFile(path, Report);
    WriteReportFile(path, Report);
    EXPECT_EQ(ReadAll(path), Report + "\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".ritmova-save"));
}

TEST(ReportFileTest, FailedWriteLeavesTheOldFileIntact) {
    testing::ScratchDir dir;
    const std::string path = dir.write("r.txt", "old report");
    // The temporary file cannot be created where a folder of its name stands.
    std::filesystem::create_directory(path + ".ritmova-save");
    EXPECT_THROW(WriteReportFile(path, Report), CommandFailure);
    EXPECT_EQ(ReadAll(path), "old report");
}

TEST(ReportFileTest, FailuresNameTheReason) {
    testing::ScratchDir dir;
    try {
        WriteReportFile(dir.file("no/such/folder/r.txt"), Report);
        FAIL() << "written";
    } catch (const CommandFailure& failure) {
        EXPECT_EQ(std::string(failure.what()), "cannot write " + dir.file("no/such/folder/r.txt") +
                                                   ": No such file or directory");
    }
    std::filesystem::create_directory(dir.file("folder"));
    EXPECT_THROW(WriteReportFile(dir.file("folder"), Report), CommandFailure);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder")));
    EXPECT_THROW(WriteReportFile("", Report), CommandFailure);
}

}  // namespace
}  // namespace ritmova
