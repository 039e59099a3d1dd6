// The three plots' drawing calls, worked out by hand from the plot descriptions.
#include "ui/plots.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "measures/poincare.h"
#include "recording_window.h"

namespace ritmova {
namespace {

using Calls = std::vector<std::string>;
using testing::RecordingPicture;

// The series alternates 0.75 and 1.25 s, odd beats first: every value exact in binary. The
// Poincare plot gets it mean-removed around 1, so its dots are exact and r is exactly -1.
PassResults Alternating(float odd, float even, float mean) {
    PassResults results;
    results.meanRR = mean;
    for (int i = 1; i <= BeatCount; ++i) {
        results.seriesAsRead[i] = results.deviations[i] = i % 2 ? odd : even;
    }
    for (int j = 1; j <= 2; ++j) results.powerSpectrum[std::size_t(j)] = 0.75f / float(j);
    results.spectrumMax.value = 0.5f;
    return results;
}

// The Poincare plot as the window draws it: the dots, and the texts when r is defined.
void DrawPoincare(RecordingPicture& picture, const PassResults& results) {
    DrawPoincareDots(picture, results);
    const auto r = PoincareCorrelation(std::span(results.deviations).subspan<1, BeatCount>());
    if (r) DrawPoincareTexts(picture, *r);
}

// A plot's calls: `head`, then `traceCount` calls of the trace, then `tail`.
struct PlotCase {
    const char* name;
    std::function<void(RecordingPicture&)> draw;
    Calls head;
    std::string trace;
    std::size_t traceCount;
    Calls tail;
};

// clang-format off
const PlotCase Cases[] = {
    // Scale 2 s: the beat marks reach the top, the labels sit a twentieth below it; the dotted
    // second lines at 0.5, 1 and 1.5.
    {"Tachogram", [](RecordingPicture& p) { DrawTachogram(p, Alternating(0.75f, 1.25f, 0)); },
     {"clear", "scaleHeight -2", "scaleTop 2", "line 64 0 64 2", "line 128 0 128 2",
      "line 192 0 192 2", "dotted", "line 1 0.5 256 0.5", "line 1 1 256 1", "line 1 1.5 256 1.5",
      "solid", "point 1 0.75", "lineTo 2 1.25"}, "lineTo ", 253,
     {"lineTo 256 1.25", "currentX 64", "currentY 1.9", "print ' 64'", "currentX 128",
      "currentY 1.9", "print ' 128'", "currentX 192", "currentY 1.9", "print ' 192'"}},
    // The trace runs on over the unwritten, zero elements up to 256.
    {"Spectrum", [](RecordingPicture& p) { DrawSpectrum(p, Alternating(0, 0, 0)); },
     {"clear", "scaleHeight -0.5", "scaleTop 0.5", "line 11 0 11 0.5", "line 39 0 39 0.5",
      "line 103 0 103 0.5", "point 1 0.75", "lineTo 2 0.375", "lineTo 3 0"}, "lineTo ", 252,
     {"lineTo 256 0", "currentX 11", "currentY 0.475", "print ' .04'", "currentX 39",
      "currentY 0.475", "print ' .15'", "currentX 103", "currentY 0.475",
      "print ' .4 cycles/beat'"}},
    // Beat i across, beat i - 1 up.
    {"Poincare",
     [](RecordingPicture& p) { DrawPoincare(p, Alternating(-0.25f, 0.25f, 1)); },
     {"clear", "point 1.25 0.75", "point 0.75 1.25"}, "point ", 252,
     {"point 1.25 0.75", "currentX 0.5", "currentY 1.5", "print ' Poincar\u00e9 plot'",
      "currentX 1", "currentY 0.6", "print 'r = -1'"}},
    // A constant series draws its dots, then has no correlation and no texts.
    {"PoincareConstant", [](RecordingPicture& p) { DrawPoincare(p, Alternating(0, 0, 0.875f)); },
     {"clear", "point 0.875 0.875"}, "point ", 253, {"point 0.875 0.875"}}};
// clang-format on

TEST(PlotTest, DrawsHeadTraceAndTail) {
    for (const PlotCase& c : Cases) {
        SCOPED_TRACE(c.name);
        RecordingPicture picture;
        c.draw(picture);
        const Calls& calls = picture.calls;
        ASSERT_EQ(calls.size(), c.head.size() + c.traceCount + c.tail.size());
        EXPECT_EQ(Calls(calls.begin(), calls.begin() + std::ptrdiff_t(c.head.size())), c.head);
        EXPECT_EQ(Calls(calls.end() - std::ptrdiff_t(c.tail.size()), calls.end()), c.tail);
        for (std::size_t i = c.head.size(); i < c.head.size() + c.traceCount; ++i)
            ASSERT_EQ(calls[i].rfind(c.trace, 0), 0u) << i;
    }
}

}  // namespace
}  // namespace ritmova
