#pragma once

#include <optional>

#include "analysis/analysis_state.h"
#include "common/command_failure.h"
#include "platform/platform.h"

namespace ritmova {

// The Poincare plot's r is undefined when the successive intervals do not vary.
class CorrelationUndefined : public CommandFailure {
  public:
    CorrelationUndefined()
        : CommandFailure("no variation between successive beats: r is undefined") {}
};

// The R-R tachogram of RRSeries as read: y from 0 to plotScale seconds, one unit per beat.
void DrawTachogram(PictureBox& picture, const AnalysisState& state, std::int16_t plotScale);

// The power spectrum scaled to spectrumMax, with the band marks at lines 11, 39 and 103.
void DrawSpectrum(PictureBox& picture, const AnalysisState& state, float spectrumMax);

// The Poincare plot of the mean-removed series with MeanRR added back, and its correlation
// coefficient r of successive intervals. Returns r; throws CommandFailure when r is
// undefined (no variation), after the dots are drawn and before the texts.
double DrawPoincare(PictureBox& picture, const AnalysisState& state);

// r alone, as DrawPoincare computes it; nullopt when it is undefined.
std::optional<double> PoincareCorrelation(const AnalysisState& state);

}  // namespace ritmova
