#include <algorithm>
#include <cmath>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/edf_file.h"
#include "ecg/field_text.h"
#include "ecg/file_bytes.h"
#include "ecg/wfdb_header.h"

namespace ritmova::ecg {

namespace {

// Fixed-width ASCII fields read one after another.
class FieldCursor {
  public:
    explicit FieldCursor(std::string_view bytes) : bytes_(bytes) {}
    std::string text(std::size_t width) {
        std::string_view field = bytes_.substr(offset_, width);
        offset_ += width;
        return std::string(TrimBlanks(field));
    }
    template <typename Integer>
    Integer integer(std::size_t width, const std::string& what, Integer minimum) {
        std::string field = text(width);
        auto value = WholeInteger<Integer>(field);
        if (!value || *value < minimum)
            throw CommandFailure(what + " " + QuotedToken(field) + " is not valid");
        return *value;
    }
    double number(std::size_t width, const std::string& what) {
        std::string field = text(width);
        auto value = WholeNumber(field);
        if (!value) throw CommandFailure(what + " " + QuotedToken(field) + " is not a number");
        return *value;
    }

  private:
    std::string_view bytes_;
    std::size_t offset_ = 0;
};

// Field by field: every signal's label, then every signal's transducer, and so on.
std::vector<EdfSignal> ParseSignalFields(std::string_view bytes, std::size_t count) {
    std::vector<EdfSignal> signals(count);
    FieldCursor cursor(bytes);
    auto label = [](std::size_t i) { return "signal " + std::to_string(i + 1) + "'s "; };
    for (auto& s : signals) s.label = cursor.text(16);
    for (auto& s : signals) s.transducer = cursor.text(80);
    for (auto& s : signals) s.units = cursor.text(8);
    for (std::size_t i = 0; i < count; ++i)
        signals[i].physicalMin = cursor.number(8, label(i) + "physical minimum");
    for (std::size_t i = 0; i < count; ++i)
        signals[i].physicalMax = cursor.number(8, label(i) + "physical maximum");
    for (std::size_t i = 0; i < count; ++i)
        signals[i].digitalMin = cursor.integer<int>(8, label(i) + "digital minimum", -32768);
    for (std::size_t i = 0; i < count; ++i)
        signals[i].digitalMax = cursor.integer<int>(8, label(i) + "digital maximum", -32768);
    for (auto& s : signals) s.prefilter = cursor.text(80);
    for (std::size_t i = 0; i < count; ++i)
        signals[i].samplesPerRecord =
            cursor.integer<std::int64_t>(8, label(i) + "number of samples", 1);
    return signals;
}

void CheckSignals(EdfHeader& header) {
    std::int64_t offset = 0;
    for (std::size_t i = 0; i < header.signals.size(); ++i) {
        EdfSignal& s = header.signals[i];
        std::string name = "signal " + std::to_string(i + 1) + " " + QuotedToken(s.label);
        if (s.digitalMax > 32767 || s.digitalMin >= s.digitalMax)
            throw CommandFailure(name + ": the digital range is not valid");
        if (s.physicalMin == s.physicalMax && !s.isAnnotations())
            throw CommandFailure(name + ": the physical range is empty");
        // So that every physical value, even of a digital value outside the range, fits single
        // precision.
        if (std::fabs(s.physicalMin) > 1e30 || std::fabs(s.physicalMax) > 1e30)
            throw CommandFailure(name + ": the physical range is too wide");
        if (s.samplesPerRecord > (std::int64_t{1} << 30))
            throw CommandFailure(name + ": too many samples per data record");
        s.offsetInRecord = offset;
        offset += 2 * s.samplesPerRecord;
    }
    header.recordBytes = offset;
}

// The data records the file holds, checked against what the header says.
void CheckRecordCount(EdfHeader& header, std::int64_t declared, std::uint64_t fileSize) {
    auto data = static_cast<std::int64_t>(fileSize) - header.headerBytes;
    std::int64_t held = std::max<std::int64_t>(0, data) / header.recordBytes;
    if (declared == -1) declared = held;
    if (declared < 0) throw CommandFailure("the number of data records is negative");
    if (held < declared)
        throw CommandFailure("the file holds " + std::to_string(held) + " of its " +
                             std::to_string(declared) + " data records");
    header.recordCount = declared;
}

}  // namespace

EdfHeader ParseEdfHeader(std::string_view bytes, std::uint64_t fileSize) {
    if (bytes.size() < 256) throw CommandFailure("the file ends inside its header");
    FieldCursor cursor(bytes);
    if (std::string version = cursor.text(8); version != "0")
        throw CommandFailure("the version " + QuotedToken(version) + " is not EDF's '0'");
    EdfHeader header;
    header.patient = cursor.text(80);
    header.recording = cursor.text(80);
    header.startDate = cursor.text(8);
    header.startTime = cursor.text(8);
    header.headerBytes = cursor.integer<std::int64_t>(8, "the header size", 256);
    header.reserved = cursor.text(44);
    if (header.reserved.starts_with("EDF+D"))
        throw CommandFailure("discontinuous EDF+ files (EDF+D) are not read");
    auto declared = cursor.integer<std::int64_t>(8, "the number of data records", -1);
    header.recordSeconds = cursor.number(8, "the data record duration");
    auto count = cursor.integer<std::size_t>(4, "the number of signals", 1);
    if (count > MaxSignals)
        throw CommandFailure("more than " + std::to_string(MaxSignals) + " signals are not read");
    if (header.headerBytes != std::int64_t(256 * (count + 1)))
        throw CommandFailure("the header size " + std::to_string(header.headerBytes) +
                             " does not fit " + std::to_string(count) + " signals");
    if (bytes.size() < 256 * (count + 1)) throw CommandFailure("the file ends inside its header");
    if (!(header.recordSeconds > 0))
        throw CommandFailure("the data record duration is not positive");
    header.signals = ParseSignalFields(bytes.substr(256), count);
    CheckSignals(header);
    CheckRecordCount(header, declared, fileSize);
    return header;
}

EdfHeader ReadEdfHeader(const std::string& path) {
    try {
        BinaryFile file(path);
        std::string bytes(256, '\0');
        bytes.resize(file.read(reinterpret_cast<std::uint8_t*>(bytes.data()), 256));
        if (bytes.size() == 256) {
            auto count = WholeInteger<std::size_t>(TrimBlanks(bytes.substr(252, 4)));
            std::size_t total = 256 * (1 + std::min(count.value_or(0), MaxSignals));
            bytes.resize(total);
            auto* rest = reinterpret_cast<std::uint8_t*>(bytes.data()) + 256;
            bytes.resize(256 + file.read(rest, total - 256));
        }
        return ParseEdfHeader(bytes, file.size());
    } catch (const CommandFailure& failure) {
        throw CommandFailure(SafeText(path) + ": " + failure.what());
    }
}

}  // namespace ritmova::ecg
