#pragma once

#include <string>
#include <vector>

#include "cli/recording_analysis.h"

namespace ritmova::cli {

// A console tool command as the command line gave it.
struct CommandLine {
    std::string command;  // report, summary, markov, json, csv, windows, artifacts, beats, rr
    std::vector<std::string> files;
    AnalysisOptions analysis;
    std::size_t step = 256;  // windows
    std::string format;      // windows, artifacts: "csv" or "json"; beats: times, samples, wfdb
    std::string output;      // report, beats, rr: the file to write; empty: standard output
};

// Runs the command, writing its output on stdout and its reasons on stderr as
// "FILE: reason". Returns the exit status: 0 when every file was analysed, 1 when any failed.
int RunCommand(const CommandLine& line);

// Flushes and closes standard output, the tool's last step. A write that failed on the way
// (a full disk, a closed output, the file size limit) or now is told on stderr as
// "ritmova-cli: write error: reason", and the exit status becomes 1; else it stays `status`.
int CloseOutput(int status);

}  // namespace ritmova::cli
