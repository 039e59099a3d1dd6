#include "cli/recording_output.h"

#include <array>

#include "cli/batch_output.h"

namespace ritmova::cli {
namespace {

std::string_view unitsName(Units units) {
    return units == Units::Milliseconds ? "\"ms\"" : "\"s\"";
}

std::string_view ruleName(ArtifactRule rule) {
    return rule == ArtifactRule::Range ? "range" : "malik";
}

// The window's number, first and last beat and start time, each after its name in JSON or
// its comma in CSV.
void appendWindowPlace(std::string& out, std::size_t window, const RecordingAnalysis& r,
                       const std::array<std::string_view, 4>& names) {
    const std::size_t first = r.firstBeat;
    const std::array<std::size_t, 3> values{window + 1, first, first + BeatCount - 1};
    for (std::size_t i = 0; i < values.size(); ++i) {
        out += names[i];
        AppendNumber(out, values[i]);
    }
    out += names[3];
    AppendNumber(out, r.startSeconds, "null");
}

}  // namespace

std::size_t WindowPlan::count() const {
    return beats < BeatCount ? 0 : (beats - BeatCount) / step + 1;
}

std::size_t WindowPlan::unusedBeats() const {
    const std::size_t windows = count();
    return windows == 0 ? beats : beats - (firstBeat(windows - 1) + BeatCount - 1);
}

std::string_view WindowsCsvHeader() {
    static const std::string header =
        "file,window,first_beat,last_beat,start_s," + std::string(CsvMeasureKeys()) + ",error\n";
    return header;
}

void AppendWindowCsvRow(std::string& out, std::string_view fileField, std::size_t window,
                        const RecordingAnalysis& r) {
    out += fileField;
    appendWindowPlace(out, window, r, {",", ",", ",", ","});
    if (r.error) {
        out.append(CsvMeasureColumns() + 1, ',');
        AppendCsvField(out, *r.error);
    } else {
        AppendCsvMeasures(out, r.analysis);
        out += ',';
    }
    out += '\n';
}

void AppendWindowsJsonStart(std::string& out, const std::string& file, Units units,
                            const WindowPlan& plan) {
    out += "{\"file\":";
    AppendJsonString(out, file);
    out += ",\"beats\":";
    AppendNumber(out, plan.beats);
    out += ",\"units\":";
    out += unitsName(units);
    out += ",\"step\":";
    AppendNumber(out, plan.step);
    out += ",\"unused_beats\":";
    AppendNumber(out, plan.unusedBeats());
    out += ",\"windows\":[";
}

void AppendWindowJson(std::string& out, std::size_t window, const RecordingAnalysis& r) {
    out += window == 0 ? "\n" : ",\n";
    appendWindowPlace(out, window, r,
                      {"{\"window\":", ",\"first_beat\":", ",\"last_beat\":", ",\"start_s\":"});
    if (r.error) {
        out += ",\"error\":";
        AppendJsonString(out, *r.error);
    } else {
        AppendJsonMeasures(out, r.analysis);
    }
    out += '}';
}

double FlaggedPercent(std::span<const ArtifactRule> flags) {
    return flags.empty() ? 0.0
                         : 100.0 * static_cast<double>(FlaggedCount(flags)) /
                               static_cast<double>(flags.size());
}

std::string_view ArtifactsCsvHeader() {
    return "file,beat,value,rule,error\n";
}

void AppendArtifactsCsv(std::string& out, const std::string& file, std::span<const float> intervals,
                        std::span<const ArtifactRule> flags) {
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i] == ArtifactRule::None) continue;
        AppendCsvField(out, file);
        out += ',';
        AppendNumber(out, i + 1);
        out += ',';
        AppendNumber(out, intervals[i], "");
        out += ',';
        out += ruleName(flags[i]);
        out += ",\n";
    }
}

void AppendArtifactsJson(std::string& out, const std::string& file, Units units,
                         std::span<const float> intervals, std::span<const ArtifactRule> flags) {
    out += "{\"file\":";
    AppendJsonString(out, file);
    out += ",\"units\":";
    out += unitsName(units);
    out += ",\"beats\":";
    AppendNumber(out, flags.size());
    out += ",\"flagged\":";
    AppendNumber(out, FlaggedCount(flags));
    out += ",\"percent\":";
    AppendNumber(out, FlaggedPercent(flags), "null");
    out += ",\"intervals\":[";
    bool first = true;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i] == ArtifactRule::None) continue;
        out += first ? "\n{\"beat\":" : ",\n{\"beat\":";
        first = false;
        AppendNumber(out, i + 1);
        out += ",\"value\":";
        AppendNumber(out, intervals[i], "null");
        out += ",\"rule\":\"";
        out += ruleName(flags[i]);
        out += "\"}";
    }
    out += first ? "]}" : "\n]}";
}

}  // namespace ritmova::cli
