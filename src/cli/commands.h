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

}  // namespace ritmova::cli
