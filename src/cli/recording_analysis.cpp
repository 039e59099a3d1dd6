#include "cli/recording_analysis.h"

#include "analysis/open_command.h"
#include "common/command_failure.h"
#include "markov/markov_command.h"
#include "platform/headless_window.h"
#include "ui/plots.h"

namespace ritmova::cli {
namespace {

void runOpen(RecordingAnalysis& result, HeadlessWindow& window, Texts texts) {
    window.openDialog().setFileName(result.file);
    const PassOutput output = texts == Texts::Build ? PassOutput::Window : PassOutput::MeasuresOnly;
    try {
        if (OpenCommand(result.state, window, result.pass, output) == OpenResult::Cancelled) {
            result.error = "no file name given";
        }
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
    result.markovText = window.labelCaption(LabelId::Label5);
}

}  // namespace

RecordingAnalysis AnalyseRecording(const std::string& file, Texts texts) {
    RecordingAnalysis result;
    result.file = file;
    HeadlessWindow window;
    runOpen(result, window, texts);
    if (result.error) return result;
    result.summary = window.labelCaption(LabelId::Label2);
    runMarkov(result, window, texts);
    return result;
}

}  // namespace ritmova::cli
