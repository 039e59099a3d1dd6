#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/channel_choice.h"
#include "ecg/edf_file.h"
#include "ecg/field_text.h"
#include "ecg/file_bytes.h"

namespace ritmova::ecg {

namespace {

constexpr std::int64_t ChunkSamples = 65536;

// One signal's samples, record after record, at most ChunkSamples at a time.
class EdfSource : public SampleSource {
  public:
    EdfSource(const std::string& path, const EdfHeader& header, const EdfSignal& signal)
        : name_(SafeText(path)), file_(path), header_(header), signal_(signal) {}

    std::size_t read(std::span<float> out) override {
        std::size_t filled = 0;
        while (filled < out.size()) {
            if (next_ == values_.size() && !loadChunk()) break;
            std::size_t count = std::min(out.size() - filled, values_.size() - next_);
            std::copy_n(values_.begin() + std::ptrdiff_t(next_), count,
                        out.begin() + std::ptrdiff_t(filled));
            next_ += count;
            filled += count;
        }
        return filled;
    }

  private:
    bool loadChunk() {
        values_.clear();
        next_ = 0;
        if (inRecord_ == signal_.samplesPerRecord) ++record_, inRecord_ = 0;
        if (record_ >= header_.recordCount) return false;
        std::int64_t count = std::min(ChunkSamples, signal_.samplesPerRecord - inRecord_);
        file_.seek(static_cast<std::uint64_t>(header_.headerBytes + record_ * header_.recordBytes +
                                              signal_.offsetInRecord + 2 * inRecord_));
        bytes_.resize(static_cast<std::size_t>(2 * count));
        if (file_.read(bytes_.data(), bytes_.size()) != bytes_.size())
            throw CommandFailure(name_ + ": the file ends inside data record " +
                                 std::to_string(record_ + 1));
        for (std::size_t k = 0; k < bytes_.size(); k += 2) {
            int digital = bytes_[k] | bytes_[k + 1] << 8;
            if (digital >= 0x8000) digital -= 0x10000;
            values_.push_back(static_cast<float>(signal_.physical(digital)));
        }
        inRecord_ += count;
        return true;
    }

    std::string name_;
    BinaryFile file_;
    EdfHeader header_;
    EdfSignal signal_;
    std::int64_t record_ = 0, inRecord_ = 0;
    std::vector<std::uint8_t> bytes_;
    std::vector<float> values_;
    std::size_t next_ = 0;
};

// A TAL's onset ("+12.5", "-0.2": the sign required) or duration ("0.5": no sign).
double TalNumber(std::string_view text, bool withSign) {
    bool signGiven = !text.empty() && (text[0] == '+' || text[0] == '-');
    std::string_view digits = withSign ? text.substr(std::min<std::size_t>(1, text.size())) : text;
    std::optional<double> value;
    bool startsWell = !digits.empty() &&
                      (std::isdigit(static_cast<unsigned char>(digits[0])) || digits[0] == '.');
    if (signGiven == withSign && startsWell) value = WholeNumber(digits);
    if (!value) throw CommandFailure("the annotation time " + QuotedToken(text) + " is not valid");
    return text[0] == '-' ? -*value : *value;
}

void ParseTal(std::string_view tal, std::vector<EdfAnnotation>& out) {
    std::size_t texts = tal.find('\x14');
    if (texts == std::string_view::npos)
        throw CommandFailure("an annotation " + QuotedToken(tal) + " lacks its text mark");
    std::string_view times = tal.substr(0, texts);
    std::size_t split = times.find('\x15');
    EdfAnnotation annotation;
    annotation.onsetSeconds = TalNumber(times.substr(0, split), true);
    if (split != std::string_view::npos)
        annotation.durationSeconds = TalNumber(times.substr(split + 1), false);
    std::string_view rest = tal.substr(texts + 1);
    while (!rest.empty()) {
        std::size_t end = rest.find('\x14');
        if (end == std::string_view::npos) end = rest.size();
        annotation.text = std::string(rest.substr(0, end));
        if (!annotation.text.empty()) out.push_back(annotation);
        rest.remove_prefix(std::min(rest.size(), end + 1));
    }
}

}  // namespace

void ParseTals(std::string_view bytes, std::vector<EdfAnnotation>& out) {
    while (!bytes.empty()) {
        if (bytes.front() == '\0') {
            bytes.remove_prefix(1);
            continue;
        }
        std::size_t end = std::min(bytes.find('\0'), bytes.size());
        ParseTal(bytes.substr(0, end), out);
        bytes.remove_prefix(end);
    }
}

std::vector<EdfAnnotation> ReadEdfAnnotations(const std::string& path) {
    EdfHeader header = ReadEdfHeader(path);
    std::vector<EdfAnnotation> annotations;
    try {
        BinaryFile file(path);
        std::int64_t total = 0;
        std::string bytes;
        for (std::int64_t r = 0; r < header.recordCount; ++r) {
            for (const EdfSignal& s : header.signals) {
                if (!s.isAnnotations()) continue;
                total += 2 * s.samplesPerRecord;
                if (total > MaxEdfAnnotationBytes)
                    throw CommandFailure("the annotations take more than 64 MB");
                bytes.resize(std::size_t(2 * s.samplesPerRecord));
                file.seek(
                    std::uint64_t(header.headerBytes + r * header.recordBytes + s.offsetInRecord));
                file.read(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
                ParseTals(bytes, annotations);
            }
        }
    } catch (const CommandFailure& failure) {
        throw CommandFailure(SafeText(path) + ": " + failure.what());
    }
    return annotations;
}

std::size_t ChooseEdfChannel(const EdfHeader& header, std::string_view choice) {
    std::vector<ChannelName> names;
    for (const EdfSignal& s : header.signals) names.push_back({s.label, s.transducer});
    return ChooseChannel(names, choice);
}

SignalReader OpenEdfSignal(const std::string& path, std::string_view channel) {
    EdfHeader header = ReadEdfHeader(path);
    std::size_t index = 0;
    try {
        index = ChooseEdfChannel(header, channel);
        if (header.signals[index].isAnnotations())
            throw CommandFailure("channel " + std::to_string(index + 1) +
                                 " holds annotations, not a signal");
    } catch (const CommandFailure& failure) {
        throw CommandFailure(SafeText(path) + ": " + failure.what());
    }
    const EdfSignal& signal = header.signals[index];
    std::string name = std::filesystem::path(path).stem().string();
    ChannelInfo info{name,
                     signal.label,
                     signal.units,
                     header.frequencyHz(signal),
                     header.recordCount * signal.samplesPerRecord,
                     index};
    return {std::make_unique<EdfSource>(path, header, signal), info};
}

}  // namespace ritmova::ecg
