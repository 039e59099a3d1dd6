#include "standard/nonuniform_fourier.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "common/command_failure.h"
#include "standard/fourier.h"

namespace ritmova::standard {

namespace {

// Each point is spread over 2 × SpreadHalfWidth grid points of a grid twice as fine as the
// highest frequency needs: together about 12 correct digits.
constexpr int SpreadHalfWidth = 12;
constexpr std::size_t SpreadWidth = 2 * SpreadHalfWidth;
// The Gaussian exp(−a d²) over grid steps d; a = π² / (grid² τ) with Greengard and Lee's
// τ = π × SpreadHalfWidth / (3 M²), M = grid / 2 modes.
constexpr double GaussianRate = 3.0 * std::numbers::pi / (4.0 * SpreadHalfWidth);

struct Grid {
    std::span<std::complex<double>> cells;
    std::array<double, SpreadWidth>
        tail;  // exp(−a l²) for l = 1 − SpreadHalfWidth … SpreadHalfWidth
};

// Adds each weighted point's Gaussian to the grid's real (part 0) or imaginary (part 1) parts;
// the grid is periodic. exp(−a (δ − l)²) = exp(−a δ²) exp(2aδ)^l exp(−a l²) takes two exps per
// point, products and a table (Greengard and Lee's fast gridding).
void Spread(const WeightedPoints& set, const Grid& grid, std::size_t part) {
    const std::size_t size = grid.cells.size();
    double* cells = reinterpret_cast<double*>(grid.cells.data()) + part;
    for (std::size_t j = 0; j < set.points.size(); ++j) {
        const double scaled = set.points[j] * static_cast<double>(size);
        const double cell = std::floor(scaled);
        const double delta = scaled - cell;
        const double weight = set.weights.empty() ? 1.0 : set.weights[j];
        double term = weight * std::exp(-GaussianRate * delta * delta +
                                        2.0 * GaussianRate * delta * (1 - SpreadHalfWidth));
        const double ratio = std::exp(2.0 * GaussianRate * delta);
        auto index = static_cast<std::ptrdiff_t>(cell) + 1 - SpreadHalfWidth;
        const auto periodic = static_cast<std::ptrdiff_t>(size);
        if (index < 0) index += periodic;
        for (std::size_t l = 0; l < SpreadWidth; ++l, ++index, term *= ratio) {
            if (index >= periodic) index -= periodic;
            cells[2 * static_cast<std::size_t>(index)] += term * grid.tail[l];
        }
    }
}

void CheckPoints(const WeightedPoints& set) {
    if (!set.weights.empty() && set.weights.size() != set.points.size())
        throw CommandFailure("Fourier sums need one weight per point.");
    for (const double u : set.points)
        if (!(u >= 0.0 && u < 1.0)) throw CommandFailure("A Fourier sum point is outside [0, 1).");
}

}  // namespace

NonuniformSums NonuniformFourierSums(WeightedPoints first, WeightedPoints second,
                                     std::size_t count) {
    CheckPoints(first);
    CheckPoints(second);
    const std::size_t size = SmoothLength(std::max<std::size_t>(4 * count, 2 * SpreadWidth));
    ComplexForwardTransform transform(size);
    Grid grid{transform.Data(), {}};
    std::fill(grid.cells.begin(), grid.cells.end(), std::complex<double>{});
    for (std::size_t l = 0; l < SpreadWidth; ++l) {
        const double d = static_cast<double>(l) + 1.0 - SpreadHalfWidth;
        grid.tail[l] = std::exp(-GaussianRate * d * d);
    }
    Spread(first, grid, 0);
    Spread(second, grid, 1);
    transform.Run();
    // Undo the Gaussian: F(k) = sqrt(π/τ) e^{k²τ} × (transform / size).
    const double modes = static_cast<double>(size) / 2.0;
    const double tau = std::numbers::pi * SpreadHalfWidth / (3.0 * modes * modes);
    const double scale = std::sqrt(std::numbers::pi / tau) / static_cast<double>(size);
    NonuniformSums sums{std::vector<std::complex<double>>(count),
                        std::vector<std::complex<double>>(count)};
    const std::span<const std::complex<double>> z = grid.cells;
    for (std::size_t k = 0; k < count; ++k) {
        const double kk = static_cast<double>(k);
        const std::complex<double> mirrored = std::conj(z[k == 0 ? 0 : size - k]);
        const double factor = scale * std::exp(kk * kk * tau) * 0.5;
        sums.first[k] = factor * (z[k] + mirrored);
        sums.second[k] = factor * (z[k] - mirrored) * std::complex<double>(0.0, -1.0);
    }
    return sums;
}

}  // namespace ritmova::standard
