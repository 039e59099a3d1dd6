// The registry values the About box reads (GetKeyValue), and System Info's search for its tool.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>

#include "about/registry.h"
#include "about/system_info.h"

namespace ritmova {
namespace {

// A registry held in memory, by key path and value name, under HKEY_LOCAL_MACHINE. It behaves
// as the system's does where GetKeyValue can tell: unknown keys and values fail, a value
// larger than the buffer fails. It records the access masks asked for and every close.
struct InMemoryRegistry final : Registry {
    bool OpenKey(RegistryRoot root, std::string_view path, std::uint32_t accessMask,
                 RegistryKey& key) override {
        accessMasks.push_back(accessMask);
        const bool known = root == kHkeyLocalMachine && std::ranges::any_of(values, [&](auto& v) {
                               return v.first.first == path;
                           });
        key = known ? ++lastKey : 0;
        if (known) openKeys[key] = path;
        return known;
    }
    bool QueryValue(RegistryKey key, std::string_view name, std::uint32_t& type,
                    std::span<char> buffer, std::uint32_t& size) override {
        const auto path = openKeys.find(key);
        if (path == openKeys.end()) return false;
        const auto value = values.find({path->second, std::string(name)});
        if (value == values.end() || value->second.second.size() > buffer.size()) return false;
        type = value->second.first;
        size = static_cast<std::uint32_t>(value->second.second.size());
        std::ranges::copy(value->second.second, buffer.begin());
        return true;
    }
    void CloseKey(RegistryKey key) override {
        ++closes;
        openKeys.erase(key);
    }

