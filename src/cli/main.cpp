// ritmova-cli: the analysis of interval files without a window, for batch work.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "cli/command_line.h"
#include "cli/commands.h"

namespace {

// A standard stream that was closed is held by /dev/null, read-only, so that no file the tool
// opens takes its place: writes to standard output then fail and are told, instead of going
// into a report or recording.
void holdClosedStandardStreams() {
    for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
        // The lowest free descriptor is this one: the lower streams are open by now.
        if (fcntl(stream, F_GETFD) == -1) static_cast<void>(open("/dev/null", O_RDONLY));
    }
}

}  // namespace

int main(int argc, char** argv) {
    holdClosedStandardStreams();
    // A write beyond the file size limit fails with EFBIG and is told, instead of ending the
    // tool with a temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    const ritmova::cli::ParsedCommandLine parsed = ritmova::cli::ParseCommandLine(argc, argv);
    if (parsed.exitStatus) {
        std::fputs(parsed.err.c_str(), stderr);
        std::fputs(parsed.out.c_str(), stdout);
        return ritmova::cli::CloseOutput(*parsed.exitStatus);
    }
    return ritmova::cli::CloseOutput(ritmova::cli::RunCommand(parsed.line));
}
