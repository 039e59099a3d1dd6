#include "cli/batch_output.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "spectral/band_measures.h"

namespace ritmova::cli {
namespace {

// The shortest decimal that reads back to the value at its own precision.
template <typename T>
std::string number(T value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string jsonString(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

struct Measure {
    const char* name;
    std::string value;
};

// The measures shared by both formats, in their column order.
std::vector<Measure> measures(const RecordingAnalysis& r) {
    const AnalysisState& s = r.state;
    const TimeDomainValues& t = r.pass.timeDomain;
    return {{"mean_rr", number(s.MeanRR)},
            {"sdnn", number(s.SDNN)},
            {"rmssd", number(t.RMSSD)},
            {"nn50", number(t.NN50)},
            {"pnn50", number(t.PNN50)},
            {"vlf", number(s.BandPower[1])},
            {"lf", number(s.BandPower[2])},
            {"hf", number(s.BandPower[3])},
            {"total", number(s.BandPower[0])},
            {"lf_percent", number(s.BandPercent[2])},
            {"hf_percent", number(s.BandPercent[3])},
            {"lf_hf", number(LfHfRatio(s))},
            {"vlf_peak", number(s.PeakFrequency[1])},
            {"lf_peak", number(s.PeakFrequency[2])},
            {"hf_peak", number(s.PeakFrequency[3])},
            {"spectrum_max", number(r.pass.SpectrumMax)},
            {"poincare_r", r.pass.PoincareR ? number(*r.pass.PoincareR) : ""}};
}

std::string nakahama(const RecordingAnalysis& r) {
    return r.markovCompleted ? number(r.state.NakahamaIndex) : "";
}

}  // namespace

void WriteCsvHeader(std::ostream& out) {
    out << "file,mean_rr,sdnn,rmssd,nn50,pnn50,vlf,lf,hf,total,lf_percent,hf_percent,lf_hf,"
           "vlf_peak,lf_peak,hf_peak,spectrum_max,poincare_r,h0,h1,nakahama_index,error\n";
}

void WriteCsvRow(std::ostream& out, const RecordingAnalysis& r) {
    std::string row = csvField(r.file);
    if (r.error) {
        row += std::string(21, ',') + csvField(*r.error);
    } else {
        for (const Measure& m : measures(r)) row += ',' + m.value;
        row += ',' + number(r.state.EntropyH0) + ',' + number(r.state.EntropyH1);
        row += ',' + nakahama(r) + ',';
    }
    out << row << '\n';
}

namespace {

template <typename Range>
std::string jsonArray(const Range& values) {
    std::string text = "[";
    for (const auto& value : values) {
        if (text.size() > 1) text += ',';
        text += number(value);
    }
    return text + ']';
}

template <typename Table>
std::string jsonTable(const Table& rows) {
    std::string text = "[";
    for (const auto& row : rows) {
        if (text.size() > 1) text += ',';
        text += jsonArray(row);
    }
    return text + ']';
}

std::string jsonMarkov(const RecordingAnalysis& r) {
    const AnalysisState& s = r.state;
    const std::array<float, 3> limits{s.StateLimitLow, s.StateLimitMid, s.StateLimitHigh};
    std::string text = "{\"limits\":" + jsonArray(limits);
    text += ",\"counts\":" + jsonArray(s.StateCount);
    text += ",\"probabilities\":" + jsonArray(s.StateProbability);
    text += ",\"h0\":" + number(s.EntropyH0);
    text += ",\"transition_counts\":" + jsonTable(s.TransitionCount);
    text += ",\"transition_probabilities\":" + jsonTable(s.TransitionProbability);
    text += ",\"h1\":" + number(s.EntropyH1);
    const std::string index = nakahama(r);
    return text + ",\"nakahama_index\":" + (index.empty() ? "null" : index) + '}';
}

std::string jsonObject(const RecordingAnalysis& r) {
    std::string text = "{\"file\":" + jsonString(r.file);
    if (r.error) return text + ",\"error\":" + jsonString(*r.error) + '}';
    for (const Measure& m : measures(r)) {
        text += ",\"" + std::string(m.name) + "\":" + (m.value.empty() ? "null" : m.value);
    }
    const auto spectrum = std::span(r.state.PowerSpectrum).subspan(1, 128);
    text += ",\"power_spectrum\":" + jsonArray(spectrum);
    return text + ",\"markov\":" + jsonMarkov(r) + '}';
}

}  // namespace

void JsonWriter::begin() {
    out_ << '[';
}

void JsonWriter::write(const RecordingAnalysis& recording) {
    out_ << (first_ ? "\n" : ",\n") << jsonObject(recording);
    first_ = false;
}

void JsonWriter::end() {
    out_ << "\n]\n";
}

}  // namespace ritmova::cli
