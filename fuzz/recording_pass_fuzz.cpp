// The whole pass and the Markov analysis on every input, with and without the texts, then
// the JSON and CSV writers: the two runs give the same output, and the output is well formed.

#include <cstdint>

#include "memory_file.h"
#include "target_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ritmova::fuzz::MemoryFile file;
    file.hold(std::string_view(reinterpret_cast<const char*>(data), size));
    if (const auto fault = ritmova::fuzz::PassFault(file.path())) ritmova::fuzz::Finding(*fault);
    return 0;
}
