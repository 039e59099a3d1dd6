#pragma once

#include <string>

namespace ritmova {

// Writes the report and one more CR LF to `path` by SaveFile's rules (report/file_save.h):
// a regular file is replaced atomically, a device or FIFO written as it is; a symbolic link
// stays a link and the file it points to is replaced. A failed save leaves an existing file
// as it was and no temporary file behind. The file at `recording`, the report's own, is never
// replaced. Throws CommandFailure with the reason, naming `path`.
void WriteReportFile(const std::string& path, const std::string& reportText,
                     const std::string& recording = "");

}  // namespace ritmova
