#include "about/system_info.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "in_memory_registry.h"

namespace ritmova {
namespace {

using Strings = std::vector<std::string>;
const std::string Folder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::string ToolInFolder = Folder + "\\MSINFO32.EXE";

// A system as StartSysInfo sees it, recording what it is asked.
struct FakeHost final : SysInfoHost {
    Registry& SystemRegistry() override { return registry; }
    bool FileExists(const std::string& path) override {
        existenceTests.push_back(path);
        if (failFileTest) throw std::runtime_error("device not ready");
        return existingFiles.contains(path);
    }
    std::optional<std::string> FindExecutable(std::string_view name) override {
        const auto found = executables.find(std::string(name));
        return found == executables.end() ? std::nullopt : std::optional(found->second);
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
    bool startSucceeds = true, failFileTest = false;
    Strings existenceTests, started, messages;
};

struct SysInfoCase {
    const char* name;
    const char* registeredPath = nullptr;  // the MSINFO key's PATH
    bool folderRegistered = false;         // the Shared Tools Location key's MSINFO
    bool toolInFolder = false, fileTestFails = false, startFails = false;
    std::map<std::string, std::string> executables{};
    Strings existenceTests{}, started{};
    bool unavailable = false;
};

// clang-format off
const SysInfoCase Cases[] = {
    // The registered path is started as it is, without a test that it exists.
    {.name = "RegisteredPath", .registeredPath = "D:\\info.exe", .folderRegistered = true,
     .started = {"D:\\info.exe"}},
    {.name = "RegisteredFolder", .folderRegistered = true, .toolInFolder = true,
     .existenceTests = {ToolInFolder}, .started = {ToolInFolder}},
    {.name = "RegisteredFolderWithoutTool", .folderRegistered = true,
     .executables = {{"hardinfo", "/usr/bin/hardinfo"}}, .existenceTests = {ToolInFolder},
     .unavailable = true},
    // Without registry values: the first tool of the desktop list that is found.
    {.name = "DesktopTool",
     .executables = {{"gnome-system-monitor", "/g/gnome-system-monitor"},
                     {"kinfocenter", "/k/kinfocenter"}},
     .started = {"/k/kinfocenter"}},
    {.name = "NoDesktopTool", .executables = {{"htop", "/usr/bin/htop"}}, .unavailable = true},
    {.name = "ToolFailsToStart", .registeredPath = "D:\\gone.exe", .startFails = true,
     .started = {"D:\\gone.exe"}, .unavailable = true},
    {.name = "SystemError", .folderRegistered = true, .toolInFolder = true, .fileTestFails = true,
     .existenceTests = {ToolInFolder}, .unavailable = true}};
// clang-format on

TEST(StartSysInfo, StartsTheToolFoundOrSaysItIsUnavailable) {
    for (const SysInfoCase& c : Cases) {
        SCOPED_TRACE(c.name);
        FakeHost host;
        const auto root = kHkeyLocalMachine;
        if (c.registeredPath)
            host.registry.SetString(root, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                                    c.registeredPath);
        if (c.folderRegistered)
            host.registry.SetString(root, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                                    Folder);
        if (c.toolInFolder) host.existingFiles = {ToolInFolder};
        host.startSucceeds = !c.startFails;
        host.failFileTest = c.fileTestFails;
        host.executables = c.executables;
        StartSysInfo(host);
        EXPECT_EQ(host.started, c.started);
        EXPECT_EQ(host.existenceTests, c.existenceTests);
        EXPECT_EQ(host.messages, c.unavailable
                                     ? Strings{"Ritmova: Le informazioni sul sistema non sono "
                                               "attualmente disponibili."}
                                     : Strings{});
        EXPECT_TRUE(host.registry.AllKeysClosed());
    }
}

}  // namespace
}  // namespace ritmova
