#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace ritmova {

// A predefined registry root, as the 32-bit handle value the operating system gives it.
using RegistryRoot = std::uint32_t;
// An open registry key; 0 when no key is open.
using RegistryKey = std::uintptr_t;

inline constexpr RegistryRoot kHkeyLocalMachine = 0x80000002;
// The access mask GetKeyValue opens its keys with.
inline constexpr std::uint32_t kKeyAccessMask = 0x2003F;
inline constexpr std::uint32_t kRegistryString = 1;
inline constexpr std::uint32_t kRegistryNumber32 = 4;
// GetKeyValue reads at most this many bytes of a value.
inline constexpr std::size_t kValueBufferSize = 1024;

// The three registry calls GetKeyValue needs, after RegOpenKeyEx, RegQueryValueEx and
// RegCloseKey.
class Registry {
  public:
    virtual ~Registry() = default;
    // Opens `keyPath` under `root`; false when the key cannot be opened.
    virtual bool OpenKey(RegistryRoot root, std::string_view keyPath, std::uint32_t accessMask,
                         RegistryKey& key) = 0;
    // Copies the named value into `buffer` and reports its type and the number of bytes
    // written; false when the value is missing or larger than the buffer.
    virtual bool QueryValue(RegistryKey key, std::string_view valueName, std::uint32_t& type,
                            std::span<char> buffer, std::uint32_t& size) = 0;
    // Also called with a key that failed to open.
    virtual void CloseKey(RegistryKey key) = 0;
};

// The operating system's registry; where there is none, a registry without any key.
std::unique_ptr<Registry> OpenSystemRegistry();

// Reads one value as text: a string as it stands without its terminating zero, a 32-bit
// number as its decimal text; a value of another type is read but leaves `keyValue` as it
// was. False, with `keyValue` emptied, when the key or the value cannot be read.
bool GetKeyValue(Registry& registry, RegistryRoot root, std::string_view keyPath,
                 std::string_view valueName, std::string& keyValue);

}  // namespace ritmova
