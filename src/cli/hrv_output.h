#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "analysis/recording.h"
#include "standard/stretch_analysis.h"

namespace ritmova::cli {

// The hrv command's output of one analysed stretch: a JSON object (file, settings, stretch,
// correction, the measures grouped by domain, the reasons for the absent ones and, when asked,
// the densities) or a CSV row of the same keys flattened, `error` last. Appended to a text
// written out in one piece.
struct HrvStretchOutput {
    std::string_view file;
    Units units = Units::Seconds;
    const standard::StretchChoice* choice = nullptr;
    const standard::StretchResults* results = nullptr;
    std::optional<standard::Stretch> leftOut;  // the incomplete segment after this one
    bool densities = false;                    // the Welch and Lomb-Scargle densities too
};

void AppendHrvJson(std::string& out, const HrvStretchOutput& stretch);

std::string HrvCsvHeader();
void AppendHrvCsvRow(std::string& out, const HrvStretchOutput& stretch);

// A file or stretch that gives a reason instead of its measures; `stretch` as far as known.
void AppendHrvJsonFailure(std::string& out, std::string_view file, const standard::Stretch* stretch,
                          std::string_view reason);
void AppendHrvCsvFailure(std::string& out, std::string_view file, const standard::Stretch* stretch,
                         std::string_view reason);

}  // namespace ritmova::cli
