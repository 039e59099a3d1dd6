#include "ecg/wfdb_signal.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/channel_choice.h"
#include "ecg/file_bytes.h"

namespace ritmova::ecg {

namespace {

// Which signals share the chosen one's file: a run of header lines naming the same file, whose
// samples are interleaved frame by frame.
struct FileGroup {
    std::size_t first = 0;
    std::size_t width = 1;
    std::size_t position = 0;  // of the chosen signal within a frame
};

FileGroup GroupOf(const RecordHeader& header, std::size_t index) {
    const auto& signals = header.signals;
    std::size_t first = index, last = index;
    while (first > 0 && signals[first - 1].fileName == signals[index].fileName) --first;
    while (last + 1 < signals.size() && signals[last + 1].fileName == signals[index].fileName)
        ++last;
    return {first, last - first + 1, index - first};
}

void RequireReadable(const RecordHeader& header, const FileGroup& group, std::size_t index) {
    for (std::size_t i = group.first; i < group.first + group.width; ++i) {
        const SignalSpec& signal = header.signals[i];
        if (signal.format != 212 && signal.format != 16)
            throw CommandFailure("signal format " + std::to_string(signal.format) +
                                 " is not read (only formats 212 and 16 are)");
        if (signal.format != header.signals[index].format)
            throw CommandFailure("the signals of one file have different formats");
        if (signal.samplesPerFrame != 1)
            throw CommandFailure("signals with " + std::to_string(signal.samplesPerFrame) +
                                 " samples per frame are not read");
    }
    const SignalSpec& chosen = header.signals[index];
    if (chosen.skew != 0) throw CommandFailure("skewed signals are not read");
    // Every physical value must fit single precision: the widest digital value, 32768 in
    // format 16, less the baseline, over the gain.
    double widest = 32768.0 + std::fabs(double(chosen.baseline));
    if (!(widest / chosen.gain < 1e38))
        throw CommandFailure("the gain is too small for the values to fit single precision");
}

std::int32_t Sample212(const std::uint8_t* bytes, std::size_t k) {
    const std::uint8_t* pair = bytes + 3 * (k / 2);
    int value = k % 2 == 0 ? pair[0] | (pair[1] & 0x0F) << 8 : pair[2] | (pair[1] & 0xF0) << 4;
    return value >= 0x800 ? value - 0x1000 : value;
}

std::int32_t Sample16(const std::uint8_t* bytes, std::size_t k) {
    int value = bytes[2 * k] | bytes[2 * k + 1] << 8;
    return value >= 0x8000 ? value - 0x10000 : value;
}

std::int32_t InvalidSample(int format) {
    return format == 16 ? -32768 : -2048;
}

// Bytes that `samples` interleaved samples take, and samples that `bytes` bytes hold.
std::size_t BytesFor(int format, std::size_t samples) {
    return format == 16 ? 2 * samples : (3 * samples + 1) / 2;
}
std::size_t SamplesIn(int format, std::size_t bytes) {
    return format == 16 ? bytes / 2 : 2 * (bytes / 3) + (bytes % 3 >= 2 ? 1 : 0);
}

class WfdbSource : public SampleSource {
  public:
    WfdbSource(const std::string& file, const SignalSpec& signal, FileGroup group,
               std::int64_t sampleCount)
        : name_(SafeText(file)),
          file_(file),
          signal_(signal),
          group_(group),
          sampleCount_(sampleCount > 0 ? sampleCount : -1),
          blockFrames_(std::max<std::size_t>(2, (65536 / group.width) & ~std::size_t{1})) {
        file_.seek(static_cast<std::uint64_t>(signal.byteOffset));
    }

    std::size_t read(std::span<float> out) override {
        std::size_t filled = 0;
        while (filled < out.size()) {
            if (next_ == values_.size() && !loadBlock()) break;
            std::size_t count = std::min(out.size() - filled, values_.size() - next_);
            std::copy_n(values_.begin() + static_cast<std::ptrdiff_t>(next_), count,
                        out.begin() + static_cast<std::ptrdiff_t>(filled));
            next_ += count;
            filled += count;
        }
        return filled;
    }

