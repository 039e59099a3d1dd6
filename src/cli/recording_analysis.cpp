#include "cli/recording_analysis.h"

#include "analysis/open_command.h"
#include "common/command_failure.h"
#include "markov/markov_command.h"
#include "platform/headless_window.h"
#include "ui/plots.h"

namespace ritmova::cli {
namespace {

void runOpen(RecordingAnalysis& result, HeadlessWindow& window) {
    window.openDialog().setFileName(result.file);
    try {
        if (OpenCommand(result.state, window, result.pass) == OpenResult::Cancelled) {
            result.error = "no file name given";
        }
    } catch (const CorrelationUndefined&) {
        // Everything but r is there.
    } catch (const CommandFailure& failure) {
        result.error = failure.what();
    }
}

void runMarkov(RecordingAnalysis& result, HeadlessWindow& window, MarkovText text) {
    try {
        if (text == MarkovText::Build) {
            MarkovCommand(result.state, window);
        } else {
            RunMarkovAnalysis(result.state);
        }
        result.markovCompleted = true;
    } catch (const CommandFailure& failure) {
        result.markovError = failure.what();
    }
    result.markovText = window.labelCaption(LabelId::Label5);
}

}  // namespace

RecordingAnalysis AnalyseRecording(const std::string& file, MarkovText text) {
    RecordingAnalysis result;
    result.file = file;
    HeadlessWindow window;
    runOpen(result, window);
    if (result.error) return result;
    result.summary = window.labelCaption(LabelId::Label2);
    runMarkov(result, window, text);
    return result;
}

}  // namespace ritmova::cli
