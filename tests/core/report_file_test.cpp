// Saving the report: the whole file replaced at once, or nothing changed and the reason told.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>

#include "common/command_failure.h"
#include "report/report_file.h"
#include "test_data.h"

namespace ritmova {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;

const std::string Report = "C:\\data\\a.int\r\nMean R-R value (sec):\t.8\r\n";

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

// Over old content, under the longest name, through links that stay links, with what stands
// at the old fixed temporary name PATH.ritmova-save left alone, the mode of an old file kept
// and a new one's by umask. The report gets one more line end.
TEST(ReportFileTest, SavesTheReportAndNothingElse) {
    testing::ScratchDir dir;
    const std::string victim = dir.write("victim", "not yours");
    fs::create_symlink(victim, dir.file("r.txt.ritmova-save"));
    const std::string own = dir.write("s.txt.ritmova-save", "mine");
    for (const char* folder : {"a", "b"}) fs::create_directory(dir.file(folder));
    for (const char* target : {"b/abs", "b/rel", "b/chained"}) dir.write(target, "old");
    fs::create_symlink(dir.file("b/abs"), dir.file("a/abs"));
    fs::create_symlink("../b/rel", dir.file("a/rel"));
    fs::create_symlink("../b/next", dir.file("a/chain"));
    fs::create_symlink("chained", dir.file("b/next"));
    // clang-format off
    const std::string paths[]{dir.write("r.txt", std::string(5000, 'x')), dir.write("s.txt", "old"),
                              dir.file(std::string(249, 'n')), dir.file("a/abs"), dir.file("a/rel"),
                              dir.file("a/chain")};
    // clang-format on
    fs::permissions(paths[0], fs::perms(0600));
    fs::permissions(paths[1], fs::perms(0755));
    // Every descriptor a save opens is closed again.
    const auto openDescriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto descriptors = openDescriptors();
    const mode_t before = umask(022);
    for (const std::string& path : paths) WriteReportFile(path, Report);
    umask(before);
    EXPECT_EQ(openDescriptors(), descriptors);
    for (const std::string& path : paths) EXPECT_EQ(ReadAll(path), Report + "\r\n") << path;
    EXPECT_EQ((std::array{Mode(paths[0]), Mode(paths[1]), Mode(paths[2])}),
              (std::array{0600u, 0755u, 0644u}));
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

// A failed save leaves every file as it was and no temporary file. A small file size limit
// stands for a full disk, for a user whom permissions do not stop.
TEST(ReportFileTest, FailedSaveChangesNothing) {
    const struct {
        const char* name;    // in the scratch folder; none: no name at all
        const char* reason;  // after the path
        bool fullDisk = false;
    } cases[] = {{nullptr, "no file name given"},
                 {"no/such/r.txt", "cannot write PATH: No such file or directory"},
                 {"old.txt", "cannot write PATH: File too large", true},
                 {"old.txt/r.txt", "cannot write PATH: Not a directory"},
                 {"folder", "cannot replace PATH: Is a directory"},
                 {"folder/", "cannot replace PATH: Is a directory"},
                 {"loop", "cannot write PATH: Too many levels of symbolic links"}};
    std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& c : cases) {
        testing::ScratchDir dir;
        const std::string old = dir.write("old.txt", "old report");
        fs::create_directory(dir.file("folder"));
        dir.write("folder/inside", "kept");
        fs::create_symlink("loop", dir.file("loop"));
        const std::string path = c.name ? dir.file(c.name) : "";
        const std::set<std::string> before = Names(dir);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{Report.size() / 2, limit.rlim_max};
        if (c.fullDisk) setrlimit(RLIMIT_FSIZE, &small);
        const std::string reason =
            testing::FailureReason([&] { WriteReportFile(path, Report); }, "saved");
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string expected = c.reason;
        if (expected.find("PATH") != std::string::npos)
            expected.replace(expected.find("PATH"), 4, path);
        EXPECT_EQ(reason, expected);
        EXPECT_EQ(ReadAll(old), "old report");
        EXPECT_EQ(ReadAll(dir.file("folder/inside")), "kept");
        EXPECT_EQ(Names(dir), before);
    }
}

}  // namespace
}  // namespace ritmova