  private:
    [[noreturn]] void fail(const std::string& reason) const {
        throw CommandFailure(name_ + ": " + reason);
    }

    std::size_t wantedFrames() const {
        if (sampleCount_ < 0) return blockFrames_;
        return static_cast<std::size_t>(std::min<std::int64_t>(
            static_cast<std::int64_t>(blockFrames_), sampleCount_ - frames_));
    }

    bool loadBlock() {
        values_.clear();
        next_ = 0;
        std::size_t wanted = wantedFrames();
        if (ended_ || wanted == 0) return false;
        bytes_.resize(BytesFor(signal_.format, wanted * group_.width));
        std::size_t got = file_.read(bytes_.data(), bytes_.size());
        std::size_t frames = std::min(wanted, SamplesIn(signal_.format, got) / group_.width);
        if (frames < wanted && sampleCount_ >= 0)
            fail("the signal ends after " + std::to_string(frames_ + std::int64_t(frames)) +
                 " of " + std::to_string(sampleCount_) + " samples");
        decode(frames);
        ended_ = frames < wanted || frames_ == sampleCount_;
        if (ended_) checkSum();
        return !values_.empty();
    }

    void decode(std::size_t frames) {
        for (std::size_t f = 0; f < frames; ++f) {
            std::size_t k = f * group_.width + group_.position;
            std::int32_t digital =
                signal_.format == 16 ? Sample16(bytes_.data(), k) : Sample212(bytes_.data(), k);
            if (frames_ == 0 && f == 0 && signal_.initialValue && digital != *signal_.initialValue)
                fail("the first sample is " + std::to_string(digital) +
                     " but the header's initial value is " + std::to_string(*signal_.initialValue));
            sum_ = static_cast<std::uint16_t>(sum_ + static_cast<std::uint32_t>(digital));
            // The format's most negative value marks a sample that was not recorded: the
            // last recorded value stands in, so that a gap is not read as a huge swing.
            if (digital != InvalidSample(signal_.format))
                lastValue_ = static_cast<float>(signal_.physical(digital));
            values_.push_back(lastValue_);
        }
        frames_ += static_cast<std::int64_t>(frames);
    }

    void checkSum() const {
        if (!signal_.checksum) return;
        auto expected = static_cast<std::int16_t>(static_cast<std::uint16_t>(*signal_.checksum));
        auto actual = static_cast<std::int16_t>(sum_);
        if (actual != expected)
            fail("the samples' checksum is " + std::to_string(actual) + " but the header says " +
                 std::to_string(expected));
    }

    std::string name_;
    BinaryFile file_;
    SignalSpec signal_;
    FileGroup group_;
    std::int64_t sampleCount_;
    std::size_t blockFrames_;
    std::vector<std::uint8_t> bytes_;
    std::vector<float> values_;
    std::size_t next_ = 0;
    std::int64_t frames_ = 0;
    std::uint16_t sum_ = 0;
    float lastValue_ = 0;
    bool ended_ = false;
};

}  // namespace

SignalReader OpenWfdbSignalFile(const std::string& dataPath, const RecordHeader& header,
                                std::size_t index, const std::string& recordName) {
    FileGroup group = GroupOf(header, index);
    RequireReadable(header, group, index);
    const SignalSpec& signal = header.signals[index];
    ChannelInfo info{recordName,
                     signal.description,
                     signal.units,
                     header.frequencyHz,
                     header.sampleCount > 0 ? header.sampleCount : -1,
                     index};
    return {std::make_unique<WfdbSource>(dataPath, signal, group, header.sampleCount), info};
}

SignalReader OpenWfdbSignal(const RecordLocation& location, const RecordHeader& header,
                            std::string_view channel) {
    std::vector<ChannelName> names;
    for (const SignalSpec& signal : header.signals) names.push_back({signal.description, {}});
    std::size_t index = ChooseChannel(names, channel);
    auto path = SignalFilePath(location, header.signals[index].fileName);
    return OpenWfdbSignalFile(path.string(), header, index, location.name);
}

}  // namespace ritmova::ecg
