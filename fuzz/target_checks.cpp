#include "target_checks.h"

#include <cstring>
#include <sstream>
#include <variant>

#include "analysis/interval_file.h"
#include "cli/batch_output.h"
#include "cli/recording_analysis.h"
#include "common/command_failure.h"
#include "output_checks.h"

namespace ritmova::fuzz {
namespace {

using Outcome = std::variant<IntervalValues, std::string>;

template <typename Read>
Outcome outcomeOf(Read read) {
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
    std::ostringstream out;
    cli::JsonWriter writer(out);
    writer.begin();
    writer.write(recording);
    writer.end();
    return out.str();
}

std::string csv(const cli::RecordingAnalysis& recording) {
    std::ostringstream out;
    cli::WriteCsvHeader(out);
    cli::WriteCsvRow(out, recording);
    return out.str();
}

}  // namespace

std::optional<std::string> ReaderDisagreement(std::string_view bytes, const std::string& path) {
    const Outcome fromMemory = outcomeOf([&] { return ParseIntervals(bytes); });
    const Outcome fromFile = outcomeOf([&] { return ReadIntervalFile(path); });
    if (sameBits(fromMemory, fromFile)) return std::nullopt;
    return "memory reader: " + describe(fromMemory) + "; file reader: " + describe(fromFile);
}

std::optional<std::string> PassFault(const std::string& path) {
    const cli::RecordingAnalysis withTexts = cli::AnalyseRecording(path, cli::Texts::Build);
    const cli::RecordingAnalysis measures = cli::AnalyseRecording(path, cli::Texts::Skip);
    const std::string jsonText = json(withTexts);
    const std::string csvText = csv(withTexts);
    if (!IsJson(jsonText)) return "not JSON: " + jsonText;
    if (!IsCsv(csvText)) return "not CSV: " + csvText;
    if (json(measures) != jsonText || csv(measures) != csvText) {
        return "the measures differ without the texts:\n" + jsonText + "\n" + json(measures);
    }
    return std::nullopt;
}

}  // namespace ritmova::fuzz
