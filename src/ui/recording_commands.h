#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/import_proposal.h"
#include "analysis/recording.h"
#include "common/progress.h"
#include "ecg/opened_record.h"
#include "ui/pass_view.h"
#include "ui/window_port.h"

namespace ritmova {

class CommandFailure;

inline constexpr const char* IntervalFilter =
    "Interval Files (*.int)|*.int|All Files (*.*)|*.*|ECG Records (*.hea *.edf)|*.hea;*.edf;*.EDF";

enum class OpenResult { Completed, Cancelled };

// Open's first step: clears the window's surface and shows the Open dialog on interval files.
// True when a file was chosen; the dialog then holds its name.
bool ChooseIntervalFile(WindowPort& window);

// The recording an Open read, and the window of it that the last pass analysed.
struct OpenedRecording {
    std::string path;                      // as the Open dialog reported it
    Recording recording;                   // at least 256 intervals
    std::vector<ArtifactRule> artifacts;   // one per interval
    std::size_t firstBeat = 1;             // the window: beats firstBeat .. firstBeat + 255
    std::string name;                      // what the texts call it: the path, or "100 (atr)"
    std::optional<ecg::OpenedRecord> ecg;  // an ECG record's beats; none for a text file
    std::optional<ImportChoice> import;    // how a file with a header or columns was read

    std::size_t beats() const { return recording.intervals.size(); }
    // The first beat of the last window.
    std::size_t lastFirstBeat() const { return beats() - BeatCount + 1; }
    // Flagged intervals in the window.
    std::size_t windowArtifacts() const;
};

// What Open read, before anything of the window changes.
struct OpenRead {
    std::string path;
    std::string name;  // as OpenedRecording::name
    Recording recording;
    std::vector<ArtifactRule> artifacts;
    IntervalValues first{};  // beats 1-256
    std::string note;        // a hint of the reading: where it stopped, where the beats came from
    std::optional<ecg::OpenedRecord> ecg;
    std::optional<ImportChoice> import;  // how a file with a header or columns is read
};

// Reads `path` as Open does: a text file in `units` (the first 256 values, then the whole
// recording), or an ECG record (a WFDB header or record name, an EDF file) with its beats by
// `origin` (detected in `channel` when one is given); a file whose first lines are not numbers
// as `import` chose. Touches no window, so that
// it may run on any thread; reports to `progress` and throws Cancelled once that is cancelled,
// CommandFailure with the reason when reading fails.
OpenRead ReadForOpen(const std::string& path, Units units, ecg::BeatOrigin origin,
                     const std::optional<ImportChoice>& import = {}, Progress* progress = nullptr,
                     const std::string& channel = {});

// Reads the open recording's intervals again in milliseconds at double precision, as
// `ritmova-cli hrv` takes them: a file to the nearest double of each value (with its import's
// header lines and column, as far as the window read it), an ECG record from its beats as
// they are now. Throws CommandFailure for standard input, which cannot be read a second time.
using MillisecondsReader = std::function<std::vector<double>()>;
MillisecondsReader ExactReader(const OpenedRecording& opened);

// The units that a window's values, read in `units`, look like when they are not those: seconds
// read as milliseconds above a median of 10 s (no heart beats that slowly), milliseconds read
// as seconds below one of 10 ms (none beats that fast).
std::optional<Units> SuggestedUnits(const IntervalValues& values, Units units);

// What looks implausible in a window analysed as `values` (seconds, as read in `units`) with
// `sdnn`, of which `artifacts` intervals are flagged: hints joined by "; ", empty when nothing
// does.
std::string PlausibilityHints(const IntervalValues& values, float sdnn, std::size_t artifacts,
                              Units units);

// An Open of a file whose first lines are not numbers: the file, why it does not read as a
// plain list of values, its first lines and the guess of how to read it.
struct ImportQuestion {
    std::string path;
    std::string reason;
    FileHead head;
    ImportProposal proposal;
};
// Answers an import question with a choice, or nothing when the user cancelled; may throw
// CommandFailure instead.
using ImportChooser = std::function<std::optional<ImportChoice>(const ImportQuestion&)>;

// The window's commands over a whole recording: Open, and the moves from one 256-beat window
// to another. Each runs the analysis pass on one window; hints() then holds what the status
// bar shows beside the results. A move that fails throws CommandFailure before it changes
// anything; a pass that fails throws with what it had drawn left in place, as Open does.
class RecordingCommands {
  public:
    RecordingCommands(WindowState& state, WindowPort& window);

