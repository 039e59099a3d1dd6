#include <algorithm>

#include "analysis/recording.h"
#include "common/command_failure.h"

namespace ritmova {

IntervalValues WindowValues(std::span<const float> intervals, std::size_t firstBeat) {
    if (firstBeat == 0) throw CommandFailure("beat 0 does not exist: beats count from 1");
    const std::size_t count = intervals.size();
    if (firstBeat > count) {
        throw CommandFailure("beat " + std::to_string(firstBeat) + " is beyond the recording's " +
                             std::to_string(count) + " beats");
    }
    const std::size_t remaining = count - (firstBeat - 1);
    if (remaining < BeatCount) {
        throw CommandFailure("only " + std::to_string(remaining) + " beats from beat " +
                             std::to_string(firstBeat) + " on, " + std::to_string(BeatCount) +
                             " needed");
    }
    IntervalValues values;
    std::copy_n(intervals.begin() + static_cast<std::ptrdiff_t>(firstBeat - 1), BeatCount,
                values.begin());
    return values;
}

std::string WindowName(const std::string& path, std::size_t firstBeat) {
    if (firstBeat == 1) return path;
    const std::size_t lastBeat = firstBeat + BeatCount - 1;
    return path + " (beats " + std::to_string(firstBeat) + "-" + std::to_string(lastBeat) + ")";
}

}  // namespace ritmova
