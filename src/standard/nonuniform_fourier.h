#pragma once

#include <complex>
#include <cstddef>
#include <span>
#include <vector>

// Fourier sums at uneven points, F(k) = Σ_j c_j e^{−2πi k u_j} for k = 0 … count − 1 with real
// weights c_j and points u_j in [0, 1), in O(N + count log count) instead of O(N × count): a
// non-uniform FFT with Gaussian gridding (Greengard & Lee, SIAM Review 46(3), 2004). The error
// stays about 1e-12 of Σ|c_j|.
namespace ritmova::standard {

struct WeightedPoints {
    std::span<const double> points;   // in [0, 1)
    std::span<const double> weights;  // one per point, or none for weights of 1
};

struct NonuniformSums {
    std::vector<std::complex<double>> first, second;
};

// Both sets' sums at once: as their weights are real, they share one complex transform.
NonuniformSums NonuniformFourierSums(WeightedPoints first, WeightedPoints second,
                                     std::size_t count);

}  // namespace ritmova::standard
