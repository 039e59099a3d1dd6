// The 256-value reader: the same bytes read from memory and from a file give the same values,
// bit for bit, or fail with the same reason.

#include <cstdint>
#include <cstring>
#include <string>
#include <variant>

#include "analysis/interval_file.h"
#include "common/command_failure.h"
#include "memory_file.h"

namespace {

using Outcome = std::variant<ritmova::IntervalValues, std::string>;

template <typename Read>
Outcome outcomeOf(Read read) {
    try {
        return read();
    } catch (const ritmova::CommandFailure& failure) {
        return std::string(failure.what());
    }
}

std::string describe(const Outcome& outcome) {
    if (const auto* reason = std::get_if<std::string>(&outcome)) return "failure '" + *reason + "'";
    return "256 values";
}

bool sameBits(const Outcome& a, const Outcome& b) {
    if (a.index() != b.index()) return false;
    if (a.index() == 1) return std::get<1>(a) == std::get<1>(b);
    return std::memcmp(std::get<0>(a).data(), std::get<0>(b).data(), sizeof(std::get<0>(a))) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ritmova::fuzz::MemoryFile file;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    file.hold(bytes);
    const Outcome fromMemory = outcomeOf([&] { return ritmova::ParseIntervals(bytes); });
    const Outcome fromFile = outcomeOf([&] { return ritmova::ReadIntervalFile(file.path()); });
    if (!sameBits(fromMemory, fromFile)) {
        ritmova::fuzz::Finding("memory reader: " + describe(fromMemory) +
                               "; file reader: " + describe(fromFile));
    }
    return 0;
}
