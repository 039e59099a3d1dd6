#pragma once

#include "ui/window_command_line.h"

// `ritmova FILE --report OUT.pdf` with the console tool's options: the HRV report written
// without showing a window.
namespace ritmova {

// Reads the recording as `line` asks, analyses it and writes the report; returns the exit
// status: 0 when written, 1 with the reason on stderr when the reading, the analysis or the
// save failed (an existing OUT is then left as it was).
int RunCommandLineReport(const WindowCommandLine& line);

}  // namespace ritmova
