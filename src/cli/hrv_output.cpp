#include "cli/hrv_output.h"

#include <charconv>

#include "cli/batch_output.h"
#include "report/analysis_options.h"
#include "standard/five_minute.h"
#include "standard/geometric.h"
#include "standard/measure_rows.h"
#include "standard/spectral_bands.h"

namespace ritmova::cli {
namespace {

using namespace standard;

// The members of a JSON object, written as they come, commas between them.
class JsonObject {
  public:
    explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
    ~JsonObject() { out_ += '}'; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    // The member's name; its value is appended to the text returned.
    std::string& key(std::string_view name) {
        if (!first_) out_ += ',';
        first_ = false;
        AppendJsonString(out_, name);
        out_ += ':';
        return out_;
    }
    void number(std::string_view name, double value) { AppendNumber(key(name), value, "null"); }
    void count(std::string_view name, std::size_t value) { AppendNumber(key(name), value); }
    void text(std::string_view name, std::string_view value) { AppendJsonString(key(name), value); }
    void flag(std::string_view name, bool value) { key(name) += value ? "true" : "false"; }

  private:
    std::string& out_;
    bool first_ = true;
};

void appendNumbers(std::string& out, std::span<const double> values) {
    out += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out += ',';
        AppendNumber(out, values[i], "null");
    }
    out += ']';
}

// `intervals` counts the recording's intervals in the stretch; `analysed`, when given, those
// the measures saw after correction (missed beats split, extra ones merged).
void appendStretchMembers(JsonObject& s, const Stretch& stretch,
                          std::optional<std::size_t> analysed = std::nullopt) {
    s.count("first_beat", stretch.firstBeat);
    s.count("last_beat", stretch.lastBeat);
    s.number("start_s", stretch.startS);
    s.number("end_s", stretch.endS);
    s.number("duration_s", stretch.endS - stretch.startS);
    s.count("intervals", stretch.intervals());
    if (analysed) s.count("intervals_analysed", *analysed);
    if (stretch.segment > 0) s.count("segment", stretch.segment);
}

void appendStretch(JsonObject& object, const HrvStretchOutput& o) {
    JsonObject s(object.key("stretch"));
    appendStretchMembers(s, o.results->stretch, o.results->intervals);
    if (o.leftOut) {
        JsonObject left(s.key("left_out"));
        appendStretchMembers(left, *o.leftOut);
        left.text("reason", "an incomplete segment");
    }
}

void appendCorrection(JsonObject& object, const CorrectionRecord& c) {
    JsonObject j(object.key("correction"));
    j.text("method", CorrectionMethodNames[static_cast<std::size_t>(c.settings.method)]);
    if (c.settings.method == CorrectionMethod::Threshold) {
        j.text("level", ThresholdLevelNames[static_cast<std::size_t>(c.settings.level)]);
        j.number("threshold_s", c.settings.thresholdS);
        j.number("scaled_threshold_ms", c.thresholdMs);
        j.count("median_window", ThresholdMedianWindow);
    } else if (c.settings.method == CorrectionMethod::Automatic) {
        using C = AutomaticConstants;
        j.number("c1", C::C1);
        j.number("c2", C::C2);
        j.number("alpha", C::Alpha);
        j.count("deviation_window", C::DeviationWindow);
        j.count("median_window", C::MedianWindow);
        j.count("max_rounds", static_cast<std::size_t>(C::MaxRounds));
        j.count("rounds", static_cast<std::size_t>(c.rounds));
        for (std::size_t k = 1; k < BeatClassCount; ++k)
            j.count(BeatClassNames[k], c.classCounts[k]);
    }
    j.count("intervals_before", c.intervalsBefore);
    j.count("intervals_after", c.intervalsAfter);
    j.count("corrected", c.correctedBeats.size());
    j.number("corrected_percent", c.correctedPercent);
    std::string& beats = j.key("corrected_beats");
    beats += '[';
    for (std::size_t i = 0; i < c.correctedBeats.size(); ++i) {
        if (i > 0) beats += ',';
        AppendNumber(beats, c.correctedBeats[i]);
    }
    beats += ']';
    j.number("unreliable_above_percent", UnreliablePercent);
    j.flag("unreliable", c.unreliable);
}

void appendSpectrumSettings(JsonObject& object, std::string_view name, const Spectrum& s) {
    JsonObject j(object.key(name));
    if (name == "welch") {
        j.text("interpolation", "not-a-knot cubic spline at the beat times");
        j.number("resampling_hz", ResamplingHz);
        j.count("segment_samples", s.segmentSamples);
        j.count("segments", s.segments);
        j.text("overlap", "L - floor(L/2) samples between segment starts");
        j.text("window", "periodic Hann");
        j.count("fft_points", s.fftPoints);
    } else if (name == "lomb_scargle") {
        j.text("density", "2 P(f) x mean RR (s), frequencies k / (4T)");
        j.count("beats", s.segmentSamples);
    } else {
        j.text("method", "Burg");
        j.count("order", s.order);
        j.number("resampling_hz", ResamplingHz);
        j.count("fft_points", s.fftPoints);
    }
    j.number("resolution_hz", s.resolutionHz);
    j.count("points", s.frequencyHz.size());
}

void appendBands(JsonObject& settings) {
    JsonObject bands(settings.key("bands_hz"));
    for (const BandLimits& band : BandTable) {
        std::string& limits = bands.key(band.key);
        limits += '[';
        AppendNumber(limits, band.lowHz, "null");
        limits += ',';
        AppendNumber(limits, band.highHz, "null");
        limits += ']';
    }
}

void appendSettings(JsonObject& object, const HrvStretchOutput& o) {
    const StretchResults& r = *o.results;
    JsonObject s(object.key("settings"));
    s.text("units", o.units == Units::Milliseconds ? "ms" : "s");
    s.text("values", "nearest double of each text; ms = s x 1000");
    if (o.choice->fromS) s.number("from_s", *o.choice->fromS);
    if (o.choice->toS) s.number("to_s", *o.choice->toS);
    if (o.choice->segmentS) s.number("segment_s", *o.choice->segmentS);
    s.text("correction", CorrectionText(r.correction.settings));
    s.text("sd_divisor", "N - 1 (SDSD: N - 2)");
    s.text("nn_rule", "|d| above 50 or 20 ms");
    s.text("quartiles", "linear interpolation between order statistics (type 7)");
    s.number("sdann_segment_s", FiveMinuteSeconds);
    s.number("histogram_bin_ms", HistogramBinMs);
    appendBands(s);
    s.text("band_rule", "low <= f < high; power = sum of density x resolution");
    appendSpectrumSettings(s, "welch", r.spectra[0]);
    appendSpectrumSettings(s, "lomb_scargle", r.spectra[1]);
    appendSpectrumSettings(s, "autoregressive", r.spectra[2]);
    {
        JsonObject dfa(s.key("dfa"));
        dfa.text("alpha1_box_sizes", "4 to 16");
        dfa.text("alpha2_box_sizes", "16 to 64");
        dfa.text("skipped", "box sizes above N / 2");
    }
    JsonObject entropy(s.key("entropy"));
    entropy.count("m", static_cast<std::size_t>(EntropyTemplateLength));
    entropy.number("r_factor", EntropyToleranceFactor);
    entropy.number("tolerance_ms", r.entropy.toleranceMs);
    entropy.text("distance", "Chebyshev, a match when <= r");
}

void appendMeasures(JsonObject& object, const StretchResults& r) {
    const MeasureTable<StretchResults> table = StandardMeasureTable();
    for (const MeasureGroup& group : MeasureGroups) {
        JsonObject g(object.key(group.key));
        for (const StandardMeasureRow& row : table) {
            if (row.group != group.label) continue;
            const std::optional<double> value = row.value(r);
            if (value) {
                g.number(row.key, *value);
            } else {
                g.key(row.key) += "null";
            }
        }
    }
    JsonObject reasons(object.key("reasons"));
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!table[i].value(r)) reasons.text(table[i].key, ReasonAbsent(r, i));
    }
}

