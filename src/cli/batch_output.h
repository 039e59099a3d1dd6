#pragma once

#include <string>
#include <string_view>

#include "cli/recording_analysis.h"

namespace ritmova::cli {

// The json and csv commands' output, appended to a text that is written out in one piece.
// File names and reasons pass through SafeText, so the output is valid UTF-8 whatever bytes
// they hold. A measure that is undefined, or not finite, is null in JSON and empty in CSV.

// A JSON array of one object per recording: JsonArrayItem(i) before the i-th (0-based)
// object, JsonArrayEnd after the last.
inline constexpr std::string_view JsonArrayStart = "[";
inline constexpr std::string_view JsonArrayEnd = "\n]\n";
inline std::string_view JsonArrayItem(std::size_t index) {
    return index == 0 ? "\n" : ",\n";
}
void AppendJsonObject(std::string& out, const RecordingAnalysis& recording);

// The CSV header line, and one row per recording with the same measures (no spectrum): the
// columns of WindowMeasures().
std::string_view CsvHeader();
// The keys of WindowMeasures(), comma-separated.
std::string_view CsvMeasureKeys();
void AppendCsvRow(std::string& out, const RecordingAnalysis& recording);

// The parts the windows command shares: the measure columns of a CSV row after the file
// (each preceded by its comma), or the JSON members for the same measures, each preceded
// by a comma; a row or object that gives a reason instead of measures.
std::size_t CsvMeasureColumns();
void AppendCsvMeasures(std::string& out, const WindowAnalysis& analysis);
void AppendJsonMeasures(std::string& out, const WindowAnalysis& analysis);
void AppendCsvFailure(std::string& out, std::string_view file, std::size_t emptyColumns,
                      std::string_view reason);
void AppendJsonFailure(std::string& out, std::string_view file, std::string_view reason);

// Text for JSON and CSV: SafeText of the bytes, quoted and escaped. A CSV field that begins
// with =, +, - or @ (but "-" alone) gets a ' in front, so that spreadsheets read it as text.
void AppendJsonString(std::string& out, std::string_view bytes);
void AppendCsvField(std::string& out, std::string_view bytes);

// The shortest decimal that reads back to the value at its own precision; `undefined` when
// the value is not finite.
void AppendNumber(std::string& out, float value, std::string_view undefined);
void AppendNumber(std::string& out, double value, std::string_view undefined);
void AppendNumber(std::string& out, std::size_t value);

}  // namespace ritmova::cli
