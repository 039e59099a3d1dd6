// Automatic correction after Lipponen and Tarvainen (2019), J Med Eng Technol 43(3).
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <set>

#include "standard/correction.h"
#include "standard/series.h"

namespace ritmova::standard {
namespace {

using C = AutomaticConstants;
constexpr double NoValue = std::numeric_limits<double>::quiet_NaN();

// alpha times the quartile deviation (Q3 - Q1) / 2 of |value| over the centred window around
// each value, shrinking at the ends.
std::vector<double> thresholds(std::span<const double> values) {
    std::vector<double> magnitudes(values.size());
    std::transform(values.begin(), values.end(), magnitudes.begin(),
                   [](double v) { return std::fabs(v); });
    std::vector<double> result(values.size());
    ForEachCentredWindow(
        magnitudes, C::DeviationWindow, [&result](std::size_t i, std::span<const double> window) {
            result[i] = C::Alpha * ((Quantile(window, 0.75) - Quantile(window, 0.25)) / 2);
        });
    return result;
}

// The scaled series the classification reads.
struct Scaled {
    std::vector<double> drrs;    // dRR / Th1
    std::vector<double> median;  // of the 11 intervals around each
    std::vector<double> th2;     // the threshold of the deviations from the median
    std::vector<double> mrrs;    // the deviation from the median (negative ones doubled) / Th2
};

Scaled scale(std::span<const double> rr) {
    const std::size_t n = rr.size();
    Scaled s;
    std::vector<double> drr(n, 0);
    double sum = 0;
    for (std::size_t i = 1; i < n; ++i) sum += drr[i] = rr[i] - rr[i - 1];
    drr[0] = sum / static_cast<double>(n - 1);  // the mean of the others
    const std::vector<double> th1 = thresholds(drr);
    s.drrs.resize(n);
    for (std::size_t i = 0; i < n; ++i) s.drrs[i] = drr[i] / th1[i];
    s.median = LocalMedians(rr, C::MedianWindow);
    std::vector<double> mrr(n);
    for (std::size_t i = 0; i < n; ++i) {
        mrr[i] = rr[i] - s.median[i];
        if (mrr[i] < 0) mrr[i] *= 2;
    }
    s.th2 = thresholds(mrr);
    s.mrrs.resize(n);
    for (std::size_t i = 0; i < n; ++i) s.mrrs[i] = mrr[i] / s.th2[i];
    return s;
}

// The larger (`larger`) or smaller of the values at the indices that exist (one before the
// first wraps round to an index that does not); NaN when none does.
double extremeOf(std::span<const double> v, std::initializer_list<std::size_t> at, bool larger) {
    double result = NoValue;
    for (const std::size_t i : at) {
        if (i >= v.size()) continue;
        if (std::isnan(result) || (larger ? v[i] > result : v[i] < result)) result = v[i];
    }
    return result;
}

bool isEctopic(const Scaled& s, std::size_t j) {
    const double s11 = s.drrs[j];
    const double s12 = extremeOf(s.drrs, {j - 1, j + 1}, s11 > 0);
    return (s11 > 1 && s12 < -C::C1 * s11 - C::C2) || (s11 < -1 && s12 > -C::C1 * s11 + C::C2);
}

// Long, short, missed or extra, else normal.
BeatClass longShortClass(std::span<const double> rr, const Scaled& s, std::size_t k) {
    const double s21 = s.drrs[k];
    const double s22 = extremeOf(s.drrs, {k + 1, k + 2}, s21 < 0);
    const bool longBeat = s21 > 1 && s22 < -1;
    const bool shortBeat = s21 < -1 && s22 > 1;
    if (!longBeat && !shortBeat && !(std::fabs(s.mrrs[k]) > 3)) return BeatClass::Normal;
    const bool missed = std::fabs(rr[k] / 2 - s.median[k]) < s.th2[k];
    const bool extra = k + 1 < rr.size() && std::fabs(rr[k] + rr[k + 1] - s.median[k]) < s.th2[k];
    if (shortBeat && extra) return BeatClass::Extra;
    if (longBeat && missed) return BeatClass::Missed;
    return rr[k] > s.median[k] ? BeatClass::Long : BeatClass::Short;
}

}  // namespace

std::vector<BeatClass> ClassifyBeats(std::span<const double> rr) {
    const std::size_t n = rr.size();
    std::vector<BeatClass> classes(n, BeatClass::Normal);
    if (n < 3) return classes;
    const Scaled s = scale(rr);
    for (std::size_t j = 0; j < n; ++j) {
        if (classes[j] != BeatClass::Normal || !(std::fabs(s.drrs[j]) > 1)) continue;
        if (isEctopic(s, j)) {
            classes[j] = BeatClass::Ectopic;
            continue;
        }
        classes[j] = longShortClass(rr, s, j);
        if (classes[j] == BeatClass::Extra) {
            ++j;  // merged with the next: nothing is left of that one to classify
        } else if (j + 2 < n && std::fabs(s.drrs[j + 1]) < std::fabs(s.drrs[j + 2])) {
            // The beat after is looked at too when its difference is the smaller of the next two.
            classes[j + 1] = longShortClass(rr, s, j + 1);
        }
    }
    return classes;
}

namespace {

// One round's correction: missed intervals split in halves, extra ones merged with the next,
// the others flagged for the spline. `origin` follows each interval to its first position.
struct Round {
    std::vector<double> rr;
    std::vector<std::size_t> origin;
};

Round applyClasses(const Round& in, std::span<const BeatClass> classes, std::set<std::size_t>& hit,
                   std::array<std::size_t, BeatClassCount>& counts) {
    Round out;
    std::vector<std::uint8_t> flagged;
    const auto keep = [&](double value, std::size_t origin, bool flag) {
        out.rr.push_back(value);
        out.origin.push_back(origin);
        flagged.push_back(flag ? 1 : 0);
    };
    for (std::size_t j = 0; j < in.rr.size(); ++j) {
        const BeatClass c = classes[j];
        if (c == BeatClass::Normal) {
            keep(in.rr[j], in.origin[j], false);
            continue;
        }
        ++counts[static_cast<std::size_t>(c)];
        hit.insert(in.origin[j]);
        if (c == BeatClass::Missed) {
            keep(in.rr[j] / 2, in.origin[j], false);
            keep(in.rr[j] / 2, in.origin[j], false);
        } else if (c == BeatClass::Extra && j + 1 < in.rr.size()) {
            hit.insert(in.origin[j + 1]);
            keep(in.rr[j] + in.rr[j + 1], in.origin[j], false);
            ++j;
        } else {
            keep(in.rr[j], in.origin[j], true);
        }
    }
    if (std::find(flagged.begin(), flagged.end(), 1) != flagged.end())
        out.rr = SplineReplaced(out.rr, flagged);
    return out;
}

}  // namespace

CorrectedSeries CorrectAutomatically(std::span<const double> rrMs, std::size_t firstBeat) {
    CorrectedSeries result;
    CorrectionRecord& record = result.record;
    Round round{{rrMs.begin(), rrMs.end()}, {}};
    for (std::size_t i = 0; i < rrMs.size(); ++i) round.origin.push_back(i);
    std::set<std::size_t> hit;
    std::size_t previous = std::numeric_limits<std::size_t>::max();
    while (record.rounds < C::MaxRounds) {
        const std::vector<BeatClass> classes = ClassifyBeats(round.rr);
        const auto flagged = static_cast<std::size_t>(std::count_if(
            classes.begin(), classes.end(), [](BeatClass c) { return c != BeatClass::Normal; }));
        if (flagged == 0 || flagged >= previous) break;
        round = applyClasses(round, classes, hit, record.classCounts);
        previous = flagged;
        ++record.rounds;
    }
    for (const std::size_t i : hit) record.correctedBeats.push_back(firstBeat + i);
    result.rrMs = std::move(round.rr);
    return result;
}

}  // namespace ritmova::standard
