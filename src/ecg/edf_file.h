#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ecg/signal_reader.h"

namespace ritmova::ecg {

// One signal of an EDF file, as its header describes it.
struct EdfSignal {
    std::string label, transducer, units, prefilter;
    double physicalMin = 0, physicalMax = 0;
    int digitalMin = 0, digitalMax = 0;
    std::int64_t samplesPerRecord = 0;
    std::int64_t offsetInRecord = 0;  // bytes from the start of a data record

    bool isAnnotations() const { return label == "EDF Annotations"; }
    // pmin + (d - dmin) * (pmax - pmin) / (dmax - dmin)
    double physical(int digital) const {
        return physicalMin + (digital - double(digitalMin)) * (physicalMax - physicalMin) /
                                 (double(digitalMax) - double(digitalMin));
    }
};

// The header of an EDF or EDF+ file: 256 bytes, then 256 per signal, field by field.
struct EdfHeader {
    std::string patient, recording, startDate, startTime, reserved;
    std::int64_t headerBytes = 0;
    std::int64_t recordCount = 0;  // data records; from the file's size when it says -1
    double recordSeconds = 0;
    std::int64_t recordBytes = 0;
    std::vector<EdfSignal> signals;

    bool isPlus() const { return reserved.starts_with("EDF+"); }
    double frequencyHz(const EdfSignal& signal) const {
        return double(signal.samplesPerRecord) / recordSeconds;
    }
};

// One annotation of the "EDF Annotations" signal: a TAL's onset and duration in seconds (the
// duration -1 when the TAL gives none) with one of its texts.
struct EdfAnnotation {
    double onsetSeconds = 0;
    double durationSeconds = -1;
    std::string text;
};

inline constexpr std::int64_t MaxEdfAnnotationBytes = 64 << 20;

// Parses the fixed header and the signal fields, checked against the file's size; throws
// CommandFailure naming the field at fault. EDF+D (discontinuous) is refused.
EdfHeader ParseEdfHeader(std::string_view bytes, std::uint64_t fileSize);

// Reads the header of the EDF file at `path`; reasons name the file.
EdfHeader ReadEdfHeader(const std::string& path);

// The TALs of one data record's annotation bytes, time-keeping TALs (empty texts) left out.
void ParseTals(std::string_view bytes, std::vector<EdfAnnotation>& out);

// Every annotation of every "EDF Annotations" signal, record by record.
std::vector<EdfAnnotation> ReadEdfAnnotations(const std::string& path);

// The index of the signal `choice` names, as ChooseChannel chooses among the signals' labels and
// transducers; throws CommandFailure listing them when none fits.
std::size_t ChooseEdfChannel(const EdfHeader& header, std::string_view choice);

// One channel of an EDF file as physical values, read in blocks.
SignalReader OpenEdfSignal(const std::string& path, std::string_view channel);

}  // namespace ritmova::ecg