    std::map<std::pair<std::string, std::string>, std::pair<std::uint32_t, std::string>> values;
    std::vector<std::uint32_t> accessMasks;
    std::map<RegistryKey, std::string> openKeys;
    RegistryKey lastKey = 0;
    int closes = 0;
};

constexpr char Key[] = "SOFTWARE\\Ritmova\\Test";

// The registry holds `bytes` of `type` under Key's "Value"; GetKeyValue reads `key`'s `value`
// into a text that was "previous" (which a value of another type leaves).
struct ReadCase {
    const char* name;
    std::uint32_t type;
    std::string bytes, expected;
    bool read = true;
    const char* key = Key;
    const char* value = "Value";
};

// clang-format off
const ReadCase Reads[] = {
    {"StringWithTerminatingZero", 1, std::string("C:\\msinfo32.exe\0", 16), "C:\\msinfo32.exe"},
    {"StringWithoutTerminatingZero", 1, "C:\\msinfo32.exe", "C:\\msinfo32.exe"},
    {"StringEndingInTwoZeros", 1, std::string("ab\0\0", 4), std::string("ab\0", 3)},
    {"EmptyValue", 1, "", ""},
    {"StringFillingTheBuffer", 1, std::string(1024, 'x'), std::string(1024, 'x')},
    {"NumberWithZeroLowByte", 4, std::string("\0\1\0\0", 4), "256"},
    {"NumberAllBytesUsed", 4, "\x78\x56\x34\x12", "305419896"},
    {"LargestNumber", 4, "\xFF\xFF\xFF\xFF", "4294967295"},
    {"BinaryLeavesTextUnchanged", 3, "\1\2\3", "previous"},
    {"ExpandableStringLeavesTextUnchanged", 2, "%SystemRoot%", "previous"},
    {"MissingKey", 1, "a", "", false, "SOFTWARE\\Ritmova\\Other"},
    {"MissingValue", 1, "a", "", false, Key, "Other"},
    {"LargerThanTheBuffer", 1, std::string(1025, 'x'), "", false},
    {"NumberBeyond64Bits", 4, std::string("\1\0\0\0\0\0\0\0\1", 9), "", false}};
// clang-format on

TEST(GetKeyValue, GivesTheValueAsTextAndClosesTheKey) {
    for (const ReadCase& c : Reads) {
        SCOPED_TRACE(c.name);
        InMemoryRegistry registry;
        registry.values[{Key, "Value"}] = {c.type, c.bytes};
        std::string text = "previous";
        EXPECT_EQ(GetKeyValue(registry, kHkeyLocalMachine, c.key, c.value, text), c.read);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(registry.accessMasks, std::vector<std::uint32_t>{0x2003F});
        EXPECT_EQ(registry.closes, 1);
        EXPECT_TRUE(registry.openKeys.empty());
    }
}

using Strings = std::vector<std::string>;
const std::string PathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";     // value PATH
const std::string FolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";  // value MSINFO
const std::string Folder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::string ToolInFolder = Folder + "\\MSINFO32.EXE";
const std::string Unavailable =
    "Ritmova: Le informazioni sul sistema non sono attualmente disponibili.";

// A system: the registry's values (empty for none), the tools on the search path, and what
// StartSysInfo asks of it, in order ("exists FILE", "start PROGRAM", "CAPTION: MESSAGE").
struct SysInfoCase {
    const char* name;
    std::string registeredPath, registeredFolder;
    std::map<std::string, std::string> executables;
    Strings asked;
    std::string existingFile = ToolInFolder;
    bool fileTestFails = false, startFails = false;
};

// clang-format off
const SysInfoCase Cases[] = {
    // The registered path is started as it is, without a test that it exists.
    {"RegisteredPath", "D:\\info.exe", Folder, {}, {"start D:\\info.exe"}},
    {"RegisteredFolder", "", Folder, {}, {"exists " + ToolInFolder, "start " + ToolInFolder}},
    {"RegisteredFolderWithoutTool", "", Folder, {{"hardinfo", "/usr/bin/hardinfo"}},
     {"exists " + ToolInFolder, Unavailable}, "none"},
    // Without registry values: the first tool of the desktop list that is found.
    {"DesktopTool", "", "", {{"gnome-system-monitor", "/g/gnome-system-monitor"},
                             {"kinfocenter", "/k/kinfocenter"}}, {"start /k/kinfocenter"}},
    {"NoDesktopTool", "", "", {{"htop", "/usr/bin/htop"}}, {Unavailable}},
    {"ToolFailsToStart", "D:\\gone.exe", "", {}, {"start D:\\gone.exe", Unavailable},
     ToolInFolder, false, true},
    {"SystemError", "", Folder, {}, {"exists " + ToolInFolder, Unavailable}, ToolInFolder, true}};
// clang-format on

struct FakeHost final : SysInfoHost {
    explicit FakeHost(const SysInfoCase& given) : system(given) {
        for (const auto& [key, name, value] :
             {std::tuple(PathKey, "PATH", system.registeredPath),
              std::tuple(FolderKey, "MSINFO", system.registeredFolder)})
            if (!value.empty()) registry.values[{key, name}] = {kRegistryString, value + '\0'};
    }
    Registry& SystemRegistry() override { return registry; }
    bool FileExists(const std::string& path) override {
        asked.push_back("exists " + path);
        if (system.fileTestFails) throw std::runtime_error("device not ready");
        return path == system.existingFile;
    }
    std::optional<std::string> FindExecutable(std::string_view name) override {
        const auto found = system.executables.find(std::string(name));
        return found == system.executables.end() ? std::nullopt : std::optional(found->second);
    }
    bool StartDetached(const std::string& path) override {
        asked.push_back("start " + path);
        return !system.startFails;
    }
    void ShowMessage(std::string_view text, std::string_view caption) override {
        asked.push_back(std::string(caption) + ": " + std::string(text));
    }

    const SysInfoCase& system;
    InMemoryRegistry registry;
    Strings asked;
};

TEST(StartSysInfo, StartsTheToolFoundOrSaysItIsUnavailable) {
    for (const SysInfoCase& c : Cases) {
        SCOPED_TRACE(c.name);
        FakeHost host(c);
        StartSysInfo(host);
        EXPECT_EQ(host.asked, c.asked);
        EXPECT_TRUE(host.registry.openKeys.empty());
    }
}

}  // namespace
}  // namespace ritmova
