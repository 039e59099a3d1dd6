#include "cli/commands.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>
#include <thread>

#include "cli/batch_output.h"
#include "cli/ecg_commands.h"
#include "cli/ordered_work.h"
#include "cli/recording_output.h"
#include "common/command_failure.h"
#include "common/safe_text.h"
#include "report/report_file.h"

namespace ritmova::cli {
namespace {

// Small, so that the two workers finish close together; a chunk costs one lock and one write.
constexpr std::size_t FilesPerChunk = 32;
constexpr std::size_t WindowsPerChunk = 512;

// The reason of the first write to standard output that failed; 0 while none has.
int outputError = 0;

void write(std::FILE* stream, std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size() && stream == stdout &&
        outputError == 0) {
        outputError = errno;
    }
}

// "NAME: reason", both quoted safely.
void appendReason(std::string& err, std::string_view file, std::string_view reason) {
    err += SafeText(file);
    err += ": ";
    err += SafeText(reason);
    err += '\n';
}

// With --units auto, which units the file's values were taken in.
void appendUnitsNote(std::string& err, const CommandLine& line, const std::string& file,
                     Units units) {
    if (line.analysis.read.units != UnitsChoice::Auto) return;
    appendReason(err, file,
                 units == Units::Milliseconds ? "values taken as milliseconds (--units auto)"
                                              : "values taken as seconds (--units auto)");
}

// Standard input cannot be shared by two threads; one core is no use for two.
bool parallelFiles(const std::vector<std::string>& files) {
    return std::thread::hardware_concurrency() > 1 &&
           std::find(files.begin(), files.end(), "-") == files.end();
}

// Writes a chunk's texts; returns whether any of its items failed.
bool consume(const ChunkText& text) {
    write(stdout, text.out);
    write(stderr, text.err);
    return text.failed;
}

// Writes "NAME: reason" on stderr at once.
void warn(std::string_view name, std::string_view reason) {
    std::string text;
    appendReason(text, name, reason);
    write(stderr, text);
}

int fail(std::string_view name, std::string_view reason) {
    warn(name, reason);
    return 1;
}

// report, summary, markov: one file, one text; report -o writes the file instead.
int printText(const CommandLine& line) {
    const std::string& file = line.files.front();
    const RecordingAnalysis r = AnalyseRecording(file, line.analysis, Texts::Build);
    std::string note;
    if (r.beats > 0) appendUnitsNote(note, line, file, r.units);
    write(stderr, note);
    if (r.error) return fail(file, *r.error);
    if (line.command == "markov" && !r.analysis.markovCompleted()) {
        return fail(file, r.analysis.markovFailure);
    }
    if (line.command == "report" && !line.output.empty()) {
        try {
            WriteReportFile(line.output, r.report, file);
        } catch (const CommandFailure& failure) {
            write(stderr, SafeText(failure.what()) + "\n");
            return 1;
        }
        return 0;
    }
    if (line.command == "report") {
        write(stdout, r.report + "\r\n");
    } else {
        write(stdout, line.command == "summary" ? r.summary : r.markovText);
    }
    return 0;
}

// json, csv: one object or row per file.
int printTable(const CommandLine& line) {
    const bool json = line.command == "json";
    write(stdout, json ? JsonArrayStart : CsvHeader());
    std::array<WindowAnalyser, 2> analysers;  // one per worker, reused file after file
    bool failed = false;
    ForEachInOrder(
        line.files.size(), FilesPerChunk, parallelFiles(line.files),
        [&](std::size_t worker, std::size_t index, ChunkText& text) {
            const std::string& file = line.files[index];
            const RecordingAnalysis& r =
                AnalyseRecording(analysers[worker], file, line.analysis, Texts::Skip);
            if (r.beats > 0) appendUnitsNote(text.err, line, file, r.units);
            if (r.error) {
                appendReason(text.err, file, *r.error);
                text.failed = true;
            }
            if (json) {
                text.out += JsonArrayItem(index);
                AppendJsonObject(text.out, r);
            } else {
                AppendCsvRow(text.out, r);
            }
        },
        [&](const ChunkText& text) { failed |= consume(text); });
    if (json) write(stdout, JsonArrayEnd);
    return failed ? 1 : 0;
}

// A recording read whole, for windows and artifacts, and what the texts call it; nullopt and
// the reason when it failed.
std::optional<Recording> readWhole(const CommandLine& line, const std::string& file,
                                   std::string& name, std::string& reason) {
    try {
        NamedRecording named = ReadAnyRecording(file, line.analysis);
        std::string note;
        appendUnitsNote(note, line, file, named.recording.units);
        write(stderr, note);
        name = std::move(named.name);
        return std::move(named.recording);
    } catch (const CommandFailure& failure) {
        reason = failure.what();
        return std::nullopt;
    }
}

// A recording that gives a reason instead of its rows or object.
bool failFile(const CommandLine& line, std::string& out, const std::string& file,
              std::size_t csvColumns, const std::string& reason) {
    if (line.format == "json") {
        AppendJsonFailure(out, file, reason);
    } else {
        AppendCsvFailure(out, file, csvColumns, reason);
    }
    write(stdout, out);
    fail(file, reason);
    return true;
}

// The windows of one recording, two chunks at a time; returns whether any failed.
bool printRecordingWindows(const CommandLine& line, const std::string& file,
                           const Recording& recording, const WindowPlan& plan) {
    // `file` is what the texts call the recording.
    const std::vector<ArtifactRule> flags =
        FlagArtifacts(recording.intervals, line.analysis.limits);
    const bool json = line.format == "json";
    std::string fileField;
    AppendCsvField(fileField, file);
    std::array<WindowAnalyser, 2> analysers;
    std::array<StartClock, 2> clocks;
    bool failed = false;
    ForEachInOrder(
        plan.count(), WindowsPerChunk, std::thread::hardware_concurrency() > 1,
        [&](std::size_t worker, std::size_t window, ChunkText& text) {
            const std::size_t first = plan.firstBeat(window);
            WindowAnalyser& analyser = analysers[worker];
            const RecordingAnalysis& r = analyser.analyse(recording.intervals, flags, first, file);
            analyser.result().startSeconds = clocks[worker].at(recording.intervals, first);
            if (r.error) {
                appendReason(text.err, WindowName(file, first), *r.error);
                text.failed = true;
            }
            if (json) {
                AppendWindowJson(text.out, window, r);
            } else {
                AppendWindowCsvRow(text.out, fileField, window, r);
            }
        },
        [&](const ChunkText& text) { failed |= consume(text); });
    return failed;
}

// windows: every complete window of the file; returns whether anything failed.
bool printWindows(const CommandLine& line, std::size_t fileIndex) {
    const std::string& file = line.files[fileIndex];
    const bool json = line.format == "json";
    std::string out(json ? JsonArrayItem(fileIndex) : "");
    std::string name = file, reason;
    const std::optional<Recording> recording = readWhole(line, file, name, reason);
    const WindowPlan plan{recording ? recording->intervals.size() : 0, line.step};
    if (recording && plan.count() == 0) {
        reason = "only " + std::to_string(plan.beats) + " values, 256 needed";
    }
    if (!reason.empty()) {
        return failFile(line, out, file, WindowsLeadingColumns + CsvMeasureColumns(), reason);
    }
    if (json) AppendWindowsJsonStart(out, name, recording->units, plan);
    write(stdout, out);
    const bool failed = printRecordingWindows(line, name, *recording, plan);
    if (json) write(stdout, WindowsJsonEnd);
    return failed;
}

// artifacts: the flagged intervals of the file; returns whether it failed.
bool printArtifacts(const CommandLine& line, std::size_t fileIndex) {
    const std::string& file = line.files[fileIndex];
    const bool json = line.format == "json";
    std::string out(json ? JsonArrayItem(fileIndex) : "");
    std::string name = file, reason;
    const std::optional<Recording> recording = readWhole(line, file, name, reason);
    if (!recording) return failFile(line, out, file, ArtifactsCsvColumns, reason);
    const std::vector<ArtifactRule> flags =
        FlagArtifacts(recording->intervals, line.analysis.limits);
    const double percent = FlaggedPercent(flags);
    if (percent > 5) {
        char warning[96];
        std::snprintf(warning, sizeof warning,
                      "warning: %.1f %% of the intervals are flagged as artifacts", percent);
        warn(file, warning);
    }
    if (json) {
        AppendArtifactsJson(out, name, recording->units, recording->intervals, flags);
    } else {
        AppendArtifactsCsv(out, name, recording->intervals, flags);
    }
    write(stdout, out);
    return false;
}

// windows, artifacts: one recording after another.
int printRecordings(const CommandLine& line) {
    const bool json = line.format == "json";
    const bool windows = line.command == "windows";
    write(stdout, json ? JsonArrayStart : windows ? WindowsCsvHeader() : ArtifactsCsvHeader());
    bool failed = false;
    for (std::size_t i = 0; i < line.files.size(); ++i) {
        failed |= windows ? printWindows(line, i) : printArtifacts(line, i);
    }
    if (json) write(stdout, JsonArrayEnd);
    return failed ? 1 : 0;
}

}  // namespace

int RunCommand(const CommandLine& line) {
    const std::string& command = line.command;
    if (command == "beats") return RunBeats(line);
    if (command == "rr") return RunRr(line);
    if (command == "report" || command == "summary" || command == "markov") return printText(line);
    if (command == "json" || command == "csv") return printTable(line);
    if (command == "hrv") return RunHrv(line);
    return printRecordings(line);
}

int CloseOutput(int status) {
    if (std::fflush(stdout) != 0 && outputError == 0) outputError = errno;
    if (std::ferror(stdout) && outputError == 0) outputError = EIO;
    if (std::fclose(stdout) != 0 && outputError == 0) outputError = errno;
    if (outputError == 0) return status;
    const std::string message =
        std::string("ritmova-cli: write error: ") + std::strerror(outputError) + "\n";
    std::fputs(message.c_str(), stderr);
    return 1;
}

}  // namespace ritmova::cli
