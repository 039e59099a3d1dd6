#include "ecg/signal_reader.h"

#include <algorithm>
#include <cctype>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/edf_file.h"
#include "ecg/wfdb_signal.h"

namespace ritmova::ecg {

SignalReader::SignalReader(std::unique_ptr<SampleSource> source, ChannelInfo info)
    : source_(std::move(source)), info_(std::move(info)) {}

std::vector<float> SignalReader::readRange(std::int64_t first, std::size_t count) {
    std::vector<float> values(count);
    seek(std::max<std::int64_t>(first, 0));
    values.resize(read(values));
    return values;
}

bool IsEdfPath(const std::string& path) {
    std::string suffix = std::filesystem::path(path).extension().string();
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return suffix == ".edf";
}

SignalReader OpenSignal(const std::string& record, std::string_view channel) {
    if (IsEdfPath(record)) return OpenEdfSignal(record, channel);
    RecordLocation location = LocateRecord(record);
    RecordHeader header = ReadHeader(location);
    try {
        return OpenWfdbSignal(location, header, channel);
    } catch (const CommandFailure& failure) {
        throw CommandFailure(SafeText(location.header.string()) + ": " + failure.what());
    }
}

std::vector<std::string> ChannelLabels(const std::string& record) {
    std::vector<std::string> labels;
    if (IsEdfPath(record)) {
        for (const EdfSignal& signal : ReadEdfHeader(record).signals)
            labels.push_back(signal.label);
    } else {
        for (const SignalSpec& signal : ReadHeader(LocateRecord(record)).signals)
            labels.push_back(signal.description);
    }
    return labels;
}

}  // namespace ritmova::ecg
