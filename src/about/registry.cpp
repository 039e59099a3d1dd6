#include "about/registry.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace ritmova {

namespace {

// The value's bytes up to the size read, without a string's terminating zero.
std::string CutToSize(const std::vector<char>& buffer, std::uint32_t size) {
    std::size_t length = std::min<std::size_t>(size, buffer.size());
    if (length > 0 && buffer[length - 1] == '\0') --length;
    return std::string(buffer.data(), length);
}

// A number value's bytes, taken from the last to the first, read as one hexadecimal number
// (two digits a byte); false when it does not fit in 64 bits.
bool NumberText(std::string_view bytes, std::string& text) {
    constexpr std::uint64_t kLargestBeforeShift = std::numeric_limits<std::uint64_t>::max() >> 8;
    std::uint64_t number = 0;
    for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte) {
        if (number > kLargestBeforeShift) return false;
        number = (number << 8) | static_cast<unsigned char>(*byte);
    }
    text = std::to_string(number);
    return true;
}

bool ReadValue(Registry& registry, RegistryKey key, std::string_view valueName,
               std::string& keyValue) {
    std::vector<char> buffer(kValueBufferSize, '\0');
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (!registry.QueryValue(key, valueName, type, buffer, size)) return false;
    const std::string value = CutToSize(buffer, size);
    switch (type) {
        case kRegistryString:
            keyValue = value;
            return true;
        case kRegistryNumber32:
            return NumberText(value, keyValue);
        default:
            return true;
    }
}

}  // namespace

bool GetKeyValue(Registry& registry, RegistryRoot root, std::string_view keyPath,
                 std::string_view valueName, std::string& keyValue) {
    RegistryKey key = 0;
    const bool read = registry.OpenKey(root, keyPath, kKeyAccessMask, key) &&
                      ReadValue(registry, key, valueName, keyValue);
    if (!read) keyValue.clear();
    registry.CloseKey(key);
    return read;
}

}  // namespace ritmova
