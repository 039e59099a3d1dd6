// Saving the report: the whole file replaced at once, or nothing changed and the reason told.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

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

// The reason a save by the user nobody gives, in a process of its own.
std::string SavedAsNobody(const std::string& path) {
    int channel[2];
    if (pipe(channel) != 0) return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        std::string reason = "no change of user";
        if (setgid(65534) == 0 && setuid(65534) == 0) {
            reason = testing::FailureReason([&] { WriteReportFile(path, Report); }, "saved");
        }
        static_cast<void>(write(channel[1], reason.data(), reason.size()));
        _exit(0);
    }
    close(channel[1]);
    std::string reason;
    char buffer[256];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        reason.append(buffer, got);
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return reason;
}

// What a rename must not replace: a device or FIFO is written as it is, as the shell's `>`
// writes it; a link that another user planted in a shared sticky folder is not followed (the
// system's own rule for the links it follows); the recording, under any name, and a file the
// user may not write are refused. Nothing is left beside them.
TEST(ReportFileTest, WritesDevicesInPlaceAndRefusesWhatItMustNotReplace) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root: a device node, links of another user";
    testing::ScratchDir dir;
    const auto at = [&dir](const char* name) { return dir.file(name); };
    ASSERT_EQ(mknod(at("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(mkfifo(at("fifo").c_str(), 0600), 0);
    fs::create_directory(at("shared"));
    fs::permissions(at("shared"), fs::perms(01777));
    const std::string secret = dir.write("secret", "root's"), recording = dir.write("r.int", "0.8");
    fs::create_hard_link(recording, at("same.int"));
    for (const char* link : {"shared/planted", "shared/own", "shared/nobodys"}) {
        fs::create_symlink(secret, at(link));
    }
    fs::create_symlink(at("created"), at("shared/dangling"));
    fs::create_symlink(at("null"), at("shared/device"));
    for (const char* link : {"shared/planted", "shared/dangling", "shared/nobodys"}) {
        ASSERT_EQ(lchown(at(link).c_str(), 65534, 65534), 0);
    }
    fs::create_directory(at("theirs"));
    fs::permissions(at("theirs"), fs::perms(01777));
    ASSERT_EQ(chown(at("theirs").c_str(), 65534, 65534), 0);
    fs::rename(at("shared/nobodys"), at("theirs/nobodys"));  // their folder, their link
    const std::string planted =
        "a link that another user owns in a shared sticky folder is not "
        "followed";
    const std::pair<const char*, std::string> cases[] = {
        {"null", "saved"},
        {"shared/device", "saved"},
        {"fifo", "cannot write PATH: nothing reads from it"},
        {"shared/planted", "cannot write PATH: " + planted},
        {"shared/dangling", "cannot write PATH: " + planted},
        {"r.int", "cannot replace PATH: it is the recording analysed"},
        {"same.int", "cannot replace PATH: it is the recording analysed"}};
    const std::set<std::string> names = Names(dir);
    for (const auto& [name, reason] : cases) {
        std::string expected = reason;
        if (expected.starts_with("cannot")) expected.replace(expected.find("PATH"), 4, at(name));
        EXPECT_EQ(
            testing::FailureReason([&] { WriteReportFile(at(name), Report, recording); }, "saved"),
            expected);
    }
    EXPECT_EQ(Names(dir), names);
    EXPECT_TRUE(fs::is_character_file(at("null")) && fs::is_fifo(at("fifo")));
    EXPECT_EQ(ReadAll(secret) + ReadAll(recording), "root's0.8");
    const int reader = open(at("fifo").c_str(), O_RDONLY | O_NONBLOCK);  // a FIFO that is read
    WriteReportFile(at("fifo"), Report);                                 // takes the report
    std::array<char, 256> read{};
    EXPECT_EQ(std::string(read.data(),
                          static_cast<std::size_t>(::read(reader, read.data(), read.size()))),
              Report + "\r\n");
    close(reader);
    for (const char* followed : {"shared/own", "theirs/nobodys"}) {
        dir.write("secret", "root's");
        WriteReportFile(at(followed), Report);
        EXPECT_EQ(ReadAll(secret), Report + "\r\n");
    }
    // A file that is not the user's to write, in the user's own folder.
    fs::create_directory(at("nobody"));
    ASSERT_EQ(chown(at("nobody").c_str(), 65534, 65534), 0);
    fs::permissions(dir.file(""), fs::perms(0755));
    fs::permissions(dir.write("nobody/read-only", "kept"), fs::perms(0444));
    EXPECT_EQ(SavedAsNobody(at("nobody/read-only")),
              "cannot write " + at("nobody/read-only") + ": Permission denied");
    EXPECT_EQ(ReadAll(at("nobody/read-only")), "kept");
}

}  // namespace
}  // namespace ritmova
