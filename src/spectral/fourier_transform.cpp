#include "spectral/fourier_transform.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace ritmova {
namespace {

// Two-pi as written with 14 decimals, not the full-precision value.
constexpr double TwoPi = 6.28318530717959;

void checkArguments(int count, std::size_t size, int direction) {
    if (count < 1 || (count & (count - 1)) != 0 || count > 8192) {
        throw std::invalid_argument("FourierTransform: count must be a power of two up to 8192");
    }
    if (size < 2 * static_cast<std::size_t>(count) + 1) {
        throw std::invalid_argument("FourierTransform: data must hold elements 0..2*count");
    }
    if (direction != 1 && direction != -1) {
        throw std::invalid_argument("FourierTransform: direction must be +1 or -1");
    }
}

void bitReverse(std::span<double> data, int length) {
    int j = 1;
    for (int i = 1; i <= length; i += 2) {
        if (j > i) {
            std::swap(data[j], data[i]);
            std::swap(data[j + 1], data[i + 1]);
        }
        int h = length / 2;
        while (h >= 2 && j > h) {
            j -= h;
            h /= 2;
        }
        j += h;
    }
}

// Danielson-Lanczos butterflies; cr + i*ci is advanced by the rotation (1 + dr) + i*di.
void butterflies(std::span<double> data, int length, int direction) {
    for (int span = 2; length > span; span *= 2) {
        const int stride = 2 * span;
        const double angle = TwoPi / static_cast<double>(span * direction);
        const double halfSine = std::sin(0.5 * angle);
        const double dr = -2.0 * halfSine * halfSine;
        const double di = std::sin(angle);
        double cr = 1.0;
        double ci = 0.0;
        for (int m = 1; m <= span; m += 2) {
            for (int i = m; i <= length; i += stride) {
                const int j = i + span;
                const double ur = data[j] * cr - data[j + 1] * ci;
                const double ui = data[j] * ci + data[j + 1] * cr;
                data[j] = data[i] - ur;
                data[j + 1] = data[i + 1] - ui;
                data[i] = data[i] + ur;
                data[i + 1] = data[i + 1] + ui;
            }
            const double c0 = cr;
            cr = (dr * cr - ci * di) + cr;
            ci = (c0 * di + dr * ci) + ci;
        }
    }
}

}  // namespace

void FourierTransform(std::int16_t count, std::span<double> data, std::int16_t direction) {
    checkArguments(count, data.size(), direction);
    const int length = 2 * count;
    bitReverse(data, length);
    butterflies(data, length, direction);
}

}  // namespace ritmova
