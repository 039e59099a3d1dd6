#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ritmova::fuzz {

// What each fuzz target checks of one input, shared with the regression tests that read every
// kept finding again. Each returns what went wrong, or nothing.

// `bytes` read from memory and the file at `path` holding the same bytes give the same 256
// values bit for bit, or fail with the same reason.
std::optional<std::string> ReaderDisagreement(std::string_view bytes, const std::string& path);

// The whole-recording reader, from memory and from the file at `path`, under several read
// options: the same intervals and units bit for bit, or the same reason, and that in UTF-8.
std::optional<std::string> RecordingReaderDisagreement(std::string_view bytes,
                                                       const std::string& path);

// The whole analysis of the file at `path`, with and without the texts: the same JSON and CSV
// output, and that output well formed; the summary and the report, whatever the file's name,
// their 12 and 16 lines each one line, in UTF-8 without control bytes.
std::optional<std::string> PassFault(const std::string& path);

// Both programs' option parsing of `arguments` (after the program's name): no exception, an
// exit status of 0 or 2 when there is nothing to run, a command to run that standard input
// can serve, and every message in well-formed UTF-8.
std::optional<std::string> OptionsFault(const std::vector<std::string>& arguments);

}  // namespace ritmova::fuzz
