// The EDF reader: any file fails with a reason, or gives each signal's declared number of
// finite single-precision values and the annotations of its TALs, in bounded memory.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/command_failure.h"
#include "ecg/edf_file.h"
#include "memory_file.h"

using namespace ritmova;

namespace {

void ReadChannel(const std::string& path, const ecg::EdfHeader& header, std::size_t index) {
    ecg::SignalReader reader = ecg::OpenEdfSignal(path, std::to_string(index + 1));
    std::vector<float> block(777);
    std::int64_t total = 0;
    while (std::size_t count = reader.read(block)) {
        for (std::size_t i = 0; i < count; ++i)
            if (!std::isfinite(block[i])) fuzz::Finding("a value that is not finite");
        total += static_cast<std::int64_t>(count);
    }
    if (total != header.recordCount * header.signals[index].samplesPerRecord)
        fuzz::Finding("a channel read short or long");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::MemoryFile file;
    file.hold(std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        const ecg::EdfHeader header = ecg::ReadEdfHeader(file.path());
        for (std::size_t i = 0; i < header.signals.size() && i < 4; ++i) {
            try {
                if (!header.signals[i].isAnnotations()) ReadChannel(file.path(), header, i);
            } catch (const CommandFailure&) {
                // One channel's reason leaves the others to read.
            }
        }
        ecg::ReadEdfAnnotations(file.path());
    } catch (const CommandFailure&) {
        // A reason is a good end.
    }
    return 0;
}
