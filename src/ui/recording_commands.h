#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/recording.h"
#include "common/progress.h"
#include "ecg/opened_record.h"
#include "ui/pass_view.h"
#include "ui/window_port.h"

namespace ritmova {

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
};

// Reads `path` as Open does: a text file in `units` (the first 256 values, then the whole
// recording), or an ECG record (a WFDB header or record name, an EDF file) with its beats by
// `origin`. Touches no window, so that it may run on any thread; reports to `progress` and
// throws Cancelled once that is cancelled, CommandFailure with the reason when reading fails.
OpenRead ReadForOpen(const std::string& path, Units units, ecg::BeatOrigin origin,
                     Progress* progress = nullptr);

// What looks implausible in a window analysed as `values` (seconds, as read) with `sdnn`, of
// which `artifacts` intervals are flagged: hints joined by "; ", empty when nothing does.
std::string PlausibilityHints(const IntervalValues& values, float sdnn, std::size_t artifacts);

// The window's commands over a whole recording: Open, and the moves from one 256-beat window
// to another. Each runs the analysis pass on one window; hints() then holds what the status
// bar shows beside the results. A move that fails throws CommandFailure before it changes
// anything; a pass that fails throws with what it had drawn left in place, as Open does.
class RecordingCommands {
  public:
    RecordingCommands(WindowState& state, WindowPort& window);

    // File → Open: asks for a file and analyses its beats 1-256, read as OpenCommand reads
    // them (by their rules and with their reasons) in `units`. Then the whole recording is
    // read; when that fails beyond value 256, the 256 values are the recording and the
    // reason becomes a hint. A read that fails leaves the open recording as it was.
    OpenResult open(Units units);
    // Open's steps apart, so that the reading can run elsewhere: the file chosen (nothing
    // when the user cancelled), then what ReadForOpen read of it becomes the open recording.
    std::optional<std::string> choose();
    void show(OpenRead read);
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
    // The open recording; throws CommandFailure("no recording is open") before any Open.
    const OpenedRecording& requireOpened() const;
    // The last completed command's hints, "; "-joined; empty when there are none.
    const std::string& hints() const { return hints_; }
    // "rec.int · beats 257-512 of 1000 · s · 3 artifacts"; empty before any Open.
    std::string windowField() const;

  private:
    // Runs the pass on `values`, the window from `firstBeat`; `note` is a hint of the command.
    void analyse(const IntervalValues& values, std::size_t firstBeat, const std::string& note);

    WindowState& state_;
    WindowPort& window_;
    std::optional<OpenedRecording> opened_;
    std::string hints_;
};

}  // namespace ritmova
