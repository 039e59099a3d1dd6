#pragma once

#include <optional>
#include <string>

#include "cli/commands.h"

namespace ritmova::cli {

// What the console tool's command line asks for: a command to run, or text to print (help,
// the version, or a usage error's reason and the usage) and the exit status to end with.
struct ParsedCommandLine {
    CommandLine line;
    std::optional<int> exitStatus;  // set when there is nothing to run: 0, or 2 for a usage error
    std::string out;                // for standard output
    std::string err;                // for standard error
};

// Parses the arguments (the program's name first) as the console tool does. Never throws
// for any arguments; every message is valid UTF-8, names from the arguments quoted safely.
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);

}  // namespace ritmova::cli
