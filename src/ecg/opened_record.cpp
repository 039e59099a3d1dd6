#include "ecg/opened_record.h"

#include <sys/stat.h>

#include <cmath>
#include <optional>

#include "common/command_failure.h"
#include "ecg/ecg_record.h"
#include "ecg/signal_reader.h"

namespace ritmova::ecg {
namespace {

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::optional<ChannelInfo> ChannelOf(const std::string& path, std::string_view channel) {
    try {
        return OpenSignal(path, channel).info();
    } catch (const CommandFailure&) {
        return std::nullopt;  // detection fails on its own, with the reason
    }
}

// The channel that detection reads, or that an ECG view shows beside the annotations: the
// one chosen, else the first ECG channel, else the first signal, whose samples the annotations then
// count. None when the record has no signal to read (the long-term databases keep only
// annotations).
void NoteChannel(OpenedRecord& opened, std::string_view channel) {
    std::optional<ChannelInfo> info = ChannelOf(opened.path, channel);
    if (!info && opened.origin == BeatOrigin::Annotations) info = ChannelOf(opened.path, "1");
    if (!info) return;
    opened.channelNumber = info->index + 1;
    opened.channelLabel = info->label;
}

// An EDF+ file's own annotations when they hold beats; else nothing, and the beats are
// detected.
std::string EdfBeatsAnnotator(const std::string& path) {
    try {
        LoadBeats(path, {"", EdfAnnotator, 0});
        return EdfAnnotator;
    } catch (const CommandFailure&) {
        return {};
    }
}

}  // namespace

std::int64_t SampleOf(const BeatSeries& series, const Beat& beat) {
    if (series.ticksPerSecond == series.samplesPerSecond) return beat.tick;
    return std::llround(double(beat.tick) * series.samplesPerSecond / series.ticksPerSecond);
}

std::string ReferenceAnnotator(const std::string& path) {
    for (const std::string_view annotator : ReferenceAnnotators) {
        if (IsRegularFile(AnnotationPath(path, std::string(annotator))))
            return std::string(annotator);
    }
    return {};
}

OpenedRecord OpenRecord(const std::string& path, BeatOrigin origin, Progress* progress,
                        const std::string& channel) {
    OpenedRecord opened;
    opened.path = path;
    if (origin == BeatOrigin::Annotations) opened.annotator = ReferenceAnnotator(path);
    if (origin == BeatOrigin::Annotations && opened.annotator.empty() && IsEdfPath(path))
        opened.annotator = EdfBeatsAnnotator(path);
    opened.origin = opened.annotator.empty() ? BeatOrigin::Detection : BeatOrigin::Annotations;
    NoteChannel(opened, channel);
    BeatOptions options;
    options.channel = channel;
    options.annotator = opened.annotator;
    opened.series = LoadBeats(path, options, progress);
    return opened;
}

}  // namespace ritmova::ecg
