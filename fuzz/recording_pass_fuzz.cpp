// The whole pass and the Markov analysis on every input, with and without the texts, then
// the JSON and CSV writers: the two runs give the same output, and the output is well formed;
// the summary and report texts keep their lines. Bytes before a NUL name the file (through a
// link to it), so that names of any bytes reach the texts; the rest is the file's content.

#include <cstdint>

#include "memory_file.h"
#include "target_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ritmova::fuzz::MemoryFile file;
    static ritmova::fuzz::NamedLink link(file.path());
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string_view name;
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        name = bytes.substr(0, nul);
        bytes.remove_prefix(nul + 1);
    }
    file.hold(bytes);
    if (const auto fault = ritmova::fuzz::PassFault(link.name(name))) {
        ritmova::fuzz::Finding(*fault);
    }
    return 0;
}
