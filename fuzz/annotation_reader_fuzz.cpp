// The WFDB annotation reader and writer: any bytes either fail with a reason or read into
// annotations that the writer writes and the reader reads back the same.

#include <cstdint>
#include <string>

#include "common/command_failure.h"
#include "ecg/annotation_file.h"
#include "memory_file.h"

using namespace ritmova;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ecg::AnnotationFile read;
    try {
        read = ecg::ParseAnnotations(bytes);
    } catch (const CommandFailure&) {
        return 0;
    }
    try {
        const ecg::AnnotationFile again = ecg::ParseAnnotations(ecg::AnnotationBytes(read));
        if (again.annotations != read.annotations) fuzz::Finding("the round trip changed them");
        if (again.timeResolutionHz != read.timeResolutionHz)
            fuzz::Finding("the round trip changed the time resolution");
    } catch (const CommandFailure& failure) {
        fuzz::Finding(std::string("annotations read could not be written back: ") + failure.what());
    }
    return 0;
}
