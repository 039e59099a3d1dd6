#include "ecg/wfdb_header.h"

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/field_text.h"
#include "ecg/file_bytes.h"

namespace ritmova::ecg {

namespace {

// Blank-separated fields of one line; `rest()` keeps the blanks inside the remaining text.
class Fields {
  public:
    explicit Fields(std::string_view line) : line_(line) {}
    std::string_view next() {
        line_ = TrimBlanks(line_);
        std::size_t end = line_.find_first_of(" \t");
        std::string_view field = line_.substr(0, end);
        line_.remove_prefix(field.size());
        return field;
    }
    std::string_view rest() const { return TrimBlanks(line_); }

  private:
    std::string_view line_;
};

[[noreturn]] void Fail(int line, const std::string& reason) {
    throw CommandFailure("line " + std::to_string(line) + ": " + reason);
}

template <typename Integer>
Integer IntegerField(int line, std::string_view field, const char* what, Integer minimum) {
    auto value = WholeInteger<Integer>(field);
    if (!value || *value < minimum)
        Fail(line, QuotedToken(field) + " is not a valid " + std::string(what));
    return *value;
}

// "360", "250/24000" or "250/24000(0)": sampling and counter frequency.
void ParseFrequency(int line, std::string_view field, RecordHeader& header) {
    std::size_t slash = field.find('/');
    auto frequency = WholeNumber(field.substr(0, slash));
    if (!frequency || *frequency <= 0)
        Fail(line, QuotedToken(field) + " is not a valid sampling frequency");
    header.frequencyHz = *frequency;
    if (slash == std::string_view::npos) return;
    std::string_view counter = field.substr(slash + 1);
    counter = counter.substr(0, counter.find('('));
    auto counterFrequency = WholeNumber(counter);
    if (!counterFrequency || *counterFrequency <= 0)
        Fail(line, QuotedToken(field) + " is not a valid counter frequency");
    header.counterFrequencyHz = *counterFrequency;
}

void ParseRecordLine(int line, std::string_view text, RecordHeader& header, std::size_t& count) {
    Fields fields(text);
    std::string_view name = fields.next();
    if (name.find('/') != std::string_view::npos)
        Fail(line, "multi-segment records (" + QuotedToken(name) + ") are not read");
    header.name = std::string(name);
    std::string_view signals = fields.next();
    if (signals.empty()) Fail(line, "the record line gives no number of signals");
    count = IntegerField<std::size_t>(line, signals, "number of signals", 0);
    if (count > MaxSignals)
        Fail(line, "more than " + std::to_string(MaxSignals) + " signals are not read");
    if (std::string_view frequency = fields.next(); !frequency.empty())
        ParseFrequency(line, frequency, header);
    if (std::string_view samples = fields.next(); !samples.empty())
        header.sampleCount = IntegerField<std::int64_t>(line, samples, "number of samples", 0);
}

// "212", "212x4", "16:3", "16+512".
void ParseFormat(int line, std::string_view field, SignalSpec& signal) {
    std::size_t end = field.find_first_of("x:+");
    signal.format = IntegerField<int>(line, field.substr(0, end), "signal format", 0);
    while (end != std::string_view::npos) {
        char mark = field[end];
        std::size_t next = field.find_first_of("x:+", end + 1);
        std::string_view value = field.substr(end + 1, next - end - 1);
        if (mark == 'x') signal.samplesPerFrame = IntegerField<int>(line, value, "frame size", 1);
        if (mark == ':') signal.skew = IntegerField<int>(line, value, "skew", 0);
        if (mark == '+')
            signal.byteOffset = IntegerField<std::int64_t>(line, value, "byte offset", 0);
        end = next;
    }
}

// "200", "200(0)", "200/mV", "200(-3)/uV"; gain 0 means uncalibrated.
void ParseGain(int line, std::string_view field, SignalSpec& signal, bool& baselineGiven) {
    std::size_t slash = field.find('/');
    if (slash != std::string_view::npos) signal.units = std::string(field.substr(slash + 1));
    std::string_view gainPart = field.substr(0, slash);
    std::size_t open = gainPart.find('(');
    auto gain = WholeNumber(gainPart.substr(0, open));
    if (!gain || *gain < 0) Fail(line, QuotedToken(field) + " is not a valid gain");
    signal.calibrated = *gain > 0;
    signal.gain = signal.calibrated ? *gain : 200;
    if (open == std::string_view::npos) return;
    if (gainPart.back() != ')') Fail(line, QuotedToken(field) + " is not a valid gain");
    std::string_view baseline = gainPart.substr(open + 1, gainPart.size() - open - 2);
    signal.baseline = IntegerField<std::int32_t>(line, baseline, "baseline", INT32_MIN);
    baselineGiven = true;
}

SignalSpec ParseSignalLine(int line, std::string_view text) {
    SignalSpec signal;
    Fields fields(text);
    signal.fileName = std::string(fields.next());
    std::string_view format = fields.next();
    if (format.empty()) Fail(line, "the signal line gives no format");
    ParseFormat(line, format, signal);
    bool baselineGiven = false;
    if (auto gain = fields.next(); !gain.empty()) ParseGain(line, gain, signal, baselineGiven);
    if (auto bits = fields.next(); !bits.empty())
        signal.resolutionBits = IntegerField<int>(line, bits, "ADC resolution", 0);
    if (auto zero = fields.next(); !zero.empty())
        signal.adcZero = IntegerField<std::int32_t>(line, zero, "ADC zero", INT32_MIN);
    if (!baselineGiven) signal.baseline = signal.adcZero;
    if (auto initial = fields.next(); !initial.empty())
        signal.initialValue = IntegerField<std::int32_t>(line, initial, "initial value", INT32_MIN);
    if (auto checksum = fields.next(); !checksum.empty())
        signal.checksum = IntegerField<std::int32_t>(line, checksum, "checksum", INT32_MIN);
    if (auto block = fields.next(); !block.empty())
        signal.blockSize = IntegerField<std::int64_t>(line, block, "block size", 0);
    signal.description = std::string(fields.rest());
    return signal;
}

}  // namespace

RecordHeader ParseHeader(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) throw CommandFailure("holds a NUL byte");
    RecordHeader header;
    std::size_t declared = 0;
    bool recordLineSeen = false;
    int line = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view content = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++line;
        if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
        std::string_view trimmed = TrimBlanks(content);
        if (trimmed.empty()) continue;
        if (trimmed.front() == '#') {
            header.comments.emplace_back(trimmed.substr(1));
        } else if (!recordLineSeen) {
            ParseRecordLine(line, trimmed, header, declared);
            recordLineSeen = true;
        } else if (header.signals.size() < declared) {
            header.signals.push_back(ParseSignalLine(line, trimmed));
        } else {
            Fail(line, "more signal lines than the " + std::to_string(declared) + " declared");
        }
    }
    if (!recordLineSeen) throw CommandFailure("has no record line");
    if (header.signals.size() < declared)
        throw CommandFailure("declares " + std::to_string(declared) + " signals but describes " +
                             std::to_string(header.signals.size()));
    return header;
}

RecordLocation LocateRecord(const std::string& record) {
    std::filesystem::path path(record);
    if (path.extension() == ".hea") path.replace_extension();
    RecordLocation location;
    location.name = path.filename().string();
    location.folder = path.parent_path();
    location.header = path;
    location.header += ".hea";
    return location;
}

RecordHeader ReadHeader(const RecordLocation& location) {
    std::string path = location.header.string();
    try {
        return ParseHeader(ReadSmallFile(path, MaxHeaderBytes));
    } catch (const CommandFailure& failure) {
        throw CommandFailure(SafeText(path) + ": " + failure.what());
    }
}

std::filesystem::path SignalFilePath(const RecordLocation& location, const std::string& file) {
    std::filesystem::path path(file);
    bool escapes = path.is_absolute() || file == "-" || file.empty();
    for (const auto& part : path) escapes = escapes || part == "..";
    if (escapes)
        throw CommandFailure("the signal file " + QuotedToken(file) +
                             " is not inside the record's folder");
    return location.folder / path;
}

}  // namespace ritmova::ecg
