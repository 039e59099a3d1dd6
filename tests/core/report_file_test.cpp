#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "common/command_failure.h"
#include "report/results_text.h"
#include "test_data.h"

namespace ritmova {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;

const std::string Report = "C:\\data\\a.int\r\nMean R-R value (sec):\t.8\r\n";
const std::string Saved = Report + "\r\n";  // the report and one more line end

// Everything in the scratch folder, its subfolders too.
std::set<std::string> Names(const testing::ScratchDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir.file(""))) {
        names.insert(entry.path().string().substr(dir.file("").size()));
    }
    return names;
}

unsigned Mode(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

std::string Reason(const std::function<void()>& save) {
    return testing::FailureReason(save, "saved");
}

// Over old content, under the longest name, through links that stay links, with what stands
// at the old fixed temporary name PATH.ritmova-save left alone, the mode of an old file kept
// and a new one's by umask.
TEST(ReportFileTest, SavesTheReportAndNothingElse) {
    testing::ScratchDir dir;
    const std::string victim = dir.write("victim", "not yours");
    fs::create_symlink(victim, dir.file("r.txt.ritmova-save"));
    const std::string own = dir.write("s.txt.ritmova-save", "mine");
    fs::create_directories(dir.file("a"));
    fs::create_directories(dir.file("b"));
    for (const char* target : {"b/abs", "b/rel", "b/chained"}) dir.write(target, "old");
    fs::create_symlink(dir.file("b/abs"), dir.file("a/abs"));
    fs::create_symlink("../b/rel", dir.file("a/rel"));
    fs::create_symlink("../b/next", dir.file("a/chain"));
    fs::create_symlink("chained", dir.file("b/next"));
    const std::vector<std::string> paths{dir.write("r.txt", std::string(5000, 'x')),
                                         dir.write("s.txt", "old"),
                                         dir.file(std::string(249, 'n')),
                                         dir.file("a/abs"),
                                         dir.file("a/rel"),
                                         dir.file("a/chain")};
    fs::permissions(paths[0], fs::perms(0600));
    fs::permissions(paths[1], fs::perms(0755));
    const mode_t before = umask(027);
    for (const std::string& path : paths) WriteReportFile(path, Report);
    umask(before);
    for (const std::string& path : paths) EXPECT_EQ(ReadAll(path), Saved) << path;
    EXPECT_EQ(Mode(paths[0]), 0600u);
    EXPECT_EQ(Mode(paths[1]), 0755u);
    EXPECT_EQ(Mode(paths[2]), 0640u);
    EXPECT_EQ(ReadAll(victim), "not yours");
    EXPECT_EQ(ReadAll(own), "mine");
    EXPECT_EQ(Names(dir),
              (std::set<std::string>{"victim", "r.txt.ritmova-save", "s.txt.ritmova-save", "r.txt",
                                     "s.txt", std::string(249, 'n'), "a", "a/abs", "a/rel",
                                     "a/chain", "b", "b/abs", "b/rel", "b/next", "b/chained"}));
    for (const char* link : {"r.txt.ritmova-save", "a/abs", "a/rel", "a/chain", "b/next"}) {
        EXPECT_TRUE(fs::is_symlink(dir.file(link))) << link;
    }
}

struct FailureCase {
    const char* name;
    // Sets up the folder and returns the path to save to.
    std::function<std::string(const testing::ScratchDir&)> prepare;
    const char* reason;               // PATH stands for the path
    bool smallFileSizeLimit = false;  // a full disk, for a user whom permissions do not stop
};

class FailedSaveTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailedSaveTest, LeavesEveryFileAsItWasAndNoTemporaryFile) {
    testing::ScratchDir dir;
    const std::string old = dir.write("old.txt", "old report");
    fs::create_directory(dir.file("folder"));
    dir.write("folder/inside", "kept");
    const std::string path = GetParam().prepare(dir);
    const std::set<std::string> before = Names(dir);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{Report.size() / 2, limit.rlim_max};
    if (GetParam().smallFileSizeLimit) setrlimit(RLIMIT_FSIZE, &small);
    const std::string reason = Reason([&] { WriteReportFile(path, Report); });
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string expected = GetParam().reason;
    if (expected.find("PATH") != std::string::npos)
        expected.replace(expected.find("PATH"), 4, path);
    EXPECT_EQ(reason, expected);
    EXPECT_EQ(ReadAll(old), "old report");
    EXPECT_EQ(ReadAll(dir.file("folder/inside")), "kept");
    EXPECT_EQ(Names(dir), before);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailedSaveTest,
    ::testing::Values(
        FailureCase{"NoFileName", [](const auto&) { return ""; }, "no file name given"},
        FailureCase{"MissingFolder", [](const auto& d) { return d.file("no/such/r.txt"); },
                    "cannot write PATH: No such file or directory"},
        FailureCase{"DiskFull", [](const auto& d) { return d.file("old.txt"); },
                    "cannot write PATH: File too large", true},
        FailureCase{"InsideAFile", [](const auto& d) { return d.file("old.txt/r.txt"); },
                    "cannot write PATH: Not a directory"},
        FailureCase{"Folder", [](const auto& d) { return d.file("folder"); },
                    "cannot replace PATH: Is a directory"},
        FailureCase{"FolderWithSlash", [](const auto& d) { return d.file("folder/"); },
                    "cannot replace PATH: Is a directory"},
        FailureCase{"LinkLoop",
                    [](const auto& d) {
                        fs::create_symlink("loop", d.file("loop"));
                        return d.file("loop");
                    },
                    "cannot write PATH: Too many levels of symbolic links"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace ritmova
