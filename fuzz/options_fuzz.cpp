// Both programs' option parsing: the input's bytes, split at NUL bytes, are the arguments after
// the program's name. Never an exception, an exit status of 0, 1 or 2, messages in UTF-8.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "memory_file.h"
#include "target_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start <= bytes.size();) {
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        arguments.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    if (bytes.empty()) arguments.clear();
    if (const auto fault = ritmova::fuzz::OptionsFault(arguments)) ritmova::fuzz::Finding(*fault);
    return 0;
}
