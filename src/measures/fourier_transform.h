#pragma once

#include <cstdint>
#include <span>

namespace ritmova {

// In-place radix-2 complex FFT of `count` points (a power of two) held interleaved in
// data[1..2*count]: data[2m-1] is the real and data[2m] the imaginary part of point m.
// data[0] is never touched. On return point k+1 holds
//   X(k) = sum over n of x(n) * exp(direction * i * 2pi * k * n / count),
// without normalisation. The twiddle factors come from a trigonometric recurrence, so the
// results are reproducible to the bit. Throws std::invalid_argument for a count that is not a
// power of two, an array too short for it, or a direction other than +1 or -1.
void FourierTransform(std::int16_t count, std::span<double> data, std::int16_t direction);

}  // namespace ritmova
