#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "about/registry.h"

namespace ritmova {

inline constexpr std::string_view kApplicationTitle = "Ritmova";
inline constexpr std::string_view kSysInfoUnavailable =
    "Le informazioni sul sistema non sono attualmente disponibili.";

// What StartSysInfo needs from the operating system. Any of these may throw; StartSysInfo
// then reports the tool as unavailable.
class SysInfoHost {
  public:
    virtual ~SysInfoHost() = default;
    virtual Registry& SystemRegistry() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // The full path of a program found on the search path, or nothing.
    virtual std::optional<std::string> FindExecutable(std::string_view name) = 0;
    // Starts the program in a normal window and returns without waiting; false on failure.
    virtual bool StartDetached(const std::string& path) = 0;
    // A message box with an OK button only and no icon.
    virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
};

// Finds the system information tool and starts it, or tells the user it is unavailable.
// The tool is the one the registry names (its path, or else its folder when MSINFO32.EXE is
// there); without either registry value, the first tool of a list of Linux desktop tools
// found on the search path.
void StartSysInfo(SysInfoHost& host);

}  // namespace ritmova
