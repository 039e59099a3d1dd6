#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/recording.h"
#include "report/hrv_report_data.h"

// The window's command line, `ritmova [FILE] [--start BEAT] [--export OUT]` or `ritmova FILE
// --report OUT.pdf` with the console tool's reading and hrv options, parsed without
// the toolkit, so that usage errors are told before any window or display is needed. Names
// stay the bytes they were given as, whatever their encoding.
namespace ritmova {

enum class WindowRequest { Window, Export, Report, Help, HelpAll, Version, UsageError };

struct WindowCommandLine {
    WindowRequest request = WindowRequest::Window;
    std::optional<std::string> file;       // FILE, to open at start
    std::string image;                     // --export OUT
    std::optional<std::size_t> firstBeat;  // --start BEAT
    std::string message;                   // UsageError: what standard error says, in lines, UTF-8
    std::string unknownOption;             // UsageError for an option it does not know: the option
    std::string report;                    // --report OUT
    ReadOptions read;                      // Report: --units, --skip-lines, --column
    HrvReportSettings hrv;                 // Report: --from, --to, --correct
};

// Parses the arguments after the program's name: FILE, --export OUT and --start BEAT (or
// --export=OUT, --start=BEAT) in any order, each at most once; or FILE and --report OUT with
// --from, --to, --correct, --units, --skip-lines and --column, as the console tool reads them; -h,
// -?, --help, --help-all, -v and --version; after "--", only files. Options are matched whole, so
// "rec--export.int" is a file. A usage error's message names what was given, quoted by SafeText.
WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& arguments);

// The BEAT of --start: a whole number from 1 on, in decimal digits; nothing for any other text.
std::optional<std::size_t> ParseStartBeat(std::string_view text);

}  // namespace ritmova
