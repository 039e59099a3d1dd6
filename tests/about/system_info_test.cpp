#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "about/system_info.h"
#include "in_memory_registry.h"

namespace ritmova {
namespace {

constexpr char kToolPathKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kToolFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char kFolder[] = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
constexpr char kToolInFolder[] =
    "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\MSINFO32.EXE";
constexpr char kUnavailable[] = "Le informazioni sul sistema non sono attualmente disponibili.";

// Records what StartSysInfo asks of the system.
class FakeHost final : public SysInfoHost {
  public:
    Registry& SystemRegistry() override { return registry; }

    bool FileExists(const std::string& path) override {
        existenceTests.push_back(path);
        if (failFileTest) throw std::runtime_error("device not ready");
        return existingFiles.contains(path);
    }

    std::optional<std::string> FindExecutable(std::string_view name) override {
        const auto found = executables.find(std::string(name));
        if (found == executables.end()) return std::nullopt;
        return found->second;
    }

    bool StartDetached(const std::string& path) override {
        started.push_back(path);
        return startSucceeds;
    }

    void ShowMessage(std::string_view text, std::string_view caption) override {
        messages.push_back(std::string(caption) + ": " + std::string(text));
    }

    testing::InMemoryRegistry registry;
    std::set<std::string> existingFiles;
    std::map<std::string, std::string> executables;
    bool startSucceeds = true;
    bool failFileTest = false;

    std::vector<std::string> existenceTests;
    std::vector<std::string> started;
    std::vector<std::string> messages;
};

const std::vector<std::string> kUnavailableMessage = {std::string("Ritmova: ") + kUnavailable};

TEST(StartSysInfo, StartsTheRegisteredPathWithoutTestingThatItExists) {
    FakeHost host;
    host.registry.SetString(kHkeyLocalMachine, kToolPathKey, "PATH", "D:\\tools\\info.exe");
    host.registry.SetString(kHkeyLocalMachine, kToolFolderKey, "MSINFO", kFolder);
    StartSysInfo(host);
    EXPECT_EQ(host.started, std::vector<std::string>{"D:\\tools\\info.exe"});
    EXPECT_TRUE(host.existenceTests.empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST(StartSysInfo, StartsMsinfo32FromTheRegisteredFolderWhenItIsThere) {
    FakeHost host;
    host.registry.SetString(kHkeyLocalMachine, kToolFolderKey, "MSINFO", kFolder);
    host.existingFiles = {kToolInFolder};
    StartSysInfo(host);
    EXPECT_EQ(host.started, std::vector<std::string>{kToolInFolder});
    EXPECT_TRUE(host.messages.empty());
}

TEST(StartSysInfo, RegisteredFolderWithoutMsinfo32IsUnavailable) {
    FakeHost host;
    host.registry.SetString(kHkeyLocalMachine, kToolFolderKey, "MSINFO", kFolder);
    host.executables = {{"hardinfo", "/usr/bin/hardinfo"}};
    StartSysInfo(host);
    EXPECT_EQ(host.existenceTests, std::vector<std::string>{kToolInFolder});
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.messages, kUnavailableMessage);
}

TEST(StartSysInfo, WithoutRegistryValuesStartsTheFirstDesktopToolFound) {
    FakeHost host;
    host.executables = {{"gnome-system-monitor", "/usr/bin/gnome-system-monitor"},
                        {"kinfocenter", "/usr/local/bin/kinfocenter"}};
    StartSysInfo(host);
    EXPECT_EQ(host.started, std::vector<std::string>{"/usr/local/bin/kinfocenter"});
    EXPECT_TRUE(host.messages.empty());
}

TEST(StartSysInfo, WithoutRegistryValuesOrDesktopToolIsUnavailable) {
    FakeHost host;
    host.executables = {{"htop", "/usr/bin/htop"}};
    StartSysInfo(host);
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.messages, kUnavailableMessage);
}

TEST(StartSysInfo, ToolThatFailsToStartIsUnavailable) {
    FakeHost host;
    host.registry.SetString(kHkeyLocalMachine, kToolPathKey, "PATH", "D:\\gone.exe");
    host.startSucceeds = false;
    StartSysInfo(host);
    EXPECT_EQ(host.messages, kUnavailableMessage);
}

TEST(StartSysInfo, SystemErrorIsReportedAsUnavailable) {
    FakeHost host;
    host.registry.SetString(kHkeyLocalMachine, kToolFolderKey, "MSINFO", kFolder);
    host.failFileTest = true;
    StartSysInfo(host);
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.messages, kUnavailableMessage);
}

}  // namespace
}  // namespace ritmova
