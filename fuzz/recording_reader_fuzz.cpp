// The whole-recording reader: the same bytes read from memory and from a file give the same
// intervals and units, bit for bit, or fail with the same reason, under several read options.

#include <cstdint>

#include "memory_file.h"
#include "target_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ritmova::fuzz::MemoryFile file;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    file.hold(bytes);
    if (const auto fault = ritmova::fuzz::RecordingReaderDisagreement(bytes, file.path())) {
        ritmova::fuzz::Finding(*fault);
    }
    return 0;
}
