#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analysis/time_domain.h"

namespace ritmova {

// Values that exist only while one Open command runs; the texts and plots receive them.
struct PassValues {
    std::string InputFileName;  // as the Open dialog reported it
    TimeDomainValues timeDomain;
    std::int16_t PlotScale = 0;
    float SpectrumMax = 0;
    std::optional<double> PoincareR;  // set by the last step, when defined
};

}  // namespace ritmova
