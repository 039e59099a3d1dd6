#include "measures/fourier_transform.h"

#include <array>
#include <bit>
#include <cmath>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

namespace ritmova {
namespace {

// Two-pi as written with 14 decimals, not the full-precision value.
constexpr double TwoPi = 6.28318530717959;

constexpr int MaxCount = 8192;
constexpr int LengthCount = 14;  // counts 1, 2, 4, ..., 8192

void checkArguments(int count, std::size_t size, int direction) {
    if (count < 1 || (count & (count - 1)) != 0 || count > MaxCount) {
        throw std::invalid_argument("FourierTransform: count must be a power of two up to 8192");
    }
    if (size < 2 * static_cast<std::size_t>(count) + 1) {
        throw std::invalid_argument("FourierTransform: data must hold elements 0..2*count");
    }
    if (direction != 1 && direction != -1) {
        throw std::invalid_argument("FourierTransform: direction must be +1 or -1");
    }
}

// Everything of a transform that depends only on its length and direction: the element pairs
// the bit reversal swaps, and the twiddle factors of every stage. They are computed once per
// length and direction by the recurrence the transform has always used, so every value has
// the same bits as when it was computed afresh inside each transform.
struct TransformPlan {
    std::vector<std::pair<std::size_t, std::size_t>> swaps;
    // Four numbers per factor cr + i*ci: cr, cr, -ci, ci, so that the butterfly's two
    // products form one pair each. The stage of span s starts at factor s/2 - 1 and holds
    // those of m = 1, 3, ..., s - 1.
    std::vector<double> factors;
};

void planSwaps(TransformPlan& plan, int length) {
    int j = 1;
    for (int i = 1; i <= length; i += 2) {
        if (j > i)
            plan.swaps.emplace_back(static_cast<std::size_t>(i), static_cast<std::size_t>(j));
        int h = length / 2;
        while (h >= 2 && j > h) {
            j -= h;
            h /= 2;
        }
        j += h;
    }
}

// cr + i*ci is advanced by the rotation (1 + dr) + i*di.
void planTwiddles(TransformPlan& plan, int length, int direction) {
    for (int span = 2; length > span; span *= 2) {
        const double angle = TwoPi / static_cast<double>(span * direction);
        const double halfSine = std::sin(0.5 * angle);
        const double dr = -2.0 * halfSine * halfSine;
        const double di = std::sin(angle);
        double cr = 1.0;
        double ci = 0.0;
        for (int m = 1; m <= span; m += 2) {
            plan.factors.insert(plan.factors.end(), {cr, cr, -ci, ci});
            const double c0 = cr;
            cr = (dr * cr - ci * di) + cr;
            ci = (c0 * di + dr * ci) + ci;
        }
    }
}

const TransformPlan& planFor(int count, int direction) {
    static std::array<std::once_flag, 2 * LengthCount> built;
    static std::array<std::unique_ptr<const TransformPlan>, 2 * LengthCount> plans;
    const std::size_t slot =
        2 * static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(count))) +
        (direction > 0 ? 1 : 0);
    std::call_once(built[slot], [&] {
        auto plan = std::make_unique<TransformPlan>();
        planSwaps(*plan, 2 * count);
        planTwiddles(*plan, 2 * count, direction);
        plans[slot] = std::move(plan);
    });
    return *plans[slot];
}

// One Danielson-Lanczos butterfly. The lower point times the factor is ur = lr*cr - li*ci,
// ui = lr*ci + li*cr, formed as lr*cr + li*(-ci) and li*cr + lr*ci: negation and the order
// of a sum's terms are exact, so the bits are those of the first form, and the two lines
// become one pair of operations. Every load comes before every store, as the two points
// never overlap but the compiler cannot see it.
inline void butterfly(double* upper, double* lower, const double* f) {
    const double lr = lower[0];
    const double li = lower[1];
    const double pr = upper[0];
    const double pi = upper[1];
    const double ur = lr * f[0] + li * f[2];
    const double ui = li * f[1] + lr * f[3];
    lower[0] = pr - ur;
    lower[1] = pi - ui;
    upper[0] = pr + ur;
    upper[1] = pi + ui;
}

// The butterflies of one stage. Each reads and writes only its own two points, so their
// order within a stage leaves every result unchanged: the inner loop runs over the longer
// of the groups and the factors.
void butterflyStage(double* data, std::size_t length, std::size_t span, const double* factors) {
    const std::size_t stride = 2 * span;
    const std::size_t factorCount = span / 2;
    if (factorCount < length / stride) {
        for (std::size_t t = 0; t < factorCount; ++t) {
            const double f[4] = {factors[4 * t], factors[4 * t + 1], factors[4 * t + 2],
                                 factors[4 * t + 3]};
            for (std::size_t i = 1 + 2 * t; i <= length; i += stride) {
                butterfly(data + i, data + i + span, f);
            }
        }
        return;
    }
    for (std::size_t group = 1; group <= length; group += stride) {
        double* const upper = data + group;
        for (std::size_t t = 0; t < factorCount; ++t) {
            butterfly(upper + 2 * t, upper + span + 2 * t, factors + 4 * t);
        }
    }
}

}  // namespace

void FourierTransform(std::int16_t count, std::span<double> data, std::int16_t direction) {
    checkArguments(count, data.size(), direction);
    const TransformPlan& plan = planFor(count, direction);
    for (const auto& [i, j] : plan.swaps) {
        std::swap(data[j], data[i]);
        std::swap(data[j + 1], data[i + 1]);
    }
    const std::size_t length = 2 * static_cast<std::size_t>(count);
    for (std::size_t span = 2; length > span; span *= 2) {
        butterflyStage(data.data(), length, span, plan.factors.data() + 4 * (span / 2 - 1));
    }
}

}  // namespace ritmova
