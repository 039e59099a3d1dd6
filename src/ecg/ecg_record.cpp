#include "ecg/ecg_record.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/edf_file.h"
#include "ecg/r_peak_detector.h"
#include "ecg/signal_reader.h"
#include "ecg/wfdb_header.h"

namespace ritmova::ecg {

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// The annotation file of a WFDB record ("dir/100" + ".atr") or of an EDF file ("r01.edf.qrs").
std::string AnnotationPath(const std::string& path, const std::string& annotator) {
    if (IsEdfPath(path)) return path + "." + annotator;
    RecordLocation location = LocateRecord(path);
    return (location.folder / (location.name + "." + annotator)).string();
}

void RequireAnnotatorName(const std::string& annotator) {
    bool plain = !annotator.empty() && annotator.find('/') == std::string::npos &&
                 annotator.find('\0') == std::string::npos && annotator != "..";
    if (!plain)
        throw CommandFailure("the annotator name " + QuotedToken(annotator) + " is not valid");
}

// Annotations of an EDF file count samples of the chosen channel; with none chosen, of the
// first ECG channel, else of the first signal.
double EdfAnnotationFrequency(const std::string& path, const std::string& channel) {
    EdfHeader header = ReadEdfHeader(path);
    std::size_t index = 0;
    try {
        index = ChooseEdfChannel(header, channel);
    } catch (const CommandFailure&) {
        if (!channel.empty()) throw;
    }
    return header.frequencyHz(header.signals[index]);
}

// The record's sampling frequency and name, from its header when there is one.
void ReadRecordFacts(const std::string& path, const BeatOptions& options, BeatSeries& series) {
    if (IsEdfPath(path)) {
        series.record = std::filesystem::path(path).stem().string();
        series.samplesPerSecond = EdfAnnotationFrequency(path, options.channel);
    } else {
        RecordLocation location = LocateRecord(path);
        series.record = location.name;
        if (IsRegularFile(location.header.string()))
            series.samplesPerSecond = ReadHeader(location).frequencyHz;
    }
    if (options.frequencyHz > 0) series.samplesPerSecond = options.frequencyHz;
    if (series.samplesPerSecond <= 0)
        throw CommandFailure(
            "the record has no header to give its sampling frequency: give "
            "--frequency HZ");
}

// The beat code an EDF+ annotation's text names: a beat mnemonic ("N", "V"...), or "QRS" or
// "R" for a beat of no class; 0 for a text that is not a beat.
int EdfBeatCode(const std::string& text) {
    if (text == "QRS" || text == "R") return 1;
    for (int code = 1; code <= MaxAnnotationCode; ++code)
        if (IsBeatCode(code) && CodeMnemonic(code) == text) return code;
    return 0;
}

// The beats among an EDF+ file's own annotations, in ticks of the chosen channel's samples.
BeatSeries EdfAnnotatedBeats(const std::string& path, const BeatOptions& options) {
    BeatSeries series;
    series.source = EdfAnnotator;
    ReadRecordFacts(path, options, series);
    series.ticksPerSecond = series.samplesPerSecond;
    for (const EdfAnnotation& a : ReadEdfAnnotations(path)) {
        int code = EdfBeatCode(a.text);
        if (code != 0)
            series.beats.push_back({std::llround(a.onsetSeconds * series.ticksPerSecond), code});
    }
    std::ranges::stable_sort(series.beats, {}, &Beat::tick);
    if (series.beats.empty()) throw CommandFailure("its EDF+ annotations hold no beats");
    return series;
}

BeatSeries AnnotatedBeats(const std::string& path, const BeatOptions& options) {
    if (IsEdfPath(path) && options.annotator == EdfAnnotator)
        return EdfAnnotatedBeats(path, options);
    RequireAnnotatorName(options.annotator);
    BeatSeries series;
    series.source = options.annotator;
    ReadRecordFacts(path, options, series);
    AnnotationFile file = ReadAnnotations(AnnotationPath(path, options.annotator));
    TakeBeats(file, series);
    series.ticksPerSecond =
        file.timeResolutionHz > 0 ? file.timeResolutionHz : series.samplesPerSecond;
    return series;
}

BeatSeries DetectedBeats(const std::string& path, const BeatOptions& options) {
    SignalReader reader = OpenSignal(path, options.channel);
    BeatSeries series;
    series.record = reader.info().recordName;
    series.source = "detected, " + SafeText(reader.info().label);
    series.samplesPerSecond = series.ticksPerSecond = reader.frequencyHz();
    RPeakDetector detector(reader.frequencyHz());
    std::vector<float> block(65536);
    while (std::size_t count = reader.read(block))
        detector.feed(std::span<const float>(block.data(), count));
    detector.finish();
    for (std::int64_t sample : detector.beats()) series.beats.push_back({sample, 1});
    return series;
}

}  // namespace

bool IsEcgRecord(const std::string& path, const BeatOptions& options) {
    std::string suffix = std::filesystem::path(path).extension().string();
    if (IsEdfPath(path) || suffix == ".hea") return true;
    if (path == "-" || IsRegularFile(path)) return false;
    if (IsRegularFile(path + ".hea")) return true;
    return !options.annotator.empty() && IsRegularFile(path + "." + options.annotator);
}

BeatSeries LoadBeats(const std::string& path, const BeatOptions& options) {
    try {
        return options.annotator.empty() ? DetectedBeats(path, options)
                                         : AnnotatedBeats(path, options);
    } catch (const CommandFailure& failure) {
        // The caller names the record: a reason about the record's own file need not again.
        const std::string_view reason = failure.what();
        const std::string named = SafeText(path) + ": ";
        if (!reason.starts_with(named)) throw;
        throw CommandFailure(std::string(reason.substr(named.size())));
    }
}

std::vector<float> IntervalSeconds(const BeatSeries& series, bool normalToNormal) {
    std::vector<float> seconds;
    for (const RrInterval& interval : RrIntervals(series, normalToNormal))
        seconds.push_back(static_cast<float>(interval.seconds));
    return seconds;
}

std::vector<double> IntervalMilliseconds(const BeatSeries& series, bool normalToNormal) {
    std::vector<double> milliseconds;
    for (const RrInterval& interval : RrIntervals(series, normalToNormal))
        milliseconds.push_back(interval.seconds * 1000.0);
    return milliseconds;
}

}  // namespace ritmova::ecg
