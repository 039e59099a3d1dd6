#pragma once

#include "analysis/analysis_state.h"
#include "analysis/interval_file.h"
#include "analysis/pass_values.h"
#include "platform/platform.h"

namespace ritmova {

inline constexpr const char* IntervalFilter = "Interval Files (*.int)|*.int|All Files (*.*)|*.*";

enum class OpenResult { Completed, Cancelled };

// What a pass shows: everything in the window, or only the measures for batch work, where
// texts and plots would go nowhere (r is then computed without the plot and may be absent).
enum class PassOutput { Window, MeasuresOnly };

// Open's first step: clears the window's surface and shows the Open dialog on interval files.
// True when a file was chosen; the dialog then holds its name.
bool ChooseIntervalFile(WindowPort& window);

// The File menu's Open: asks for an interval file, reads its first 256 values and runs the
// whole analysis pass. A cancelled dialog changes nothing. A failed read throws
// CommandFailure and leaves the state as it was; a later failure throws with what the
// earlier steps wrote left in place, as the user sees it (the plots drawn so far stay).
OpenResult OpenCommand(AnalysisState& state, WindowPort& window, PassValues& pass,
                       PassOutput output = PassOutput::Window);

// The pass after the read: commits the values, computes every measure, writes the summary
// and the report, enables Save results and draws the three plots.
void RunAnalysisPass(AnalysisState& state, WindowPort& window, const IntervalValues& values,
                     PassValues& pass, PassOutput output = PassOutput::Window);

}  // namespace ritmova
