#include "analysis/interval_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <span>

#include "analysis/recording.h"
#include "analysis/value_text.h"
#include "common/command_failure.h"

namespace ritmova {
namespace {

using value_text::Source;

// The 256 values must lie within this many bytes: a file of blank space, however large or
// endless, is rejected after a bounded read.
constexpr std::size_t MaxBytesRead = 16u << 20;

Source boundedSource(const auto& input) {
    static const std::string reason = "no " + std::to_string(BeatCount) + " values in the first " +
                                      std::to_string(MaxBytesRead >> 20) + " MB";
    return Source(input, MaxBytesRead, reason);
}

// `pointShift` moves each value's decimal point that many places left before it converts.
IntervalValues readIntervals(Source& source, int pointShift = 0) {
    source.startText();
    value_text::ListScanner list(source);
    IntervalValues values{};
    for (std::size_t i = 0; i < values.size();) {
        if (!list.next()) {
            throw CommandFailure("only " + std::to_string(i) + " values, " +
                                 std::to_string(BeatCount) + " needed");
        }
        i += list.values(std::span(values).subspan(i), pointShift);
    }
    return values;
}

}  // namespace

IntervalValues ParseIntervals(std::string_view text) {
    Source source = boundedSource(text);
    return readIntervals(source);
}

IntervalValues ReadIntervalFile(const std::string& path) {
    return ReadFirstValues(path, Units::Seconds);
}

IntervalValues ReadFirstValues(const std::string& path, Units units) {
    constexpr int MillisecondShift = 3;
    const value_text::InputFile file(path);
    Source source = boundedSource(file);
    try {
        return readIntervals(source, units == Units::Milliseconds ? MillisecondShift : 0);
    } catch (const CommandFailure&) {
        if (source.failed()) throw CommandFailure("the file could not be read");
        throw;
    }
}

void RequireRegularFile(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) throw CommandFailure(std::strerror(errno));
    if (S_ISDIR(status.st_mode)) throw CommandFailure("is a folder");
    if (!S_ISREG(status.st_mode)) throw CommandFailure("is not a regular file");
}

}  // namespace ritmova
