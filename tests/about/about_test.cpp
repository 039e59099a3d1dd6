// The About box: one at a time, unloaded by its keys, its texts and places; the registry
// values it reads (GetKeyValue), and System Info's search for its tool.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>

#include "about/about_box.h"
#include "about/about_dialog.h"
#include "about/registry.h"
#include "about/system_info.h"

namespace ritmova {
namespace {

// The box that About shows, when exactly one is loaded.
AboutDialog* ShowOne() {
    ShowAboutBox(nullptr);
    std::vector<AboutDialog*> boxes;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<AboutDialog*>(window)) boxes.push_back(box);
    return boxes.size() == 1 ? boxes.front() : nullptr;
}

// A second About shows the loaded box as it stands (a load would centre it again). Escape,
// Return and Enter on OK, which has the focus, unload it; the next About loads it afresh,
// centred as far as the window frame, unknown at load, lets it be.
TEST(AboutBox, OneBoxAtATimeUnloadedByItsKeys) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(key);
        QPointer<AboutDialog> box = ShowOne();
        ASSERT_FALSE(box.isNull());
        const QPoint offCentre = box->geometry().center() - box->screen()->geometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 8);
        box->move(5, 7);
        EXPECT_EQ(ShowOne(), box);
        EXPECT_TRUE(box->isVisible() && box->pos() == QPoint(5, 7));
        ASSERT_EQ(box->focusWidget(), box->findChild<QWidget*>("cmdOK"));
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(box->focusWidget(), &press);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(box.isNull());
    }
}

TEST(AboutBox, TextsAndPlacesAt96Dpi) {
    const std::unique_ptr<AboutDialog> box(ShowOne());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "About Ritmova");
    EXPECT_TRUE(box->findChild<QPushButton*>("cmdOK")->isDefault());
    if (box->logicalDpiX() != 96 || box->logicalDpiY() != 96) GTEST_SKIP() << "not at 96 dpi";
    // clang-format off
    const std::tuple<const char*, QRect, const char*> controls[] = {
        {"Image1", {8, 16, 48, 48}, nullptr},
        {"lblTitle", {72, 16, 259, 32}, "Heart Rate Variability Analysis"},
        {"lblVersion", {72, 52, 259, 15}, "Ritmova"},
        {"lblDescription", {72, 80, 259, 78},
         "Spectral Analysis of Heart Rate Variability.\nBy the Ritmova project."},
        {"lblDisclaimer", {17, 175, 258, 55}, ""}, {"cmdOK", {288, 176, 84, 23}, "OK"},
        {"cmdSysInfo", {288, 205, 83, 23}, "&System Info..."}};
    // clang-format on
    for (const auto& [name, pixels, text] : controls) {
        const auto* control = box->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_TRUE(!text || control->property("text").toString() == text) << name;
        EXPECT_EQ(control->geometry(), pixels) << name;
    }
    EXPECT_EQ(box->size(), QSize(382, 237));
    // The etched separator: a grey line over a white one, one pixel lower and to the right.
    const QImage image = box->grab().toImage();
    const QColor grey(128, 128, 128), white(Qt::white);
    EXPECT_EQ(QList({image.pixelColor(6, 163), image.pixelColor(377, 163), image.pixelColor(7, 164),
                     image.pixelColor(377, 165)}),
              QList({grey, grey, white, white}));
    EXPECT_TRUE(image.pixelColor(378, 163) != grey && image.pixelColor(6, 164) != white &&
                image.pixelColor(100, 166) != white);
}

using Strings = std::vector<std::string>;
using Values = std::map<std::string, std::pair<std::uint32_t, std::string>>;  // by name

const std::string Folder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::string ToolInFolder = Folder + "\\MSINFO32.EXE";
const std::string Unavailable =
    "Ritmova: Le informazioni sul sistema non sono attualmente disponibili.";

// The registry's tool path and folder (empty for none), the tools on the search path, and what
// StartSysInfo asks of the system.
struct SysInfoCase {
    const char* name;
    std::string registeredPath, registeredFolder;
    std::map<std::string, std::string> tools;
    Strings asked;
    std::string existingFile = ToolInFolder;
    bool fileTestFails = false, startFails = false;
};

