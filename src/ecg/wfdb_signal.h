#pragma once

#include <string>
#include <string_view>

#include "ecg/signal_reader.h"
#include "ecg/wfdb_header.h"

namespace ritmova::ecg {

// One channel of a WFDB record in format 212 or 16 (other formats are refused with a reason).
SignalReader OpenWfdbSignal(const RecordLocation& location, const RecordHeader& header,
                            std::string_view channel);

// Signal `index` (from 0) of `header`, its samples read from `dataPath`.
SignalReader OpenWfdbSignalFile(const std::string& dataPath, const RecordHeader& header,
                                std::size_t index, const std::string& recordName);

}  // namespace ritmova::ecg
