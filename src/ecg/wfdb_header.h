#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ritmova::ecg {

// One signal line of a WFDB header:
// file format[xN][:skew][+offset] gain[(baseline)][/units] bits adczero initval checksum
// blocksize description. Fields left out take WFDB's defaults.
struct SignalSpec {
    std::string fileName;
    int format = 0;
    int samplesPerFrame = 1;
    int skew = 0;
    std::int64_t byteOffset = 0;
    double gain = 200;       // ADC units per physical unit; 200 when uncalibrated
    bool calibrated = true;  // false when the header gives gain 0
    std::int32_t baseline = 0;
    std::string units = "mV";
    int resolutionBits = 12;
    std::int32_t adcZero = 0;
    std::optional<std::int32_t> initialValue;
    std::optional<std::int32_t> checksum;  // 16-bit sum of the signal's samples
    std::int64_t blockSize = 0;
    std::string description;

    // Physical value of a digital sample: (digital - baseline) / gain.
    double physical(std::int32_t digital) const { return (digital - double(baseline)) / gain; }
};

// A WFDB header: the record line `name nsig [fs[/counter[(base)]] [nsamples ...]]`, then one
// line per signal; comments (`#`) and blank lines may sit anywhere; CR LF or LF.
struct RecordHeader {
    std::string name;
    double frequencyHz = 250;
    double counterFrequencyHz = 0;  // 0 when the header gives none
    std::int64_t sampleCount = 0;   // samples per signal; 0 when the header does not say
    std::vector<SignalSpec> signals;
    std::vector<std::string> comments;  // without the leading '#'
};

// Where a record's files are: "dir/100" and "dir/100.hea" both name record 100 in dir.
struct RecordLocation {
    std::filesystem::path header;
    std::filesystem::path folder;
    std::string name;
};

inline constexpr std::size_t MaxHeaderBytes = 1 << 20;
inline constexpr std::size_t MaxSignals = 4096;

RecordLocation LocateRecord(const std::string& record);

// Parses a header's text. Throws CommandFailure naming the line and the field at fault.
RecordHeader ParseHeader(std::string_view text);

// Reads and parses the header at `location`; the reason names the header file.
RecordHeader ReadHeader(const RecordLocation& location);

// The path of a signal file named in a header, inside the record's folder; absolute paths,
// ".." and standard input ("-") are refused.
std::filesystem::path SignalFilePath(const RecordLocation& location, const std::string& file);

}  // namespace ritmova::ecg
