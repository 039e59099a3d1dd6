// The WFDB header and signal readers: the bytes before the first NUL are a header, the bytes
// after it the signal file. Either fails with a reason or reads at most the samples the header
// declares, every one a finite single-precision value, in bounded memory.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/command_failure.h"
#include "ecg/signal_reader.h"
#include "ecg/wfdb_header.h"
#include "ecg/wfdb_signal.h"
#include "memory_file.h"

using namespace ritmova;

namespace {

void ReadSignal(const ecg::RecordHeader& header, const std::string& dataPath) {
    ecg::SignalReader reader = ecg::OpenWfdbSignalFile(dataPath, header, 0, "fuzz");
    std::vector<float> block(1000);
    std::int64_t total = 0;
    while (std::size_t count = reader.read(block)) {
        for (std::size_t i = 0; i < count; ++i)
            if (!std::isfinite(block[i])) fuzz::Finding("a value that is not finite");
        total += static_cast<std::int64_t>(count);
    }
    if (header.sampleCount > 0 && total != header.sampleCount)
        fuzz::Finding("read " + std::to_string(total) + " samples of " +
                      std::to_string(header.sampleCount));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::MemoryFile file;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t split = std::min(bytes.find('\0'), bytes.size());
    try {
        const ecg::RecordHeader header = ecg::ParseHeader(bytes.substr(0, split));
        if (header.signals.size() > ecg::MaxSignals) fuzz::Finding("too many signals");
        if (!(header.frequencyHz > 0)) fuzz::Finding("a frequency that is not positive");
        if (header.signals.empty()) return 0;
        file.hold(bytes.substr(std::min(split + 1, bytes.size())));
        ReadSignal(header, file.path());
    } catch (const CommandFailure&) {
        // A reason is a good end.
    }
    return 0;
}
