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

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename());
    }
    return names;
}

unsigned Mode(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

std::string Reason(const std::function<void()>& save) {
    try {
        save();
    } catch (const CommandFailure& failure) {
        return failure.what();
    }
    return "saved";
}

TEST(ReportFileTest, WritesTheReportAndOneMoreLineEndOverAnyOldContent) {
    testing::ScratchDir dir;
    const std::string path = dir.write("r.txt", std::string(5000, 'x'));
    WriteReportFile(path, Report);
    EXPECT_EQ(ReadAll(path), Report + "\r\n");
    WriteReportFile(dir.file("new.txt"), Report);
    EXPECT_EQ(ReadAll(dir.file("new.txt")), Report + "\r\n");
    EXPECT_EQ(Names(dir.file("")), (std::set<std::string>{"r.txt", "new.txt"}));
}

// The old fixed temporary name PATH.ritmova-save is no longer used: what stands there stays.
TEST(ReportFileTest, LeavesWhatStandsAtTheOldTemporaryNameAlone) {
    testing::ScratchDir dir;
    const std::string victim = dir.write("victim", "not yours");
    fs::create_symlink(victim, dir.file("r.txt.ritmova-save"));
    const std::string own = dir.write("s.txt.ritmova-save", "mine");
    WriteReportFile(dir.file("r.txt"), Report);
    WriteReportFile(dir.file("s.txt"), Report);
    EXPECT_EQ(ReadAll(victim), "not yours");
    EXPECT_TRUE(fs::is_symlink(dir.file("r.txt.ritmova-save")));
    EXPECT_EQ(ReadAll(own), "mine");
    EXPECT_EQ(ReadAll(dir.file("s.txt")), Report + "\r\n");
}

TEST(ReportFileTest, SavesTheLongestFileName) {
    testing::ScratchDir dir;
    const std::string path = dir.file(std::string(249, 'n'));
    WriteReportFile(path, Report);
    EXPECT_EQ(ReadAll(path), Report + "\r\n");
}

TEST(ReportFileTest, KeepsTheModeOfAnExistingFileAndAppliesTheUmaskToANewOne) {
    testing::ScratchDir dir;
    for (unsigned mode : {0600u, 0640u, 0755u}) {
        const std::string path = dir.write("r" + std::to_string(mode), "old");
        fs::permissions(path, fs::perms(mode));
        WriteReportFile(path, Report);
        EXPECT_EQ(Mode(path), mode) << std::oct << mode;
    }
    const mode_t before = umask(027);
    WriteReportFile(dir.file("new.txt"), Report);
    umask(before);
    EXPECT_EQ(Mode(dir.file("new.txt")), 0640u);
}

struct LinkCase {
    const char* name;
    const char* link;      // the name the user saves to
    const char* pointsTo;  // the link's text; a leading / stands for the scratch folder
    const char* middle;    // a second link on the way, or ""
    const char* middlePointsTo;
    const char* file;  // where the report lands
};

class SymbolicLinkTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(SymbolicLinkTest, StaysALinkAndTheFileItPointsToGetsTheReport) {
    const LinkCase& c = GetParam();
    testing::ScratchDir dir;
    fs::create_directories(dir.file("a"));
    fs::create_directories(dir.file("b"));
    const std::string file = dir.write(c.file, "old");
    const std::string pointsTo = c.pointsTo[0] == '/' ? dir.file(c.pointsTo + 1) : c.pointsTo;
    fs::create_symlink(pointsTo, dir.file(c.link));
    if (*c.middle) fs::create_symlink(c.middlePointsTo, dir.file(c.middle));
    WriteReportFile(dir.file(c.link), Report);
    EXPECT_TRUE(fs::is_symlink(dir.file(c.link)));
    EXPECT_EQ(fs::read_symlink(dir.file(c.link)), pointsTo);
    EXPECT_EQ(ReadAll(file), Report + "\r\n");
    EXPECT_EQ(Names(dir.file("a")).size() + Names(dir.file("b")).size(), *c.middle ? 3u : 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Links, SymbolicLinkTest,
    ::testing::Values(LinkCase{"Absolute", "a/link", "/b/r.txt", "", "", "b/r.txt"},
                      LinkCase{"RelativeSameFolder", "a/link", "r.txt", "", "", "a/r.txt"},
                      LinkCase{"RelativeOtherFolder", "a/link", "../b/r.txt", "", "", "b/r.txt"},
                      LinkCase{"Chain", "a/link", "../b/next", "b/next", "r.txt", "b/r.txt"}),
    [](const auto& test) { return std::string(test.param.name); });

struct FailureCase {
    const char* name;
    // Sets up the folder and returns the path to save to.
    std::function<std::string(const testing::ScratchDir&)> prepare;
    const char* reason;               // after "cannot write PATH: "
    bool smallFileSizeLimit = false;  // a full disk, for a user whom permissions do not stop
};

class FailedSaveTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailedSaveTest, LeavesTheOldFileAndNoTemporaryFile) {
    testing::ScratchDir dir;
    const std::string old = dir.write("old.txt", "old report");
    const std::string path = GetParam().prepare(dir);
    const std::set<std::string> before = Names(dir.file(""));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{Report.size() / 2, limit.rlim_max};
    if (GetParam().smallFileSizeLimit) setrlimit(RLIMIT_FSIZE, &small);
    const std::string reason = Reason([&] { WriteReportFile(path, Report); });
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(reason, "cannot write " + path + ": " + GetParam().reason);
    EXPECT_EQ(ReadAll(old), "old report");
    EXPECT_EQ(Names(dir.file("")), before);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailedSaveTest,
    ::testing::Values(FailureCase{"MissingFolder",
                                  [](const auto& d) { return d.file("no/such/r.txt"); },
                                  "No such file or directory"},
                      FailureCase{"DiskFull", [](const auto& d) { return d.file("old.txt"); },
                                  "File too large", true},
                      FailureCase{"InsideAFile",
                                  [](const auto& d) { return d.file("old.txt/r.txt"); },
                                  "Not a directory"},
                      FailureCase{"LinkLoop",
                                  [](const auto& d) {
                                      fs::create_symlink("loop", d.file("loop"));
                                      return d.file("loop");
                                  },
                                  "Too many levels of symbolic links"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ReportFileTest, NoFileNameIsAFailure) {
    EXPECT_EQ(Reason([] { WriteReportFile("", Report); }), "no file name given");
}

TEST(ReportFileTest, AFolderIsNotReplaced) {
    testing::ScratchDir dir;
    fs::create_directory(dir.file("folder"));
    dir.write("folder/inside", "kept");
    for (const std::string& path : {dir.file("folder"), dir.file("folder") + "/"}) {
        EXPECT_EQ(Reason([&] { WriteReportFile(path, Report); }),
                  "cannot replace " + path + ": Is a directory");
    }
    EXPECT_EQ(ReadAll(dir.file("folder/inside")), "kept");
    EXPECT_EQ(Names(dir.file("")), std::set<std::string>{"folder"});
    EXPECT_EQ(Names(dir.file("folder")), std::set<std::string>{"inside"});
}

}  // namespace
}  // namespace ritmova
