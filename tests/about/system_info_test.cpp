// The registry values the About box reads (GetKeyValue), and System Info's search for its tool.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>

#include "about/registry.h"
#include "about/system_info.h"

namespace ritmova {
namespace {

// A registry held in memory, with keys under HKEY_LOCAL_MACHINE. It behaves as the system's
// does where GetKeyValue can tell: unknown keys and values fail, a value larger than the
// buffer fails, and it records the access masks asked for and every key handle closed.
class InMemoryRegistry final : public Registry {
  public:
    struct Value {
        std::uint32_t type;
        std::vector<char> bytes;
    };

    void SetValue(const std::string& keyPath, const std::string& name, Value value) {
        keys_[keyPath][name] = std::move(value);
    }
    // A string value with its terminating zero.
    void SetString(const std::string& keyPath, const std::string& name, const std::string& text) {
        SetValue(keyPath, name, {kRegistryString, {text.c_str(), text.c_str() + text.size() + 1}});
    }

    bool OpenKey(RegistryRoot root, std::string_view keyPath, std::uint32_t accessMask,
                 RegistryKey& key) override {
        accessMasks.push_back(accessMask);
        const auto found = keys_.find(std::string(keyPath));
        key = 0;
        if (root != kHkeyLocalMachine || found == keys_.end()) return false;
        key = nextHandle_++;
        open_[key] = &found->second;
        return true;
    }

    bool QueryValue(RegistryKey key, std::string_view valueName, std::uint32_t& type,
                    std::span<char> buffer, std::uint32_t& size) override {
        const auto openKey = open_.find(key);
        if (openKey == open_.end()) return false;
        const auto value = openKey->second->find(std::string(valueName));
        if (value == openKey->second->end()) return false;
        if (value->second.bytes.size() > buffer.size()) return false;
        std::copy(value->second.bytes.begin(), value->second.bytes.end(), buffer.begin());
        type = value->second.type;
        size = static_cast<std::uint32_t>(value->second.bytes.size());
        return true;
    }

    void CloseKey(RegistryKey key) override {
        closed.push_back(key);
        open_.erase(key);
    }

    bool AllKeysClosed() const { return open_.empty(); }

    std::vector<std::uint32_t> accessMasks;
    std::vector<RegistryKey> closed;

  private:
    using Values = std::map<std::string, Value>;
    std::map<std::string, Values> keys_;
    std::map<RegistryKey, Values*> open_;
    RegistryKey nextHandle_ = 1;
};

constexpr char Key[] = "SOFTWARE\\Ritmova\\Test";
const std::string FullBuffer(1024, 'x');

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
    {"StringFillingTheBuffer", 1, FullBuffer, FullBuffer},
    {"NumberOne", 4, std::string("\1\0\0\0", 4), "1"},
    {"NumberWithZeroLowByte", 4, std::string("\0\1\0\0", 4), "256"},
    {"NumberAllBytesUsed", 4, "\x78\x56\x34\x12", "305419896"},
    {"LargestNumber", 4, "\xFF\xFF\xFF\xFF", "4294967295"},
    {"NumberZero", 4, std::string(4, '\0'), "0"},
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
        registry.SetValue(Key, "Value", {c.type, {c.bytes.begin(), c.bytes.end()}});
        std::string text = "previous";
        EXPECT_EQ(GetKeyValue(registry, kHkeyLocalMachine, c.key, c.value, text), c.read);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(registry.accessMasks, std::vector<std::uint32_t>{0x2003F});
        EXPECT_EQ(registry.closed.size(), 1u);
        EXPECT_TRUE(registry.AllKeysClosed());
    }
}

using Strings = std::vector<std::string>;
const std::string Folder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::string ToolInFolder = Folder + "\\MSINFO32.EXE";

// A system as StartSysInfo sees it, recording what it is asked.
struct FakeHost final : SysInfoHost {
    Registry& SystemRegistry() override { return registry; }
    bool FileExists(const std::string& path) override {
        existenceTests.push_back(path);
        if (failFileTest) throw std::runtime_error("device not ready");
        return path == existingFile;
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

    InMemoryRegistry registry;
    std::string existingFile;
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
        if (c.registeredPath)
            host.registry.SetString("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                                    c.registeredPath);
        if (c.folderRegistered)
            host.registry.SetString("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", Folder);
        if (c.toolInFolder) host.existingFile = ToolInFolder;
        host.startSucceeds = !c.startFails;
        host.failFileTest = c.fileTestFails;
        host.executables = c.executables;
        StartSysInfo(host);
        EXPECT_EQ(host.started, c.started);
        EXPECT_EQ(host.existenceTests, c.existenceTests);
        const Strings unavailable{
            "Ritmova: Le informazioni sul sistema non sono attualmente disponibili."};
        EXPECT_EQ(host.messages, c.unavailable ? unavailable : Strings{});
        EXPECT_TRUE(host.registry.AllKeysClosed());
    }
}

}  // namespace
}  // namespace ritmova