// A system held in memory. Its registry, values by name in keys under HKEY_LOCAL_MACHINE,
// fails where the system's would for GetKeyValue: unknown keys and values, a value larger than
// the buffer; it counts every close. All else asked of it is
// recorded in order ("exists FILE", "start PROGRAM", "CAPTION: MESSAGE").
struct FakeSystem final : Registry, SysInfoHost {
    explicit FakeSystem(SysInfoCase given = {}) : setup(std::move(given)) {
        for (const auto& [key, name, value] :
             {std::tuple("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", setup.registeredPath),
              std::tuple("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                         setup.registeredFolder)})
            if (!value.empty()) keys[key][name] = {kRegistryString, value + '\0'};
    }
    bool OpenKey(RegistryRoot root, std::string_view path, std::uint32_t accessMask,
                 RegistryKey& key) override {
        EXPECT_EQ(accessMask, 0x2003Fu);
        const auto found = keys.find(std::string(path));
        key = root == kHkeyLocalMachine && found != keys.end() ? ++lastKey : 0;
        if (key) openKeys[key] = &found->second;
        return key != 0;
    }
    bool QueryValue(RegistryKey key, std::string_view name, std::uint32_t& type,
                    std::span<char> buffer, std::uint32_t& size) override {
        if (!openKeys.contains(key) || !openKeys[key]->contains(std::string(name))) return false;
        const auto& [valueType, bytes] = openKeys[key]->at(std::string(name));
        if (bytes.size() > buffer.size()) return false;
        type = valueType;
        size = static_cast<std::uint32_t>(bytes.size());
        std::ranges::copy(bytes, buffer.begin());
        return true;
    }
    void CloseKey(RegistryKey key) override {
        ++closes;
        openKeys.erase(key);
    }
    Registry& SystemRegistry() override { return *this; }
    bool FileExists(const std::string& path) override {
        asked.push_back("exists " + path);
        if (setup.fileTestFails) throw std::runtime_error("device not ready");
        return path == setup.existingFile;
    }
    std::optional<std::string> FindExecutable(std::string_view name) override {
        const auto found = setup.tools.find(std::string(name));
        return found == setup.tools.end() ? std::nullopt : std::optional(found->second);
    }
    bool StartDetached(const std::string& path) override {
        asked.push_back("start " + path);
        return !setup.startFails;
    }
    void ShowMessage(std::string_view text, std::string_view caption) override {
        asked.push_back(std::string(caption) + ": " + std::string(text));
    }

    const SysInfoCase setup;
    std::map<std::string, Values> keys;
    std::map<RegistryKey, const Values*> openKeys;
    RegistryKey lastKey = 0;
    int closes = 0;
    Strings asked;
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
    {"StringEndingInTwoZeros", 1, std::string("ab\0\0", 4), std::string("ab\0", 3)},
    {"EmptyValue", 1, "", ""},
    {"StringFillingTheBuffer", 1, std::string(1024, 'x'), std::string(1024, 'x')},
    {"NumberWithZeroLowByte", 4, std::string("\0\1\0\0", 4), "256"},
    {"NumberAllBytesUsed", 4, "\x78\x56\x34\x12", "305419896"},
    {"LargestNumber", 4, "\xFF\xFF\xFF\xFF", "4294967295"},
    {"OtherTypeLeavesTextUnchanged", 3, "\1\2\3", "previous"},
    {"MissingKey", 1, "a", "", false, "SOFTWARE\\Ritmova\\Other"},
    {"MissingValue", 1, "a", "", false, Key, "Other"},
    {"LargerThanTheBuffer", 1, std::string(1025, 'x'), "", false},
    {"NumberBeyond64Bits", 4, std::string("\1\0\0\0\0\0\0\0\1", 9), "", false}};
// clang-format on

TEST(GetKeyValue, GivesTheValueAsTextAndClosesTheKey) {
    for (const ReadCase& c : Reads) {
        SCOPED_TRACE(c.name);
        FakeSystem registry;
        registry.keys[Key]["Value"] = {c.type, c.bytes};
        std::string text = "previous";
        EXPECT_EQ(GetKeyValue(registry, kHkeyLocalMachine, c.key, c.value, text), c.read);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(registry.closes, 1);
        EXPECT_TRUE(registry.openKeys.empty());
    }
}

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

TEST(StartSysInfo, StartsTheToolFoundOrSaysItIsUnavailable) {
    for (const SysInfoCase& c : Cases) {
        SCOPED_TRACE(c.name);
        FakeSystem system(c);
        StartSysInfo(system);
        EXPECT_EQ(system.asked, c.asked);
        EXPECT_TRUE(system.openKeys.empty());
    }
}

}  // namespace
}  // namespace ritmova
