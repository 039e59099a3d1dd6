#pragma once

#include <optional>
#include <string>

#include "analysis/analysis_state.h"
#include "analysis/pass_values.h"
#include "analysis/recording.h"

namespace ritmova::cli {

// Everything the console tool reports of one file: the Open pass and the Markov analysis
// run against a window without a screen.
struct RecordingAnalysis {
    std::string file;
    std::optional<std::string> error;  // why the Open pass failed, if it did
    AnalysisState state;
    PassValues pass;
    std::string summary;
    bool markovCompleted = false;
    std::string markovText;   // the panel text, as far as the command got, when built
    std::string markovError;  // why the Markov command failed, if it did
    // The window analysed, and what the whole recording adds to the pass.
    std::size_t firstBeat = 1;  // beats firstBeat .. firstBeat + 255
    double startSeconds = 0;    // the time of the window's first beat
    Units units = Units::Seconds;
    ExtraMeasures extra;
    std::size_t artifacts = 0;  // flagged intervals in the window
};

// Whether the texts (summary, report, Markov panel) are wanted, or only the measures.
enum class Texts { Build, Skip };

// Runs the whole analysis of `file`. A pass that fails only at the Poincare plot's r is
// complete for the console tool: r is then absent.
RecordingAnalysis AnalyseRecording(const std::string& file, Texts texts = Texts::Build);

}  // namespace ritmova::cli
