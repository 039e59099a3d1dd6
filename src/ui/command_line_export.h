#pragma once

#include <QStringList>
#include <optional>

// `ritmova FILE --export OUT.png|svg|pdf`: the window's image written without showing it.
namespace ritmova {

// True when the command line asks for an export; checked before QApplication starts, so
// that the export can run on the offscreen platform.
bool ExportRequested(int argc, char* argv[]);

// Runs the export that `arguments` (the program's, its name first) ask for and returns the
// exit status: 0 when written, 1 with the reason on stderr when the Open or the export
// failed, 2 with the usage for arguments it cannot use. Nothing when no export is asked for.
std::optional<int> RunCommandLineExport(const QStringList& arguments);

}  // namespace ritmova
