#include "target_checks.h"

#include <algorithm>
#include <cstring>
#include <variant>

#include "analysis/interval_file.h"
#include "analysis/recording.h"
#include "cli/batch_output.h"
#include "cli/command_line.h"
#include "cli/recording_analysis.h"
#include "common/command_failure.h"
#include "output_checks.h"
#include "ui/window_command_line.h"

namespace ritmova::fuzz {
namespace {

// What a reader gave: its result, or its failure's reason.
template <typename Result>
using ReadOutcome = std::variant<Result, std::string>;
using Outcome = ReadOutcome<IntervalValues>;
using RecordingOutcome = ReadOutcome<Recording>;

template <typename Read>
auto outcomeOf(Read read) -> ReadOutcome<decltype(read())> {
    try {
        return read();
    } catch (const CommandFailure& failure) {
        return std::string(failure.what());
    }
}

std::string describe(const Outcome& outcome) {
    if (const auto* reason = std::get_if<std::string>(&outcome)) return "failure '" + *reason + "'";
    return "256 values";
}

bool sameBits(const Outcome& a, const Outcome& b) {
    if (a.index() != b.index()) return false;
    if (a.index() == 1) return std::get<1>(a) == std::get<1>(b);
    return std::memcmp(std::get<0>(a).data(), std::get<0>(b).data(), sizeof(IntervalValues)) == 0;
}

std::string json(const cli::RecordingAnalysis& recording) {
    std::string out(cli::JsonArrayStart);
    out += cli::JsonArrayItem(0);
    cli::AppendJsonObject(out, recording);
    return out += cli::JsonArrayEnd;
}

std::string csv(const cli::RecordingAnalysis& recording) {
    std::string out(cli::CsvHeader());
    cli::AppendCsvRow(out, recording);
    return out;
}

bool sameRecording(const RecordingOutcome& a, const RecordingOutcome& b) {
    if (a.index() != b.index()) return false;
    if (a.index() == 1) return std::get<1>(a) == std::get<1>(b);
    const Recording& x = std::get<0>(a);
    const Recording& y = std::get<0>(b);
    return x.units == y.units && x.intervals.size() == y.intervals.size() &&
           std::memcmp(x.intervals.data(), y.intervals.data(),
                       x.intervals.size() * sizeof(float)) == 0;
}

// Reading as far as the values go gives what the whole reading gives, or, where that fails,
// stops with the same reason.
bool readsAsFarAsTheWholeReading(std::string_view bytes, const ReadOptions& options,
                                 const RecordingOutcome& whole) {
    const ReadOutcome<PartialRecording> partial =
        outcomeOf([&] { return ParseRecordingUntilFailure(bytes, options); });
    const auto* failure = std::get_if<std::string>(&whole);
    if (const auto* reason = std::get_if<std::string>(&partial))
        return failure && *reason == *failure;
    const PartialRecording& read = std::get<PartialRecording>(partial);
    if (failure) return read.stopReason == *failure && !read.recording.intervals.empty();
    return read.stopReason.empty() && sameRecording(read.recording, whole);
}

}  // namespace

std::optional<std::string> ReaderDisagreement(std::string_view bytes, const std::string& path) {
    const Outcome fromMemory = outcomeOf([&] { return ParseIntervals(bytes); });
    const Outcome fromFile = outcomeOf([&] { return ReadIntervalFile(path); });
    if (sameBits(fromMemory, fromFile)) return std::nullopt;
    return "memory reader: " + describe(fromMemory) + "; file reader: " + describe(fromFile);
}

std::optional<std::string> PassFault(const std::string& path) {
    const cli::RecordingAnalysis withTexts = cli::AnalyseRecording(path, {}, cli::Texts::Build);
    const cli::RecordingAnalysis measures = cli::AnalyseRecording(path, {}, cli::Texts::Skip);
    const std::string jsonText = json(withTexts);
    const std::string csvText = csv(withTexts);
    if (!IsJson(jsonText)) return "not JSON: " + jsonText;
    if (!IsCsv(csvText)) return "not CSV: " + csvText;
    if (json(measures) != jsonText || csv(measures) != csvText) {
        return "the measures differ without the texts:\n" + jsonText + "\n" + json(measures);
    }
    if (withTexts.error) return std::nullopt;
    if (!IsTextOfLines(withTexts.summary, 12, false))
        return "a summary of other lines: " + jsonText;
    if (!IsTextOfLines(withTexts.report, 16, true)) {
        return "a report of other lines: " + withTexts.report;
    }
    return std::nullopt;
}

std::optional<std::string> OptionsFault(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv{"ritmova-cli"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    const cli::ParsedCommandLine cli =
        cli::ParseCommandLine(static_cast<int>(argv.size() - 1), argv.data());
    if (cli.exitStatus && *cli.exitStatus != 0 && *cli.exitStatus != 2) {
        return "ritmova-cli's exit status " + std::to_string(*cli.exitStatus);
    }
    const std::vector<std::string>& files = cli.line.files;
    if (!cli.exitStatus && (files.empty() || std::count(files.begin(), files.end(), "-") > 1)) {
        return "ritmova-cli runs " + cli.line.command + " without files or with - twice";
    }
    if (!IsUtf8(cli.out) || !IsUtf8(cli.err)) return "ritmova-cli's messages: " + cli.err;
    const WindowCommandLine window = ParseWindowCommandLine(arguments);
    const bool failed = window.request == WindowRequest::UsageError;
    if (failed != !window.message.empty() || !IsUtf8(window.message)) {
        return "ritmova's usage message: " + window.message;
    }
    if (window.request == WindowRequest::Export && (!window.file || window.image.empty())) {
        return "ritmova exports without a recording or an image";
    }
    return std::nullopt;
}

std::optional<std::string> RecordingReaderDisagreement(std::string_view bytes,
                                                       const std::string& path) {
    // Plain values in seconds, milliseconds and either; a header line and a second column.
    const ReadOptions choices[] = {{},
                                   {UnitsChoice::Milliseconds, 0, 0},
                                   {UnitsChoice::Auto, 0, 0},
                                   {UnitsChoice::Seconds, 1, 2}};
    for (const ReadOptions& options : choices) {
        const RecordingOutcome fromMemory =
            outcomeOf([&] { return ParseRecording(bytes, options); });
        const RecordingOutcome fromFile = outcomeOf([&] { return ReadRecording(path, options); });
        if (!sameRecording(fromMemory, fromFile)) {
            return "the memory and file recording readers disagree (skip " +
                   std::to_string(options.skipLines) + ", column " +
                   std::to_string(options.column) + ")";
        }
        if (!readsAsFarAsTheWholeReading(bytes, options, fromMemory)) {
            return "reading as far as the values go disagrees with the whole reading";
        }
        if (const auto* reason = std::get_if<std::string>(&fromMemory);
            reason && !IsUtf8(*reason)) {
            return "a reason that is not UTF-8: " + *reason;
        }
    }
    return std::nullopt;
}

}  // namespace ritmova::fuzz
