#pragma once

#include "cli/commands.h"

namespace ritmova::cli {

// beats: the beats of an ECG record as times in seconds, sample numbers or a WFDB annotation
// file. rr: its R-R intervals in seconds, one per line. Both write "RECORD: reason" on stderr
// and return 1 when the record cannot be read.
int RunBeats(const CommandLine& line);
int RunRr(const CommandLine& line);

}  // namespace ritmova::cli
