#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ritmova::ecg {

// What a reader knows about the channel it reads.
struct ChannelInfo {
    std::string recordName;  // "100", "r01"
    std::string label;       // "MLII", "Direct_1"
    std::string units;       // "mV"
    double frequencyHz = 0;
    std::int64_t sampleCount = -1;  // -1 when the record does not say
    std::size_t index = 0;          // from 0
};

// A source of one channel's physical values, block by block.
class SampleSource {
  public:
    virtual ~SampleSource() = default;
    virtual std::size_t read(std::span<float> out) = 0;
    // The next read starts at `sample` (from 0); past the end, reads give nothing.
    virtual void seek(std::int64_t sample) = 0;
};

// One channel of a WFDB record or an EDF file, read in blocks so that memory stays bounded by
// a block, whatever the length of the record. Failures (a truncated signal file, a checksum or
// initial value that disagrees with the header) throw CommandFailure with the reason.
class SignalReader {
  public:
    SignalReader(std::unique_ptr<SampleSource> source, ChannelInfo info);

    // Fills `out` with the next physical values; returns how many, fewer than out.size() only
    // at the end of the signal, 0 after it.
    std::size_t read(std::span<float> out) { return source_->read(out); }
    // The next read starts at `sample` (from 0), so that a view reads only the stretch it
    // shows; past the end, reads give nothing. The checksum is checked only on a read from
    // the start to the end.
    void seek(std::int64_t sample) { source_->seek(sample); }
    // Up to `count` values from `first` on: fewer near the end, none past it.
    std::vector<float> readRange(std::int64_t first, std::size_t count);
    double frequencyHz() const { return info_.frequencyHz; }
    const ChannelInfo& info() const { return info_; }

  private:
    std::unique_ptr<SampleSource> source_;
    ChannelInfo info_;
};

// Opens a channel of `record`: a WFDB record ("dir/100" or "dir/100.hea") or an EDF file
// ("dir/r01.edf"). `channel` is a number from 1 or a label; empty chooses the first ECG
// channel (see ChooseChannel). Reasons name the file.
SignalReader OpenSignal(const std::string& record, std::string_view channel = {});

// The labels of the record's channels, in their order (channel 1 first), as OpenSignal matches
// them. Throws CommandFailure when the header cannot be read.
std::vector<std::string> ChannelLabels(const std::string& record);

// True when `path` names an EDF file (by its suffix .edf, any case).
bool IsEdfPath(const std::string& path);

}  // namespace ritmova::ecg
