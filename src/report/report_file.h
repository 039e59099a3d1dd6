#pragma once

#include <string>

namespace ritmova {

// Writes the report and one more CR LF to `path`, replacing the file atomically: the text goes
// to a new hidden file of a unique name in the same folder, is synced, then renamed over the
// file. An existing file keeps its permission bits; a symbolic link stays a link and the file
// it points to is replaced. A failed save leaves an existing file as it was and no temporary
// file behind. Throws CommandFailure with the reason, naming `path`.
void WriteReportFile(const std::string& path, const std::string& reportText);

}  // namespace ritmova
