#pragma once

#include <QStringList>
#include <cstddef>
#include <optional>

// `ritmova FILE --export OUT.png|svg|pdf [--start BEAT]`: the window's image written without
// showing it, of the 256 beats from BEAT when given.
namespace ritmova {

// True when the command line asks for an export; checked before QApplication starts, so
// that the export can run on the offscreen platform.
bool ExportRequested(int argc, char* argv[]);

// The BEAT of --start: a whole number from 1 on, in decimal digits; nothing for any other text.
std::optional<std::size_t> ParseStartBeat(const QString& text);
// Says on stderr why `text` is no first beat; returns the exit status 2.
int FailStartBeat(const QString& text);

// Runs the export that `arguments` (the program's, its name first) ask for and returns the
// exit status: 0 when written, 1 with the reason on stderr when the Open, the move to the
// window or the export failed, 2 with the usage for arguments it cannot use (or the reason
// for a BEAT that is no beat number). Nothing when no export is asked for.
std::optional<int> RunCommandLineExport(const QStringList& arguments);

}  // namespace ritmova
