// The whole pass and the Markov analysis on every input, with and without the texts, then
// the JSON and CSV writers: the two runs give the same output, and the output is well formed.

#include <cstdint>
#include <sstream>
#include <string>

#include "cli/batch_output.h"
#include "cli/recording_analysis.h"
#include "memory_file.h"
#include "output_checks.h"

namespace {

using ritmova::cli::RecordingAnalysis;

std::string json(const RecordingAnalysis& recording) {
    std::ostringstream out;
    ritmova::cli::JsonWriter writer(out);
    writer.begin();
    writer.write(recording);
    writer.end();
    return out.str();
}

std::string csv(const RecordingAnalysis& recording) {
    std::ostringstream out;
    ritmova::cli::WriteCsvHeader(out);
    ritmova::cli::WriteCsvRow(out, recording);
    return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ritmova::fuzz::MemoryFile file;
    file.hold(std::string_view(reinterpret_cast<const char*>(data), size));
    using ritmova::cli::Texts;
    const RecordingAnalysis withTexts = ritmova::cli::AnalyseRecording(file.path(), Texts::Build);
    const RecordingAnalysis measures = ritmova::cli::AnalyseRecording(file.path(), Texts::Skip);
    const std::string jsonText = json(withTexts);
    const std::string csvText = csv(withTexts);
    if (!ritmova::fuzz::IsJson(jsonText)) ritmova::fuzz::Finding("not JSON: " + jsonText);
    if (!ritmova::fuzz::IsCsv(csvText)) ritmova::fuzz::Finding("not CSV: " + csvText);
    if (json(measures) != jsonText || csv(measures) != csvText) {
        ritmova::fuzz::Finding("the measures differ without the texts:\n" + jsonText);
    }
    return 0;
}
