#include "about/registry.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace ritmova {

namespace {

#ifdef _WIN32

class WindowsRegistry final : public Registry {
  public:
    bool OpenKey(RegistryRoot root, std::string_view keyPath, std::uint32_t accessMask,
                 RegistryKey& key) override {
        // The predefined roots are 32-bit values sign-extended to a handle.
        const auto rootKey =
            reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
        HKEY opened = nullptr;
        const std::string path(keyPath);
        const bool ok =
            RegOpenKeyExA(rootKey, path.c_str(), 0, accessMask, &opened) == ERROR_SUCCESS;
        key = reinterpret_cast<RegistryKey>(opened);
        return ok;
    }

    bool QueryValue(RegistryKey key, std::string_view valueName, std::uint32_t& type,
                    std::span<char> buffer, std::uint32_t& size) override {
        const std::string name(valueName);
        DWORD valueType = 0;
        auto byteCount = static_cast<DWORD>(buffer.size());
        const bool ok =
            RegQueryValueExA(reinterpret_cast<HKEY>(key), name.c_str(), nullptr, &valueType,
                             reinterpret_cast<BYTE*>(buffer.data()), &byteCount) == ERROR_SUCCESS;
        type = valueType;
        size = byteCount;
        return ok;
    }

    void CloseKey(RegistryKey key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

using SystemRegistry = WindowsRegistry;

#else

// No registry on this system: no key opens.
class AbsentRegistry final : public Registry {
  public:
    bool OpenKey(RegistryRoot, std::string_view, std::uint32_t, RegistryKey& key) override {
        key = 0;
        return false;
    }

    bool QueryValue(RegistryKey, std::string_view, std::uint32_t&, std::span<char>,
                    std::uint32_t&) override {
        return false;
    }

    void CloseKey(RegistryKey) override {}
};

using SystemRegistry = AbsentRegistry;

#endif

}  // namespace

std::unique_ptr<Registry> OpenSystemRegistry() {
    return std::make_unique<SystemRegistry>();
}

}  // namespace ritmova
