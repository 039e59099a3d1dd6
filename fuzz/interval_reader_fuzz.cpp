// The 256-value reader: the same bytes read from memory and from a file give the same values,
// bit for bit, or fail with the same reason.

#include <cstdint>

#include "memory_file.h"
#include "target_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ritmova::fuzz::MemoryFile file;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    file.hold(bytes);
    if (const auto fault = ritmova::fuzz::ReaderDisagreement(bytes, file.path())) {
        ritmova::fuzz::Finding(*fault);
    }
    return 0;
}
