#pragma once

#include <ostream>

#include "cli/recording_analysis.h"

namespace ritmova::cli {

// Writes a JSON array of one object per recording; call begin, one write per recording, end.
class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}
    void begin();
    void write(const RecordingAnalysis& recording);
    void end();

  private:
    std::ostream& out_;
    bool first_ = true;
};

// The CSV header line, and one row per recording with the same measures (no spectrum).
void WriteCsvHeader(std::ostream& out);
void WriteCsvRow(std::ostream& out, const RecordingAnalysis& recording);

}  // namespace ritmova::cli
