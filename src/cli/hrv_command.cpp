#include "cli/hrv_command.h"

#include <algorithm>
#include <cstdio>
#include <thread>
#include <utility>

#include "cli/batch_output.h"
#include "cli/commands.h"
#include "cli/hrv_output.h"
#include "cli/ordered_work.h"
#include "common/command_failure.h"
#include "common/safe_text.h"
#include "standard/series.h"

namespace ritmova::cli {
namespace {

using namespace standard;

// Small, so that the two workers finish close together; a chunk costs one lock and one write.
constexpr std::size_t FilesPerChunk = 32;

void appendReason(std::string& err, std::string_view name, std::string_view reason) {
    err += SafeText(name);
    err += ": ";
    err += SafeText(reason);
    err += '\n';
}

std::string secondsText(double seconds) {
    std::string text;
    AppendNumber(text, seconds, "");
    return text + " s";
}

std::string beatsName(std::string_view file, const Stretch& s) {
    return std::string(file) + " (beats " + std::to_string(s.firstBeat) + "-" +
           std::to_string(s.lastBeat) + ")";
}

// A recording read whole, its values above 0, what the texts call it (the file, or an ECG
// record with its beat source) and the stretches the options choose.
struct PlannedRecording {
    Recording recording;
    std::string name;
    StretchPlan plan;
};

PlannedRecording readAndPlan(const CommandLine& line, const std::string& file, std::string& err) {
    AnalysisOptions options = line.analysis;
    options.read.exact = true;
    NamedRecording named = ReadAnyRecording(file, options);
    PlannedRecording planned{std::move(named.recording), std::move(named.name), {}};
    const ReadOptions& read = options.read;
    Recording& recording = planned.recording;
    if (read.units == UnitsChoice::Auto) {
        appendReason(err, file,
                     recording.units == Units::Milliseconds
                         ? "values taken as milliseconds (--units auto)"
                         : "values taken as seconds (--units auto)");
    }
    std::vector<float>().swap(recording.intervals);  // the legacy values are not needed here
    RequirePositiveIntervals(recording.milliseconds);
    planned.plan = PlanStretches(BeatTimes(recording.milliseconds), line.hrv.stretch);
    return planned;
}

// Every stretch of one file into `text`.
void analyseFile(const CommandLine& line, std::size_t index, ChunkText& text) {
    const std::string& file = line.files[index];
    const bool json = line.hrv.json;
    std::size_t objects = 0;
    // Every file gives at least one object, so the first of file 0 is the first of all.
    const auto startItem = [&] {
        if (json) text.out += JsonArrayItem(index + objects++);
    };
    PlannedRecording planned;
    try {
        planned = readAndPlan(line, file, text.err);
    } catch (const CommandFailure& failure) {
        startItem();
        json ? AppendHrvJsonFailure(text.out, file, nullptr, failure.what())
             : AppendHrvCsvFailure(text.out, file, nullptr, failure.what());
        appendReason(text.err, file, failure.what());
        text.failed = true;
        return;
    }
    const StretchPlan& plan = planned.plan;
    const std::string& name = planned.name;
    if (plan.leftOut) {
        appendReason(text.err, beatsName(name, *plan.leftOut),
                     "the last " + secondsText(plan.leftOut->endS - plan.leftOut->startS) +
                         " do not fill a segment and are left out");
    }
    const std::span<const double> all = planned.recording.milliseconds;
    for (std::size_t k = 0; k < plan.stretches.size(); ++k) {
        const Stretch& stretch = plan.stretches[k];
        startItem();
        try {
            const StretchResults results =
                AnalyseStretch(all.subspan(stretch.firstBeat - 1, stretch.intervals()), stretch,
                               line.hrv.analysis);
            HrvStretchOutput output{
                name,         planned.recording.units, &line.hrv.stretch, &results,
                std::nullopt, line.hrv.densities};
            if (k + 1 == plan.stretches.size()) output.leftOut = plan.leftOut;
            json ? AppendHrvJson(text.out, output) : AppendHrvCsvRow(text.out, output);
        } catch (const CommandFailure& failure) {
            json ? AppendHrvJsonFailure(text.out, name, &stretch, failure.what())
                 : AppendHrvCsvFailure(text.out, name, &stretch, failure.what());
            appendReason(text.err, beatsName(name, stretch), failure.what());
            text.failed = true;
        }
    }
}

}  // namespace

int RunHrv(const CommandLine& line) {
    const bool json = line.hrv.json;
    const std::string header = json ? std::string(JsonArrayStart) : HrvCsvHeader();
    std::fwrite(header.data(), 1, header.size(), stdout);
    const bool parallel = std::thread::hardware_concurrency() > 1 &&
                          std::find(line.files.begin(), line.files.end(), "-") == line.files.end();
    bool failed = false;
    ForEachInOrder(
        line.files.size(), FilesPerChunk, parallel,
        [&](std::size_t, std::size_t index, ChunkText& text) { analyseFile(line, index, text); },
        [&](const ChunkText& text) {
            std::fwrite(text.out.data(), 1, text.out.size(), stdout);
            std::fwrite(text.err.data(), 1, text.err.size(), stderr);
            failed |= text.failed;
        });
    if (json) std::fwrite(JsonArrayEnd.data(), 1, JsonArrayEnd.size(), stdout);
    return failed ? 1 : 0;
}

}  // namespace ritmova::cli
