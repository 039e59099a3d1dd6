#pragma once

#include "analysis/window_analysis.h"
#include "ui/window_port.h"

namespace ritmova {

// The R-R tachogram of the series as read: y from 0 to 2 seconds, one unit per beat.
void DrawTachogram(PictureBox& picture, const PassResults& results);

// The power spectrum scaled to its largest power, with the band marks at lines 11, 39 and 103.
void DrawSpectrum(PictureBox& picture, const PassResults& results);

// The Poincare plot's dots: the mean-removed series with the mean added back. Throws
// CommandFailure when an interval so formed overflows, after the dots before it.
void DrawPoincareDots(PictureBox& picture, const PassResults& results);

// The Poincare plot's title and its correlation coefficient r.
void DrawPoincareTexts(PictureBox& picture, double r);

}  // namespace ritmova
