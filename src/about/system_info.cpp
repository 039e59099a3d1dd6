#include "about/system_info.h"

#include <array>

namespace ritmova {

namespace {

constexpr std::string_view kToolPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view kToolPathValue = "PATH";
constexpr std::string_view kToolFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr std::string_view kToolFolderValue = "MSINFO";
constexpr std::string_view kToolFileInFolder = "\\MSINFO32.EXE";

// System information tools of the Linux desktops, the most detailed first.
constexpr std::array<std::string_view, 5> kDesktopTools = {
    "hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor", "mate-system-monitor"};

std::optional<std::string> FindDesktopTool(SysInfoHost& host) {
    for (std::string_view name : kDesktopTools) {
        if (auto path = host.FindExecutable(name)) return path;
    }
    return std::nullopt;
}

std::optional<std::string> FindTool(SysInfoHost& host) {
    std::string path;
    if (GetKeyValue(host.SystemRegistry(), kHkeyLocalMachine, kToolPathKey, kToolPathValue, path)) {
        return path;
    }
    if (GetKeyValue(host.SystemRegistry(), kHkeyLocalMachine, kToolFolderKey, kToolFolderValue,
                    path)) {
        path += kToolFileInFolder;
        if (host.FileExists(path)) return path;
        return std::nullopt;
    }
    return FindDesktopTool(host);
}

}  // namespace

void StartSysInfo(SysInfoHost& host) {
    try {
        const std::optional<std::string> tool = FindTool(host);
        if (tool && host.StartDetached(*tool)) return;
    } catch (...) {
        // Whatever went wrong, the user hears only that the tool is unavailable.
    }
    host.ShowMessage(kSysInfoUnavailable, kApplicationTitle);
}

}  // namespace ritmova