void appendDensities(JsonObject& object, const StretchResults& r) {
    JsonObject spectrum(object.key("spectrum"));
    const std::array<std::string_view, 2> names{"welch", "lomb_scargle"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        JsonObject s(spectrum.key(names[i]));
        appendNumbers(s.key("frequency_hz"), r.spectra[i].frequencyHz);
        appendNumbers(s.key("density_ms2_per_hz"), r.spectra[i].densityMs2PerHz);
    }
}

// The CSV columns before the measures, after the file.
constexpr std::string_view CsvStretchColumns =
    "segment,first_beat,last_beat,start_s,end_s,duration_s,intervals,correction,corrected,"
    "corrected_percent,unreliable";
constexpr std::size_t CsvStretchColumnCount = 11;

void appendCsvStretch(std::string& out, const Stretch& s) {
    out += ',';
    if (s.segment > 0) AppendNumber(out, s.segment);
    for (const std::size_t beat : {s.firstBeat, s.lastBeat}) {
        out += ',';
        AppendNumber(out, beat);
    }
    for (const double seconds : {s.startS, s.endS, s.endS - s.startS}) {
        out += ',';
        AppendNumber(out, seconds, "");
    }
    out += ',';
    AppendNumber(out, s.intervals());
}

}  // namespace

void AppendHrvJson(std::string& out, const HrvStretchOutput& o) {
    const StretchResults& r = *o.results;
    JsonObject object(out);
    object.text("file", o.file);
    appendSettings(object, o);
    appendStretch(object, o);
    appendCorrection(object, r.correction);
    appendMeasures(object, r);
    if (o.densities) appendDensities(object, r);
}

std::string HrvCsvHeader() {
    std::string header = "file,";
    header += CsvStretchColumns;
    for (const StandardMeasureRow& row : StandardMeasureTable()) {
        header += ',';
        header += row.key;
    }
    return header + ",error\n";
}

void AppendHrvCsvRow(std::string& out, const HrvStretchOutput& o) {
    const StretchResults& r = *o.results;
    AppendCsvField(out, o.file);
    appendCsvStretch(out, r.stretch);
    out += ',';
    out += CorrectionText(r.correction.settings);
    out += ',';
    AppendNumber(out, r.correction.correctedBeats.size());
    out += ',';
    AppendNumber(out, r.correction.correctedPercent, "");
    out += r.correction.unreliable ? ",true" : ",false";
    for (const StandardMeasureRow& row : StandardMeasureTable()) {
        out += ',';
        if (const std::optional<double> value = row.value(r)) AppendNumber(out, *value, "");
    }
    out += ",\n";
}

void AppendHrvJsonFailure(std::string& out, std::string_view file, const Stretch* stretch,
                          std::string_view reason) {
    JsonObject object(out);
    object.text("file", file);
    if (stretch) {
        JsonObject s(object.key("stretch"));
        appendStretchMembers(s, *stretch);
    }
    object.text("error", reason);
}

void AppendHrvCsvFailure(std::string& out, std::string_view file, const Stretch* stretch,
                         std::string_view reason) {
    AppendCsvField(out, file);
    std::size_t empty = CsvStretchColumnCount + MeasureCount;
    if (stretch) {
        appendCsvStretch(out, *stretch);
        empty -= 7;
    }
    out.append(empty, ',');
    out += ',';
    AppendCsvField(out, reason);
    out += '\n';
}

}  // namespace ritmova::cli
