#include "cli/recording_analysis.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "analysis/open_command.h"
#include "common/command_failure.h"
#include "markov/markov_command.h"
#include "ui/plots.h"

namespace ritmova::cli {
namespace {

void runPass(RecordingAnalysis& result, HeadlessWindow& window, const IntervalValues& values,
             Texts texts) {
    const PassOutput output = texts == Texts::Build ? PassOutput::Window : PassOutput::MeasuresOnly;
    try {
        RunAnalysisPass(result.state, window, values, result.pass, output);
    } catch (const CorrelationUndefined&) {
        // Everything but r is there.
    } catch (const CommandFailure& failure) {
        result.error = failure.what();
    }
}

void runMarkov(RecordingAnalysis& result, HeadlessWindow& window, Texts texts) {
    try {
        if (texts == Texts::Build) {
            MarkovCommand(result.state, window);
        } else {
            RunMarkovAnalysis(result.state);
        }
        result.markovCompleted = true;
    } catch (const CommandFailure& failure) {
        result.markovError = failure.what();
    }
    if (texts == Texts::Build) result.markovText = window.labelCaption(LabelId::Label5);
}

// Forgets the previous window, keeping the strings' storage.
void resetWindow(RecordingAnalysis& result) {
    result.error.reset();
    // Made anew in place: assigning a fresh state would zero a temporary and copy it.
    std::destroy_at(&result.state);
    std::construct_at(&result.state);
    result.summary.clear();
    result.markovCompleted = false;
    result.markovText.clear();
    result.markovError.clear();
    result.extra.reset();
    result.artifacts = 0;
}

// Forgets what the previous file set outside its window (analysing the window forgets the rest).
void resetFile(RecordingAnalysis& result, const std::string& file) {
    result.file = file;
    result.pass = PassValues{};
    result.firstBeat = 1;
    result.startSeconds = 0;
    result.units = Units::Seconds;
    result.beats = 0;
}

}  // namespace

bool WholeRecordingNeeded(const AnalysisOptions& options) {
    const ReadOptions& read = options.read;
    return options.firstBeat != 1 || read.units != UnitsChoice::Seconds || read.skipLines != 0 ||
           read.column != 0;
}

double StartClock::at(std::span<const float> intervals, std::size_t firstBeat) {
    if (firstBeat < beat_) *this = StartClock{};
    for (; beat_ < firstBeat; ++beat_) seconds_ += intervals[beat_ - 1];
    return seconds_;
}

const RecordingAnalysis& WindowAnalyser::analyse(std::span<const float> intervals,
                                                 std::span<const ArtifactRule> flags,
                                                 std::size_t firstBeat, const std::string& name,
                                                 Texts texts) {
    RecordingAnalysis& result = result_;
    resetWindow(result);
    result.firstBeat = firstBeat;
    result.pass.InputFileName = name;
    const IntervalValues values = WindowValues(intervals, firstBeat);
    const auto windowFlags = flags.subspan(firstBeat - 1, values.size());
    result.artifacts = static_cast<std::size_t>(
        std::count_if(windowFlags.begin(), windowFlags.end(),
                      [](ArtifactRule r) { return r != ArtifactRule::None; }));
    runPass(result, window_, values, texts);
    if (result.error) return result;
    try {
        result.extra = ComputeExtraMeasures(values, result.state.SDNN);
    } catch (const CommandFailure&) {
        // No heart rate for an interval of 0 or less; the pass's own measures stand.
    }
    if (texts == Texts::Build) result.summary = window_.labelCaption(LabelId::Label2);
    runMarkov(result, window_, texts);
    return result;
}

namespace {

// The first 256 values, as always; nullopt for a Polar HRM file, which fails there at its
// [Params] line and is read whole instead, so that other files are never opened twice.
std::optional<IntervalValues> readFirstValues(const std::string& file) {
    try {
        return ReadIntervalFile(file);
    } catch (const CommandFailure&) {
        if (IsPolarFile(file)) return std::nullopt;
        throw;
    }
}

void analyseWhole(WindowAnalyser& analyser, const std::string& file, const AnalysisOptions& options,
                  Texts texts) {
    const NamedRecording named = ReadAnyRecording(file, options);
    const Recording& recording = named.recording;
    RecordingAnalysis& result = analyser.result();
    result.file = named.name;
    result.units = recording.units;
    result.beats = recording.intervals.size();
    const std::vector<ArtifactRule> flags = FlagArtifacts(recording.intervals, options.limits);
    analyser.analyse(recording.intervals, flags, options.firstBeat,
                     WindowName(named.name, options.firstBeat), texts);
}

}  // namespace

NamedRecording ReadAnyRecording(const std::string& file, const AnalysisOptions& options) {
    if (!ecg::IsEcgRecord(file, options.beats)) return {ReadRecording(file, options.read), file};
    const ReadOptions& read = options.read;
    if (read.units != UnitsChoice::Seconds || read.skipLines != 0 || read.column != 0)
        throw CommandFailure(
            "--units, --skip-lines and --column are for text files, not ECG "
            "records");
    const ecg::BeatSeries series = ecg::LoadBeats(file, options.beats);
    NamedRecording named{{ecg::IntervalSeconds(series, options.normalToNormal), Units::Seconds, {}},
                         series.title()};
    if (read.exact)
        named.recording.milliseconds = ecg::IntervalMilliseconds(series, options.normalToNormal);
    return named;
}

const RecordingAnalysis& AnalyseRecording(WindowAnalyser& analyser, const std::string& file,
                                          const AnalysisOptions& options, Texts texts) {
    RecordingAnalysis& result = analyser.result();
    resetFile(result, file);
    try {
        const bool whole = WholeRecordingNeeded(options) || ecg::IsEcgRecord(file, options.beats);
        const std::optional<IntervalValues> values = whole ? std::nullopt : readFirstValues(file);
        if (values) {
            result.beats = values->size();
            // The flags of the first 256 intervals depend on no later one.
            analyser.analyse(*values, FlagArtifacts(*values, options.limits), 1, file, texts);
        } else {
            analyseWhole(analyser, file, options, texts);
        }
    } catch (const CommandFailure& failure) {
        resetWindow(result);  // the window was never analysed: nothing of the previous one stays
        result.error = failure.what();
    }
    return result;
}

RecordingAnalysis AnalyseRecording(const std::string& file, const AnalysisOptions& options,
                                   Texts texts) {
    WindowAnalyser analyser;
    AnalyseRecording(analyser, file, options, texts);
    return std::move(analyser.result());
}

}  // namespace ritmova::cli
