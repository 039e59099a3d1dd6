#pragma once

#include "ui/window_command_line.h"

// `ritmova FILE --export OUT.png|svg|pdf [--start BEAT]`: the window's image written without
// showing it, of the 256 beats from BEAT when given.
namespace ritmova {

// Runs the export that `line` (an Export request) asks for and returns the exit status: 0 when
// written, 1 with the reason on stderr when the Open, the move to the window or the export
// failed. The names are the bytes given; the reason shows them quoted safely.
int RunCommandLineExport(const WindowCommandLine& line);

}  // namespace ritmova
