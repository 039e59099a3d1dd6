#include "ui/recording_commands.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/ecg_record.h"

namespace ritmova {
namespace {

constexpr double MillisecondsLikeMedian = 10;  // seconds; no heart beats that slowly
constexpr float SecondsLikeMedian = 0.01f;     // seconds; none beats that fast
constexpr float NoVariabilitySdnn = 1e-5f;     // seconds
constexpr std::size_t UnreliableArtifactPercent = 5;

double median(const IntervalValues& values) {
    IntervalValues sorted = values;
    std::sort(sorted.begin(), sorted.end());
    constexpr std::size_t Middle = BeatCount / 2;
    return (static_cast<double>(sorted[Middle - 1]) + sorted[Middle]) / 2;
}

// "5.1": the share of the window's beats to one decimal, rounded half up, in whole numbers
// so that no locale can change the text.
std::string percentText(std::size_t count) {
    const std::size_t tenths = (count * 1000 + BeatCount / 2) / BeatCount;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

void addHint(std::string& hints, const std::string& hint) {
    if (hint.empty()) return;
    if (!hints.empty()) hints += "; ";
    hints += hint;
}

std::string lastBeatsShown(std::size_t beats) {
    return "the last beats are shown: the recording has " + std::to_string(beats) + " beats";
}

// "reading stopped at line 1000: 'x' is not a number", or after how many values when the
// reason names no line.
std::string stoppedNote(const std::string& reason, std::size_t values) {
    if (reason.starts_with("line ")) return "reading stopped at " + reason;
    return "reading stopped after value " + std::to_string(values) + ": " + reason;
}

// A recording read as far as its values go: a failure after 256 values ends it, and `note`
// says where; one before fails.
Recording readAsFarAsPossible(const std::string& path, const ReadOptions& options,
                              std::string& note, Progress* progress) {
    PartialRecording read = ReadRecordingUntilFailure(path, options, progress);
    if (!read.stopReason.empty()) {
        const std::size_t values = read.recording.intervals.size();
        if (values < BeatCount) throw CommandFailure(read.stopReason);
        note = stoppedNote(read.stopReason, values);
    }
    return std::move(read.recording);
}

// The whole recording of a file whose first 256 values are `first`. Standard input cannot be
// read a second time, so only its first 256 values are ever read.
Recording wholeRecording(const std::string& path, Units units, const IntervalValues& first,
                         std::string& note, Progress* progress) {
    if (path == "-") {
        note = "only the first 256 values of standard input are read";
    } else {
        const ReadOptions options{units == Units::Milliseconds ? UnitsChoice::Milliseconds
                                                               : UnitsChoice::Seconds};
        return readAsFarAsPossible(path, options, note, progress);
    }
    return Recording{{first.begin(), first.end()}, units, {}};
}

// The first 256 values and the whole recording. A Polar HRM file, whose [Params] line no
// value is read from, is read whole in its milliseconds, by the console tool's rule; a file
// whose first lines are not numbers as `import` chose.
Recording readOpened(const std::string& path, Units units,
                     const std::optional<ImportChoice>& import, IntervalValues& first,
                     std::string& note, Progress* progress) {
    if (import) {
        Recording recording = readAsFarAsPossible(path, import->readOptions(), note, progress);
        first = WindowValues(recording.intervals, 1);
        return recording;
    }
    try {
        first = ReadFirstValues(path, units);
    } catch (const CommandFailure&) {
        if (!IsPolarFile(path)) throw;
        Recording recording = readAsFarAsPossible(path, {}, note, progress);
        first = WindowValues(recording.intervals, 1);
        return recording;
    }
    return wholeRecording(path, units, first, note, progress);
}

// Where an ECG record's beats came from, for the status bar.
std::string beatSourceNote(const ecg::OpenedRecord& record) {
    if (record.annotator == ecg::EdfAnnotator) return "beats of the file's EDF+ annotations";
    if (record.origin == ecg::BeatOrigin::Annotations)
        return "beats of the annotation file " +
               SafeText(std::filesystem::path(ecg::AnnotationPath(record.path, record.annotator))
                            .filename()
                            .string());
    const std::string detected = "beats detected in " + SafeText(record.channelLabel);
    if (ecg::ReferenceAnnotator(record.path).empty())
        return detected + " (no beat annotations beside the record)";
    return detected;
}

// An ECG record's R-R intervals, in seconds as the console tool reads them.
void readEcgRecord(OpenRead& read, ecg::BeatOrigin origin, Progress* progress,
                   const std::string& channel) {
    read.ecg = ecg::OpenRecord(read.path, origin, progress, channel);
    read.name = read.ecg->title();
    read.recording = {ecg::IntervalSeconds(read.ecg->series, false), Units::Seconds, {}};
    read.first = WindowValues(read.recording.intervals, 1);
    read.note = beatSourceNote(*read.ecg);
}

}  // namespace

std::size_t OpenedRecording::windowArtifacts() const {
    const auto first = artifacts.begin() + static_cast<std::ptrdiff_t>(firstBeat - 1);
    return static_cast<std::size_t>(std::count_if(
        first, first + BeatCount, [](ArtifactRule r) { return r != ArtifactRule::None; }));
}

std::optional<Units> SuggestedUnits(const IntervalValues& values, Units units) {
    const double middle = median(values);
    if (units == Units::Seconds && middle > MillisecondsLikeMedian) return Units::Milliseconds;
    if (units == Units::Milliseconds && middle < SecondsLikeMedian) return Units::Seconds;
    return std::nullopt;
}

std::string PlausibilityHints(const IntervalValues& values, float sdnn, std::size_t artifacts,
                              Units units) {
    std::string hints;
    const std::optional<Units> suggested = SuggestedUnits(values, units);
    if (suggested == Units::Milliseconds) {
        addHint(hints, "values look like milliseconds: Analysis \u2192 Milliseconds reads them so");
    } else if (suggested == Units::Seconds) {
        addHint(hints, "values look like seconds: Analysis \u2192 Milliseconds off reads them so");
    }
    if (sdnn < NoVariabilitySdnn) {
        addHint(hints, "no variability: the spectrum, LF/HF and r show rounding noise");
    }
    if (artifacts * 100 > UnreliableArtifactPercent * BeatCount) {
        addHint(hints, std::to_string(artifacts) + " artifacts in this window (" +
                           percentText(artifacts) + " %): the measures are unreliable");
    }
    return hints;
}

OpenRead ReadForOpen(const std::string& path, Units units, ecg::BeatOrigin origin,
                     const std::optional<ImportChoice>& import, Progress* progress,
                     const std::string& channel) {
    OpenRead read{path, path, {}, {}, {}, {}, {}, import};
    if (ecg::IsEcgRecord(path, {})) {
        readEcgRecord(read, origin, progress, channel);
    } else {
        read.recording = readOpened(path, units, import, read.first, read.note, progress);
    }
    read.artifacts = FlagArtifacts(read.recording.intervals);
    return read;
}

MillisecondsReader ExactReader(const OpenedRecording& opened) {
    if (opened.ecg)
        return [series = opened.ecg->series] { return ecg::IntervalMilliseconds(series, false); };
    if (opened.path == "-") throw CommandFailure("standard input cannot be read a second time");
    ReadOptions options = opened.import ? opened.import->readOptions() : ReadOptions{};
    if (!opened.import)
        options.units = opened.recording.units == Units::Milliseconds ? UnitsChoice::Milliseconds
                                                                      : UnitsChoice::Seconds;
    options.exact = true;
    return [path = opened.path, options, beats = opened.beats()] {
        std::vector<double> ms = ReadRecordingUntilFailure(path, options).recording.milliseconds;
        ms.resize(std::min(ms.size(), beats));
        return ms;
    };
}

bool ChooseIntervalFile(WindowPort& window) {
    window.clearScreen();
    CommonDialog& dialog = window.dialog(DialogId::Open);
    dialog.setFilter(IntervalFilter);
    dialog.setFilterIndex(1);
    return dialog.showOpen();
}

RecordingCommands::RecordingCommands(WindowState& state, WindowPort& window)
    : state_(state), window_(window) {}

OpenResult RecordingCommands::open(Units units) {
    hints_.clear();
    const std::optional<std::string> path = choose();
    if (!path) return OpenResult::Cancelled;
    const ImportStep import = importStep(*path, units);
    if (import.cancelled) return OpenResult::Cancelled;
    // Read into buffers first, so that a short or bad file leaves everything untouched.
    show(ReadForOpen(*path, units, ecg::BeatOrigin::Annotations, import.choice));
    return OpenResult::Completed;
}

std::optional<std::string> RecordingCommands::choose() {
    if (ChooseIntervalFile(window_)) return window_.dialog(DialogId::Open).fileName();
    nextImport_.reset();
    return std::nullopt;
}

// A file whose first values do not read (nor as Polar HRM, nor an ECG record) is put to the
// import chooser, here on the window's thread before the reading, which may run elsewhere.
RecordingCommands::ImportStep RecordingCommands::importStep(const std::string& path, Units units) {
    const std::optional<ImportChoice> given = std::exchange(nextImport_, std::nullopt);
    // Standard input cannot be read twice; its reading gives its own reason.
    if (path == "-" || ecg::IsEcgRecord(path, {})) return {};
    try {
        ReadFirstValues(path, units);
        return {};
    } catch (const CommandFailure& failure) {
        if (IsPolarFile(path)) return {};
        std::optional<ImportChoice> choice = given ? given : askImport(path, failure);
        return {!choice, choice};
    }
}

void RecordingCommands::show(OpenRead read) {
    opened_ = OpenedRecording{
        std::move(read.path), std::move(read.recording), std::move(read.artifacts), 1,
        std::move(read.name), std::move(read.ecg),       std::move(read.import)};
    ++opens_;
    analyse(read.first, 1, read.note);
}

std::optional<ImportChoice> RecordingCommands::askImport(const std::string& path,
                                                         const CommandFailure& failure) {
    if (!chooser_ || path == "-") throw failure;
    FileHead head = ReadFileHead(path);
    std::optional<ImportProposal> proposal = ProposeImport(head);
    if (!proposal) throw failure;
    return chooser_({path, failure.what(), std::move(head), std::move(*proposal)});
}

const OpenedRecording& RecordingCommands::requireOpened() const {
    if (!opened_) throw CommandFailure("no recording is open");
    return *opened_;
}

void RecordingCommands::next() {
    const OpenedRecording& opened = requireOpened();
    const std::size_t last = opened.lastFirstBeat();
    if (opened.firstBeat == last) throw CommandFailure(lastBeatsShown(opened.beats()));
    goTo(std::min(opened.firstBeat + BeatCount, last));
}

void RecordingCommands::previous() {
    const OpenedRecording& opened = requireOpened();
    if (opened.firstBeat == 1) throw CommandFailure("the first beats are shown");
    goTo(opened.firstBeat > BeatCount ? opened.firstBeat - BeatCount : 1);
}

void RecordingCommands::goTo(std::size_t firstBeat) {
    const OpenedRecording& opened = requireOpened();
    const IntervalValues values = WindowValues(opened.recording.intervals, firstBeat);
    window_.setPanelVisible(false);  // its Markov results were of another window
    window_.clearScreen();
    const bool last = firstBeat == opened.lastFirstBeat() && firstBeat != 1;
    analyse(values, firstBeat, last ? lastBeatsShown(opened.beats()) : std::string());
}

void RecordingCommands::replaceBeats(ecg::OpenedRecord record) {
    Recording recording{ecg::IntervalSeconds(record.series, false), Units::Seconds, {}};
    if (recording.intervals.size() < BeatCount)
        throw CommandFailure("the beats make " + std::to_string(recording.intervals.size()) +
                             " intervals, fewer than the " + std::to_string(BeatCount) +
                             " a window analyses");
    const bool shown = opened_ && opened_->path == record.path;
    const std::size_t firstBeat = shown ? opened_->firstBeat : 1;
    std::vector<ArtifactRule> artifacts = FlagArtifacts(recording.intervals);
    std::string path = record.path, name = record.title();
    opened_ = OpenedRecording{std::move(path),
                              std::move(recording),
                              std::move(artifacts),
                              1,
                              std::move(name),
                              std::move(record),
                              {}};
    goTo(std::min(firstBeat, opened_->lastFirstBeat()));
}

void RecordingCommands::analyse(const IntervalValues& values, std::size_t firstBeat,
                                const std::string& note) {
    opened_->firstBeat = firstBeat;
    hints_.clear();
    suggestedUnits_.reset();
    AnalyseAndShow(window_, state_, values, WindowName(opened_->name, firstBeat));
    const Units units = opened_->recording.units;
    suggestedUnits_ = SuggestedUnits(values, units);
    hints_ =
        PlausibilityHints(values, state_.pass.timeDomain.sdnn, opened_->windowArtifacts(), units);
    addHint(hints_, note);
}

std::string RecordingCommands::windowField() const {
    if (!opened_) return {};
    const OpenedRecording& o = *opened_;
    const std::size_t artifacts = o.windowArtifacts();
    const char* const separator = " \u00b7 ";
    const std::string name =
        o.ecg ? SafeText(o.ecg->series.record) + " (" + o.ecg->series.source + ")"
              : SafeText(std::filesystem::path(o.path).filename().string());
    return name + separator + "beats " + std::to_string(o.firstBeat) + "-" +
           std::to_string(o.firstBeat + BeatCount - 1) + " of " + std::to_string(o.beats()) +
           separator + (o.recording.units == Units::Milliseconds ? "ms" : "s") + separator +
           std::to_string(artifacts) + (artifacts == 1 ? " artifact" : " artifacts");
}

}  // namespace ritmova
