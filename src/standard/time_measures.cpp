#include "standard/time_measures.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "standard/series.h"

namespace ritmova::standard {
namespace {

Measured tooShort(std::size_t needed) {
    return Measured::Absent("fewer than " + std::to_string(needed) + " intervals");
}

// The count of |d| above `limitMs` and its share of the differences in %.
void countAbove(std::span<const double> differences, double limitMs, Measured& count,
                Measured& percent) {
    const auto above = std::count_if(differences.begin(), differences.end(),
                                     [limitMs](double d) { return std::fabs(d) > limitMs; });
    count = Measured::Of(static_cast<double>(above));
    percent =
        Measured::Of(static_cast<double>(above) / static_cast<double>(differences.size()) * 100);
}

void measureDifferences(std::span<const double> rrMs, double meanMs, TimeDomain& t) {
    if (rrMs.size() < 2) {
        t.rmssdMs = t.cvsd = t.nn50 = t.pnn50 = t.nn20 = t.pnn20 = tooShort(2);
        t.sdsdMs = tooShort(3);
        return;
    }
    std::vector<double> differences(rrMs.size() - 1);
    double sumSquares = 0;
    for (std::size_t i = 0; i + 1 < rrMs.size(); ++i) {
        differences[i] = rrMs[i + 1] - rrMs[i];
        sumSquares += differences[i] * differences[i];
    }
    const double rmssd = std::sqrt(sumSquares / static_cast<double>(differences.size()));
    t.rmssdMs = Measured::Of(rmssd);
    t.cvsd = Measured::Of(rmssd / meanMs);
    t.sdsdMs = differences.size() < 2 ? tooShort(3) : MeanAndSd(differences).sd;
    countAbove(differences, 50, t.nn50, t.pnn50);
    countAbove(differences, 20, t.nn20, t.pnn20);
}

}  // namespace

MeanSd MeanAndSd(std::span<const double> values) {
    double sum = 0;
    for (const double v : values) sum += v;
    const double mean = sum / static_cast<double>(values.size());
    if (values.size() < 2) return {mean, tooShort(2)};
    double squares = 0;
    for (const double v : values) squares += (v - mean) * (v - mean);
    return {mean, Measured::Of(std::sqrt(squares / static_cast<double>(values.size() - 1)))};
}

TimeDomain MeasureTimeDomain(std::span<const double> rrMs) {
    TimeDomain t;
    if (rrMs.empty()) {
        t.meanNnMs = t.medianNnMs = t.minNnMs = t.maxNnMs = t.sdnnMs = t.cvnn = t.iqrMs =
            tooShort(1);
        measureDifferences(rrMs, 0, t);
        return t;
    }
    const MeanSd meanSd = MeanAndSd(rrMs);
    t.meanNnMs = Measured::Of(meanSd.mean);
    t.sdnnMs = meanSd.sd;
    t.cvnn = meanSd.sd ? Measured::Of(*meanSd.sd.value / meanSd.mean) : meanSd.sd;
    std::vector<double> sorted(rrMs.begin(), rrMs.end());
    std::sort(sorted.begin(), sorted.end());
    t.minNnMs = Measured::Of(sorted.front());
    t.maxNnMs = Measured::Of(sorted.back());
    t.medianNnMs = Measured::Of(SortedMedian(sorted));
    t.iqrMs = Measured::Of(Quantile(sorted, 0.75) - Quantile(sorted, 0.25));
    measureDifferences(rrMs, meanSd.mean, t);
    return t;
}

HeartRate MeasureHeartRate(std::span<const double> rrMs) {
    HeartRate h;
    if (rrMs.empty()) {
        h.meanBpm = h.sdBpm = h.minBpm = h.maxBpm = tooShort(1);
        return h;
    }
    std::vector<double> rates(rrMs.size());
    std::transform(rrMs.begin(), rrMs.end(), rates.begin(), [](double rr) { return 60000 / rr; });
    const MeanSd meanSd = MeanAndSd(rates);
    h.meanBpm = Measured::Of(meanSd.mean);
    h.sdBpm = meanSd.sd;
    const auto [low, high] = std::minmax_element(rates.begin(), rates.end());
    h.minBpm = Measured::Of(*low);
    h.maxBpm = Measured::Of(*high);
    return h;
}

}  // namespace ritmova::standard
