#include "cli/batch_output.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <span>
#include <type_traits>
#include <variant>

#include "common/safe_text.h"
#include "spectral/band_measures.h"

namespace ritmova::cli {
namespace {

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

// A measure's value: undefined, single or double precision, or a count.
using Value = std::variant<std::monostate, float, double, std::int64_t>;

Value optionalValue(const std::optional<double>& value) {
    return value ? Value(*value) : Value();
}

// One measure column: its name and its value in a recording.
struct Measure {
    const char* name;
    Value (*value)(const RecordingAnalysis& r);
};

void appendValue(std::string& out, const Value& value, std::string_view undefined) {
    std::visit(
        [&](auto v) {
            if constexpr (std::is_same_v<decltype(v), std::monostate>) {
                out += undefined;
            } else if constexpr (std::is_floating_point_v<decltype(v)>) {
                appendFinite(out, v, undefined);
            } else {
                appendChars(out, v);
            }
        },
        value);
}

// The spectrum-era measures, in their column order (JSON places the Markov object after).
const std::array<Measure, 17> PassMeasures{{
    {"mean_rr", [](const RecordingAnalysis& r) { return Value(r.state.MeanRR); }},
    {"sdnn", [](const RecordingAnalysis& r) { return Value(r.state.SDNN); }},
    {"rmssd", [](const RecordingAnalysis& r) { return Value(r.pass.timeDomain.RMSSD); }},
    {"nn50",
     [](const RecordingAnalysis& r) { return Value(std::int64_t{r.pass.timeDomain.NN50}); }},
    {"pnn50", [](const RecordingAnalysis& r) { return Value(r.pass.timeDomain.PNN50); }},
    {"vlf", [](const RecordingAnalysis& r) { return Value(r.state.BandPower[1]); }},
    {"lf", [](const RecordingAnalysis& r) { return Value(r.state.BandPower[2]); }},
    {"hf", [](const RecordingAnalysis& r) { return Value(r.state.BandPower[3]); }},
    {"total", [](const RecordingAnalysis& r) { return Value(r.state.BandPower[0]); }},
    {"lf_percent", [](const RecordingAnalysis& r) { return Value(r.state.BandPercent[2]); }},
    {"hf_percent", [](const RecordingAnalysis& r) { return Value(r.state.BandPercent[3]); }},
    {"lf_hf", [](const RecordingAnalysis& r) { return Value(LfHfRatio(r.state)); }},
    {"vlf_peak", [](const RecordingAnalysis& r) { return Value(r.state.PeakFrequency[1]); }},
    {"lf_peak", [](const RecordingAnalysis& r) { return Value(r.state.PeakFrequency[2]); }},
    {"hf_peak", [](const RecordingAnalysis& r) { return Value(r.state.PeakFrequency[3]); }},
    {"spectrum_max", [](const RecordingAnalysis& r) { return Value(r.pass.SpectrumMax); }},
    {"poincare_r", [](const RecordingAnalysis& r) { return optionalValue(r.pass.PoincareR); }},
}};

Value nakahamaIndex(const RecordingAnalysis& r) {
    return r.markovCompleted ? Value(r.state.NakahamaIndex) : Value();
}

// The Markov values of the CSV row and the measures added with whole recordings.
const std::array<Measure, 9> LaterMeasures{{
    {"h0", [](const RecordingAnalysis& r) { return Value(r.state.EntropyH0); }},
    {"h1", [](const RecordingAnalysis& r) { return Value(r.state.EntropyH1); }},
    {"nakahama_index", nakahamaIndex},
    {"sd1",
     [](const RecordingAnalysis& r) { return r.extra ? optionalValue(r.extra->sd1) : Value(); }},
    {"sd2",
     [](const RecordingAnalysis& r) { return r.extra ? optionalValue(r.extra->sd2) : Value(); }},
    {"mean_hr",
     [](const RecordingAnalysis& r) { return r.extra ? Value(r.extra->meanHr) : Value(); }},
    {"min_hr",
     [](const RecordingAnalysis& r) { return r.extra ? Value(r.extra->minHr) : Value(); }},
    {"max_hr",
     [](const RecordingAnalysis& r) { return r.extra ? Value(r.extra->maxHr) : Value(); }},
    {"artifacts",
     [](const RecordingAnalysis& r) { return Value(static_cast<std::int64_t>(r.artifacts)); }},
}};

// Members 0..2 of LaterMeasures live in the JSON Markov object.
constexpr std::size_t FirstNewMeasure = 3;

void appendJsonMembers(std::string& out, const RecordingAnalysis& r,
                       std::span<const Measure> list) {
    for (const Measure& m : list) {
        out += ",\"";
        out += m.name;
        out += "\":";
        appendValue(out, m.value(r), "null");
    }
}

template <typename Range>
void appendJsonArray(std::string& out, const Range& values) {
    out += '[';
    bool first = true;
    for (const auto& value : values) {
        if (!first) out += ',';
        first = false;
        appendValue(out, Value(value), "null");
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

void appendJsonMarkov(std::string& out, const RecordingAnalysis& r) {
    const AnalysisState& s = r.state;
    const std::array<float, 3> limits{s.StateLimitLow, s.StateLimitMid, s.StateLimitHigh};
    out += "{\"limits\":";
    appendJsonArray(out, limits);
    out += ",\"counts\":";
    appendJsonArray(out, s.StateCount);
    out += ",\"probabilities\":";
    appendJsonArray(out, s.StateProbability);
    out += ",\"h0\":";
    AppendNumber(out, s.EntropyH0, "null");
    out += ",\"transition_counts\":";
    appendJsonTable(out, s.TransitionCount);
    out += ",\"transition_probabilities\":";
    appendJsonTable(out, s.TransitionProbability);
    out += ",\"h1\":";
    AppendNumber(out, s.EntropyH1, "null");
    out += ",\"nakahama_index\":";
    appendValue(out, nakahamaIndex(r), "null");
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

std::string_view CsvHeader() {
    return "file,mean_rr,sdnn,rmssd,nn50,pnn50,vlf,lf,hf,total,lf_percent,hf_percent,lf_hf,"
           "vlf_peak,lf_peak,hf_peak,spectrum_max,poincare_r,h0,h1,nakahama_index,"
           "sd1,sd2,mean_hr,min_hr,max_hr,artifacts,error\n";
}

void AppendCsvMeasures(std::string& out, const RecordingAnalysis& r) {
    for (const Measure& m : PassMeasures) {
        out += ',';
        appendValue(out, m.value(r), "");
    }
    for (const Measure& m : LaterMeasures) {
        out += ',';
        appendValue(out, m.value(r), "");
    }
}

static_assert(CsvMeasureColumns == PassMeasures.size() + LaterMeasures.size());

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

void AppendJsonMeasures(std::string& out, const RecordingAnalysis& r) {
    appendJsonMembers(out, r, PassMeasures);
    appendJsonMembers(out, r, LaterMeasures);
}

void AppendCsvRow(std::string& out, const RecordingAnalysis& r) {
    if (r.error) return AppendCsvFailure(out, r.file, CsvMeasureColumns, *r.error);
    AppendCsvField(out, r.file);
    AppendCsvMeasures(out, r);
    out += ",\n";
}

void AppendJsonObject(std::string& out, const RecordingAnalysis& r) {
    if (r.error) return AppendJsonFailure(out, r.file, *r.error);
    out += "{\"file\":";
    AppendJsonString(out, r.file);
    appendJsonMembers(out, r, PassMeasures);
    out += ",\"power_spectrum\":";
    appendJsonArray(out, std::span(r.state.PowerSpectrum).subspan(1, 128));
    out += ",\"markov\":";
    appendJsonMarkov(out, r);
    appendJsonMembers(out, r, std::span(LaterMeasures).subspan(FirstNewMeasure));
    out += ",\"units\":";
    out += r.units == Units::Milliseconds ? "\"ms\"" : "\"s\"";
    out += '}';
}

}  // namespace ritmova::cli
