#pragma once

#include <optional>
#include <span>
#include <string>

#include "analysis/recording.h"
#include "analysis/window_analysis.h"
#include "ecg/ecg_record.h"

namespace ritmova::cli {

// Everything the console tool reports of one file: the analysis of its window and, when
// asked for, the texts the window shows and saves.
struct RecordingAnalysis {
    std::string file;
    std::optional<std::string> error;  // why the file could not be read or its pass failed
    WindowAnalysis analysis;
    std::string summary;     // the texts, when built
    std::string report;      // as Save results writes it, without the final CR LF
    std::string markovText;  // when the Markov analysis completed
    // The window analysed, and what the whole recording adds to the pass.
    std::size_t firstBeat = 1;  // beats firstBeat .. firstBeat + 255
    double startSeconds = 0;    // the time of the window's first beat (windows sets it)
    Units units = Units::Seconds;
    std::size_t beats = 0;  // intervals read; 0 when the file could not be read
};

// Whether the texts (summary, report, Markov panel) are wanted, or only the measures.
enum class Texts { Build, Skip };

// How the console tool reads a file and which window it analyses.
struct AnalysisOptions {
    ReadOptions read;
    std::size_t firstBeat = 1;
    ArtifactLimits limits;
    ecg::BeatOptions beats;       // for ECG records
    bool normalToNormal = false;  // ECG records: only the intervals between two normal beats
};

// A recording read whole and what the texts call it: the path of a text file, or for an ECG
// record its name and beat source, "100 (atr)", "100 (detected, MLII)".
struct NamedRecording {
    Recording recording;
    std::string name;
};

// Reads `file` whole: a text file by options.read, or an ECG record's R-R intervals (its
// annotator's beats or the detected ones; with options.read.exact also in milliseconds at
// double precision from the beats' sample numbers). Throws CommandFailure with the reason.
NamedRecording ReadAnyRecording(const std::string& file, const AnalysisOptions& options);

// Whether the options need the whole-recording reader: a window other than the first, or a
// reading option other than the default. Otherwise only the first 256 values are read, as
// always, and text after them is never looked at; a file that fails there is read whole when
// it is a Polar HRM file (told by its [Params] first line; standard input and pipes are never
// looked at twice).
bool WholeRecordingNeeded(const AnalysisOptions& options);

// The time of beat `firstBeat` (1-based) from the start of the recording: the sum of the
// earlier intervals. Moving forward adds the same intervals in the same order as a sum from
// the start would, so the bits are the same however the windows are visited.
class StartClock {
  public:
    double at(std::span<const float> intervals, std::size_t firstBeat);

  private:
    std::size_t beat_ = 1;
    double seconds_ = 0;
};

// Analyses windows of recordings already read, one after another, reusing one state, so
// that a long recording costs no allocation per window. Each window's values are those of
// the same 256 values read from a file of their own.
class WindowAnalyser {
  public:
    // `flags` are the whole recording's; `name` is what the texts call the window.
    const RecordingAnalysis& analyse(std::span<const float> intervals,
                                     std::span<const ArtifactRule> flags, std::size_t firstBeat,
                                     const std::string& name, Texts texts = Texts::Skip);
    RecordingAnalysis& result() { return result_; }

  private:
    RecordingAnalysis result_;
};

// Runs the whole analysis of the window of `file` the options choose. An undefined r is
// absent, not a failure.
RecordingAnalysis AnalyseRecording(const std::string& file, const AnalysisOptions& options = {},
                                   Texts texts = Texts::Build);

// The same for one file after another, in the analyser's storage: the result is the
// analyser's, and nothing of the previous file remains in it.
const RecordingAnalysis& AnalyseRecording(WindowAnalyser& analyser, const std::string& file,
                                          const AnalysisOptions& options, Texts texts);

}  // namespace ritmova::cli
