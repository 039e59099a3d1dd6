#pragma once

#include <string>
#include <string_view>

#include "common/command_failure.h"

namespace ritmova {

// A save that failed: what() names the file ("cannot write PATH: reason"), reason() alone
// does not.
class SaveFailure : public CommandFailure {
  public:
    SaveFailure(const std::string& what, std::string reason)
        : CommandFailure(what + ": " + reason), reason_(std::move(reason)) {}
    const std::string& reason() const { return reason_; }

  private:
    std::string reason_;
};

// Writes `content` to the file `path` names (its bytes, as the system takes them). A regular
// file, or a new one, is replaced atomically: the content goes to a new hidden file of a
// unique name in the same folder, is synced, then renamed over the file, which keeps its
// owner when that may be given and its permission bits; a failed save leaves it as it was and
// no temporary file behind. A device, FIFO or socket is written directly, as the shell's `>`
// does. Symbolic links are followed by the program itself, so in a sticky, world-writable
// folder (/tmp) a link is followed only when the caller or the folder's owner owns it, the
// rule the system applies to the links it follows. Refused: an existing file the caller may
// not write, and the file at `recording` ("-" for standard input) when given, so that a
// report never replaces the recording it was made from. Throws SaveFailure with the reason.
void SaveFile(const std::string& path, std::string_view content, const std::string& recording = "");

}  // namespace ritmova
