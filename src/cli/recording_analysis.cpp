#include "cli/recording_analysis.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "common/command_failure.h"
#include "report/markov_text.h"
#include "report/results_text.h"

namespace ritmova::cli {
namespace {

// The summary, the report and the Markov panel's text of a window named `name`.
void buildTexts(RecordingAnalysis& result, const std::string& name) {
    const ResultTexts texts = FormatResults(result.analysis.pass);
    result.summary = ResultsSummary(texts, name);
    result.report = BuildReportText(texts, name);
    if (result.analysis.markovCompleted())
        result.markovText = MarkovPanelText(result.analysis.markov);
}

// Forgets the previous window's texts, keeping the strings' storage.
void resetTexts(RecordingAnalysis& result) {
    result.error.reset();
    result.summary.clear();
    result.report.clear();
    result.markovText.clear();
}

// Forgets what the previous file set outside its window (analysing the window forgets the rest).
void resetFile(RecordingAnalysis& result, const std::string& file) {
    result.file = file;
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
    resetTexts(result);
    result.firstBeat = firstBeat;
    const IntervalValues values = WindowValues(intervals, firstBeat);
    AnalyseWindow(values, FlaggedCount(flags.subspan(firstBeat - 1, values.size())),
                  result.analysis);
    if (result.analysis.failure) {
        result.error = result.analysis.failure;
    } else if (texts == Texts::Build) {
        buildTexts(result, name);
    }
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
        // The window was never analysed: nothing of the previous one stays.
        resetTexts(result);
        std::destroy_at(&result.analysis);
        std::construct_at(&result.analysis);
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
