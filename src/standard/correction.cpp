#include "standard/correction.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/command_failure.h"
#include "standard/cubic_spline.h"
#include "standard/series.h"

namespace ritmova::standard {
namespace {

double meanOf(std::span<const double> values) {
    double sum = 0;
    for (const double v : values) sum += v;
    return sum / static_cast<double>(values.size());
}

// The share of corrected intervals and what follows from it.
void finishRecord(CorrectionRecord& record) {
    record.correctedPercent = record.intervalsBefore == 0
                                  ? 0
                                  : static_cast<double>(record.correctedBeats.size()) /
                                        static_cast<double>(record.intervalsBefore) * 100;
    record.unreliable = record.correctedPercent > UnreliablePercent;
}

// Flags |RR - local median| above the level scaled by mean RR / 1 s, and replaces the flagged
// intervals by the spline through the others.
CorrectedSeries correctByThreshold(std::span<const double> rrMs, CorrectionSettings settings,
                                   std::size_t firstBeat) {
    CorrectedSeries result;
    CorrectionRecord& record = result.record;
    record.thresholdMs = (settings.thresholdS * 1000) * (meanOf(rrMs) / 1000);
    const std::vector<double> medians = LocalMedians(rrMs, ThresholdMedianWindow);
    std::vector<std::uint8_t> flagged(rrMs.size(), 0);
    for (std::size_t i = 0; i < rrMs.size(); ++i) {
        if (std::fabs(rrMs[i] - medians[i]) > record.thresholdMs) {
            flagged[i] = 1;
            record.correctedBeats.push_back(firstBeat + i);
        }
    }
    result.rrMs = record.correctedBeats.empty() ? std::vector<double>(rrMs.begin(), rrMs.end())
                                                : SplineReplaced(rrMs, flagged);
    return result;
}

}  // namespace

std::vector<double> LocalMedians(std::span<const double> values, std::size_t width) {
    std::vector<double> medians(values.size());
    ForEachCentredWindow(values, width, [&medians](std::size_t i, std::span<const double> window) {
        medians[i] = SortedMedian(window);
    });
    return medians;
}

std::vector<double> SplineReplaced(std::span<const double> values,
                                   std::span<const std::uint8_t> flagged) {
    std::vector<double> knots;
    std::vector<double> knotValues;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (flagged[i]) continue;
        knots.push_back(static_cast<double>(i));
        knotValues.push_back(values[i]);
    }
    if (knots.size() < 2) {
        throw CommandFailure("correction: " + std::to_string(knots.size()) +
                             " intervals not flagged, 2 needed to draw the spline through");
    }
    const CubicSpline spline(knots, knotValues);
    std::vector<double> replaced(values.begin(), values.end());
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (flagged[i]) replaced[i] = spline(static_cast<double>(i));
    }
    return replaced;
}

CorrectedSeries CorrectIntervals(std::span<const double> rrMs, const CorrectionSettings& settings,
                                 std::size_t firstBeat) {
    CorrectedSeries result;
    if (settings.method == CorrectionMethod::Threshold) {
        result = correctByThreshold(rrMs, settings, firstBeat);
    } else if (settings.method == CorrectionMethod::Automatic) {
        result = CorrectAutomatically(rrMs, firstBeat);
    } else {
        result.rrMs.assign(rrMs.begin(), rrMs.end());
    }
    result.record.settings = settings;
    result.record.intervalsBefore = rrMs.size();
    result.record.intervalsAfter = result.rrMs.size();
    finishRecord(result.record);
    return result;
}

}  // namespace ritmova::standard
