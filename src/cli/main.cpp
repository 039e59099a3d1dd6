// ritmova-cli: the analysis of interval files without a window, for batch work.
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch_output.h"
#include "cli/recording_analysis.h"

namespace {

constexpr const char* Usage =
    "Usage: ritmova-cli COMMAND FILE...\n"
    "Heart rate variability analysis of the first 256 R-R intervals (seconds) of each FILE.\n"
    "\n"
    "Commands:\n"
    "  report FILE     the results report, exactly as Save results writes it\n"
    "  summary FILE    the 12-line results summary\n"
    "  markov FILE     the Markov analysis panel text\n"
    "  json FILE...    a JSON array with every measure and the power spectrum of each file\n"
    "  csv FILE...     a CSV table with one row of measures per file\n"
    "\n"
    "Options:\n"
    "  --help          show this help\n"
    "  --version       show the version\n"
    "\n"
    "Exit status: 0 when every file was analysed, 1 when any failed, 2 for a usage error.\n";

using ritmova::cli::AnalyseRecording;
using ritmova::cli::RecordingAnalysis;

int usageError(const std::string& message) {
    std::cerr << "ritmova-cli: " << message << "\n" << Usage;
    return 2;
}

void reportFailure(const std::string& file, const std::string& reason) {
    std::cerr << file << ": " << reason << '\n';
}

// report, summary, markov: one file, one text.
int printText(std::string_view command, const std::string& file) {
    const RecordingAnalysis r = AnalyseRecording(file);
    if (r.error) {
        reportFailure(file, *r.error);
        return 1;
    }
    if (command == "report") {
        std::cout << r.state.ReportText << "\r\n";
    } else if (command == "summary") {
        std::cout << r.summary;
    } else if (!r.markovCompleted) {
        reportFailure(file, r.markovError);
        return 1;
    } else {
        std::cout << r.markovText;
    }
    return 0;
}

template <typename Begin, typename Write, typename End>
int analyseAll(const std::vector<std::string>& files, Begin begin, Write write, End end) {
    int status = 0;
    begin();
    for (const std::string& file : files) {
        const RecordingAnalysis r = AnalyseRecording(file, ritmova::cli::Texts::Skip);
        if (r.error) {
            reportFailure(file, *r.error);
            status = 1;
        }
        write(r);
    }
    end();
    return status;
}

int printTable(std::string_view command, const std::vector<std::string>& files) {
    if (command == "json") {
        ritmova::cli::JsonWriter writer(std::cout);
        return analyseAll(
            files, [&] { writer.begin(); }, [&](const RecordingAnalysis& r) { writer.write(r); },
            [&] { writer.end(); });
    }
    return analyseAll(
        files, [] { ritmova::cli::WriteCsvHeader(std::cout); },
        [](const RecordingAnalysis& r) { ritmova::cli::WriteCsvRow(std::cout, r); }, [] {});
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usageError("no command given");
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        std::cout << Usage;
        return 0;
    }
    if (command == "--version") {
        std::cout << "ritmova-cli " << RITMOVA_VERSION << '\n';
        return 0;
    }
    const std::vector<std::string> files(args.begin() + 1, args.end());
    if (command == "report" || command == "summary" || command == "markov") {
        if (files.size() != 1) return usageError(command + " takes exactly one FILE");
        return printText(command, files[0]);
    }
    if (command == "json" || command == "csv") {
        if (files.empty()) return usageError(command + " needs at least one FILE");
        return printTable(command, files);
    }
    return usageError("unknown command '" + command + "'");
}