    // File → Open: asks for a file and analyses its beats 1-256, read as OpenCommand reads
    // them (by their rules and with their reasons) in `units`. Then the whole recording is
    // read; when that fails beyond value 256, the values before the failure are the recording
    // and where reading stopped becomes a hint. A file whose first lines are not numbers is
    // put to the import chooser, when there is one and a guess of how to read it, and read as
    // it chose. A read that fails leaves the open recording as it was.
    OpenResult open(Units units);
    // Open's steps apart, so that the reading can run elsewhere: the file chosen (nothing
    // when the user cancelled), its import step, then what ReadForOpen read of it becomes the
    // open recording.
    std::optional<std::string> choose();
    void show(OpenRead read);
    // The import step of a chosen file, on the window's thread: nothing for a file that reads
    // as it is, the chooser's choice, or cancelled.
    struct ImportStep {
        bool cancelled = false;
        std::optional<ImportChoice> choice;
    };
    ImportStep importStep(const std::string& path, Units units);
    void setImportChooser(ImportChooser chooser) { chooser_ = std::move(chooser); }
    // The next Open that needs an import step reads as `choice`, without asking.
    void takeNextImport(const ImportChoice& choice) { nextImport_ = choice; }
    // 256 beats on, or to the last 256 beats when fewer remain.
    void next();
    // 256 beats back, or to beat 1.
    void previous();
    // The window from `firstBeat` (1-based). Every move hides the Markov panel, whose results
    // were of the window before.
    void goTo(std::size_t firstBeat);

    // The beats of an ECG record changed (the beat review edited them): `record`, holding
    // them, becomes the open recording with their R-R intervals, its artifacts flagged again,
    // analysed from the window shown when the record was open already (or the last window
    // when fewer beats remain), else from beat 1. Throws CommandFailure, changing nothing,
    // when the beats make fewer than 256 intervals.
    void replaceBeats(ecg::OpenedRecord record);

    const std::optional<OpenedRecording>& opened() const { return opened_; }
    // How many Opens read their file, to tell when one did.
    std::size_t opens() const { return opens_; }
    // The open recording; throws CommandFailure("no recording is open") before any Open.
    const OpenedRecording& requireOpened() const;
    // The last completed command's hints, "; "-joined; empty when there are none.
    const std::string& hints() const { return hints_; }
    // The units that the last window analysed looks like, when it was read in others.
    std::optional<Units> suggestedUnits() const { return suggestedUnits_; }
    // "rec.int · beats 257-512 of 1000 · s · 3 artifacts"; empty before any Open.
    std::string windowField() const;

  private:
    // The import chooser's answer; rethrows `failure` when there is no chooser or no guess.
    std::optional<ImportChoice> askImport(const std::string& path, const CommandFailure& failure);
    // Runs the pass on `values`, the window from `firstBeat`; `note` is a hint of the command.
    void analyse(const IntervalValues& values, std::size_t firstBeat, const std::string& note);

    WindowState& state_;
    WindowPort& window_;
    std::optional<OpenedRecording> opened_;
    std::string hints_;
    std::optional<Units> suggestedUnits_;
    ImportChooser chooser_;
    std::optional<ImportChoice> nextImport_;
    std::size_t opens_ = 0;
};

}  // namespace ritmova
