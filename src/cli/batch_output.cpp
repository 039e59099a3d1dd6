#include "cli/batch_output.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <span>
#include <type_traits>

#include "analysis/window_measures.h"
#include "common/safe_text.h"

namespace ritmova::cli {
namespace {

using WindowMeasure = MeasureRow<WindowAnalysis>;

template <typename T>
void appendChars(std::string& out, T value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

template <typename T>
void appendFinite(std::string& out, T value, std::string_view undefined) {
    if (std::isfinite(value)) {
        appendChars(out, value);
    } else {
        out += undefined;
    }
}

// A measure's value as its row says to write it; `undefined` when it is absent or not finite.
void appendValue(std::string& out, const WindowMeasure& row, const WindowAnalysis& analysis,
                 std::string_view undefined) {
    const std::optional<double> value = row.value(analysis);
    if (!value) {
        out += undefined;
    } else if (row.style == NumberStyle::Single) {
        appendFinite(out, static_cast<float>(*value), undefined);
    } else if (row.style == NumberStyle::Count) {
        appendChars(out, static_cast<std::int64_t>(*value));
    } else {
        appendFinite(out, *value, undefined);
    }
}

void appendJsonMember(std::string& out, const WindowMeasure& row, const WindowAnalysis& analysis) {
    out += ",\"";
    out += row.key;
    out += "\":";
    appendValue(out, row, analysis, "null");
}

template <typename T>
void appendJsonValue(std::string& out, T value) {
    if constexpr (std::is_floating_point_v<T>) {
        appendFinite(out, value, "null");
    } else {
        appendChars(out, value);
    }
}

template <typename Range>
void appendJsonArray(std::string& out, const Range& values) {
    out += '[';
    bool first = true;
    for (const auto& value : values) {
        if (!first) out += ',';
        first = false;
        appendJsonValue(out, value);
    }
    out += ']';
}

template <typename Table>
void appendJsonTable(std::string& out, const Table& rows) {
    out += '[';
    bool first = true;
    for (const auto& row : rows) {
        if (!first) out += ',';
        first = false;
        appendJsonArray(out, row);
    }
    out += ']';
}

// The Markov analysis's object: its fixed layout, with the values of the Markov rows.
void appendJsonMarkov(std::string& out, const WindowAnalysis& a) {
    const MarkovResult& m = a.markov;
    const std::array<float, 3> limits{m.limitLow, m.limitMid, m.limitHigh};
    const auto member = [&](std::string_view key) {
        out += ",\"";
        out += key;
        out += "\":";
        appendValue(out, *FindMeasure(WindowMeasures(), key), a, "null");
    };
    out += "{\"limits\":";
    appendJsonArray(out, limits);
    out += ",\"counts\":";
    appendJsonArray(out, m.counts);
    out += ",\"probabilities\":";
    appendJsonArray(out, m.probabilities);
    member("h0");
    out += ",\"transition_counts\":";
    appendJsonTable(out, m.transitionCounts);
    out += ",\"transition_probabilities\":";
    appendJsonTable(out, m.transitionProbabilities);
    member("h1");
    member("nakahama_index");
    out += '}';
}

}  // namespace

void AppendNumber(std::string& out, float value, std::string_view undefined) {
    appendFinite(out, value, undefined);
}

void AppendNumber(std::string& out, double value, std::string_view undefined) {
    appendFinite(out, value, undefined);
}

void AppendNumber(std::string& out, std::size_t value) {
    appendChars(out, value);
}

void AppendJsonString(std::string& out, std::string_view bytes) {
    static constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    for (const char c : SafeText(bytes)) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {  // SafeText leaves none; JSON must never hold one raw
            out += "\\u00";
            out += Hex[u >> 4];
            out += Hex[u & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

void AppendCsvField(std::string& out, std::string_view bytes) {
    std::string text = SafeText(bytes);
    // Spreadsheets take a field that starts so for a formula; a quote in front keeps it text.
    // "-" alone, standard input's name, is no formula.
    if (text.find_first_of("=+-@") == 0 && text != "-") text.insert(0, 1, '\'');
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string_view CsvMeasureKeys() {
    static const std::string keys = [] {
        std::string text;
        for (const WindowMeasure& row : WindowMeasures()) {
            if (!text.empty()) text += ',';
            text += row.key;
        }
        return text;
    }();
    return keys;
}

std::string_view CsvHeader() {
    static const std::string header = "file," + std::string(CsvMeasureKeys()) + ",error\n";
    return header;
}

std::size_t CsvMeasureColumns() {
    return WindowMeasures().size();
}

void AppendCsvMeasures(std::string& out, const WindowAnalysis& analysis) {
    for (const WindowMeasure& row : WindowMeasures()) {
        out += ',';
        appendValue(out, row, analysis, "");
    }
}

void AppendCsvFailure(std::string& out, std::string_view file, std::size_t emptyColumns,
                      std::string_view reason) {
    AppendCsvField(out, file);
    out.append(emptyColumns + 1, ',');
    AppendCsvField(out, reason);
    out += '\n';
}

void AppendJsonFailure(std::string& out, std::string_view file, std::string_view reason) {
    out += "{\"file\":";
    AppendJsonString(out, file);
    out += ",\"error\":";
    AppendJsonString(out, reason);
    out += '}';
}

void AppendJsonMeasures(std::string& out, const WindowAnalysis& analysis) {
    for (const WindowMeasure& row : WindowMeasures()) appendJsonMember(out, row, analysis);
}

void AppendCsvRow(std::string& out, const RecordingAnalysis& r) {
    if (r.error) return AppendCsvFailure(out, r.file, CsvMeasureColumns(), *r.error);
    AppendCsvField(out, r.file);
    AppendCsvMeasures(out, r.analysis);
    out += ",\n";
}

// The rows in the table's order, except that the power spectrum and the Markov object stand
// where the Markov rows do.
void AppendJsonObject(std::string& out, const RecordingAnalysis& r) {
    if (r.error) return AppendJsonFailure(out, r.file, *r.error);
    out += "{\"file\":";
    AppendJsonString(out, r.file);
    bool markovWritten = false;
    for (const WindowMeasure& row : WindowMeasures()) {
        if (row.group != MarkovGroup) {
            appendJsonMember(out, row, r.analysis);
        } else if (!markovWritten) {
            out += ",\"power_spectrum\":";
            appendJsonArray(out, std::span(r.analysis.pass.powerSpectrum).subspan(1, 128));
            out += ",\"markov\":";
            appendJsonMarkov(out, r.analysis);
            markovWritten = true;
        }
    }
    out += ",\"units\":";
    out += r.units == Units::Milliseconds ? "\"ms\"" : "\"s\"";
    out += '}';
}

}  // namespace ritmova::cli
