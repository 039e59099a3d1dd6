#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>
#include <utility>
#include <vector>

#include "spectral/fourier_transform.h"

namespace ritmova {
namespace {

constexpr int N = 256;
using Data = std::array<double, 2 * N + 1>;

// A real signal x(n), n = 0..255, in the 1-based interleaved layout.
template <typename Signal>
Data RealInput(Signal signal) {
    Data data{};
    for (int n = 0; n < N; ++n) data[static_cast<std::size_t>(2 * n + 1)] = signal(n);
    return data;
}

double Re(const Data& d, int k) {
    return d[static_cast<std::size_t>(2 * k + 1)];
}
double Im(const Data& d, int k) {
    return d[static_cast<std::size_t>(2 * k + 2)];
}

constexpr double Tolerance = 1e-10;

TEST(FourierTransformTest, ImpulseGivesFlatSpectrum) {
    Data data = RealInput([](int n) { return n == 0 ? 1.0 : 0.0; });
    FourierTransform(N, data, 1);
    for (int k = 0; k < N; ++k) {
        EXPECT_EQ(Re(data, k), 1.0) << k;
        EXPECT_EQ(Im(data, k), 0.0) << k;
    }
}

TEST(FourierTransformTest, ConstantGoesToBinZero) {
    Data data = RealInput([](int) { return 0.75; });
    FourierTransform(N, data, 1);
    EXPECT_EQ(Re(data, 0), 192.0);
    for (int k = 1; k < N; ++k) {
        EXPECT_NEAR(Re(data, k), 0.0, Tolerance) << k;
        EXPECT_NEAR(Im(data, k), 0.0, Tolerance) << k;
    }
}

TEST(FourierTransformTest, CosineAtBinFive) {
    Data data = RealInput([](int n) { return std::cos(2 * M_PI * 5 * n / N); });
    FourierTransform(N, data, 1);
    for (int k = 0; k < N; ++k) {
        const double expected = (k == 5 || k == 251) ? 128.0 : 0.0;
        EXPECT_NEAR(Re(data, k), expected, Tolerance) << k;
        EXPECT_NEAR(Im(data, k), 0.0, Tolerance) << k;
    }
}

// The exponent's sign is +direction: a sine at bin 5 gives +128i there with direction +1.
TEST(FourierTransformTest, SineAtBinFiveShowsTheSignConvention) {
    Data data = RealInput([](int n) { return std::sin(2 * M_PI * 5 * n / N); });
    FourierTransform(N, data, 1);
    EXPECT_NEAR(Im(data, 5), 128.0, Tolerance);
    EXPECT_NEAR(Im(data, 251), -128.0, Tolerance);
    EXPECT_NEAR(Re(data, 5), 0.0, Tolerance);
}

TEST(FourierTransformTest, ForwardThenBackwardScalesByN) {
    Data data{};
    for (std::size_t i = 1; i < data.size(); ++i)
        data[i] = std::sin(0.37 * static_cast<double>(i * i));
    const Data original = data;
    FourierTransform(N, data, 1);
    FourierTransform(N, data, -1);
    for (std::size_t i = 1; i < data.size(); ++i) EXPECT_NEAR(data[i], N * original[i], 1e-9) << i;
}

TEST(FourierTransformTest, ElementZeroIsNeverTouched) {
    Data data = RealInput([](int n) { return n % 3; });
    data[0] = 42.5;
    FourierTransform(N, data, 1);
    EXPECT_EQ(data[0], 42.5);
}

TEST(FourierTransformTest, SmallSizesMatchTheDefinition) {
    // Two points: X(0) = a + b, X(1) = a - b.
    std::array<double, 5> two{0, 3, 1, 5, 2};
    FourierTransform(2, two, 1);
    EXPECT_EQ(two, (std::array<double, 5>{0, 8, 3, -2, -1}));
    // One point is left as it is.
    std::array<double, 3> one{0, 7, -1};
    FourierTransform(1, one, 1);
    EXPECT_EQ(one, (std::array<double, 3>{0, 7, -1}));
}

TEST(FourierTransformTest, RejectsBadArguments) {
    Data data{};
    EXPECT_THROW(FourierTransform(100, data, 1), std::invalid_argument);
    EXPECT_THROW(FourierTransform(0, data, 1), std::invalid_argument);
    EXPECT_THROW(FourierTransform(N, data, 0), std::invalid_argument);
    EXPECT_THROW(FourierTransform(N, std::span(data).first(2 * N), 1), std::invalid_argument);
    EXPECT_THROW(FourierTransform(16384, data, 1), std::invalid_argument);
}

// The transform as first written, recurrence inside the butterfly loops, kept as the
// reference every later form must match to the bit.
void ReferenceTransform(int count, std::vector<double>& data, int direction) {
    const int length = 2 * count;
    for (int i = 1, j = 1; i <= length; i += 2) {
        if (j > i) {
            std::swap(data[j], data[i]);
            std::swap(data[j + 1], data[i + 1]);
        }
        int h = length / 2;
        for (; h >= 2 && j > h; h /= 2) j -= h;
        j += h;
    }
    for (int span = 2; length > span; span *= 2) {
        const double angle = 6.28318530717959 / static_cast<double>(span * direction);
        const double halfSine = std::sin(0.5 * angle);
        const double dr = -2.0 * halfSine * halfSine;
        const double di = std::sin(angle);
        double cr = 1.0;
        double ci = 0.0;
        for (int m = 1; m <= span; m += 2) {
            for (int i = m; i <= length; i += 2 * span) {
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

// Every length and direction, on values of every sign and size with signed zeros among them,
// gives the reference's bits, on the first call and on a later one.
TEST(FourierTransformTest, MatchesTheReferenceToTheBit) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int count = 1; count <= 8192; count *= 2) {
        for (int direction : {1, -1}) {
            for (int round = 0; round < 2; ++round) {
                std::vector<double> data(2 * static_cast<std::size_t>(count) + 1);
                for (std::size_t i = 1; i < data.size(); ++i) {
                    data[i] = i % 7 == 0 ? (i % 2 ? -0.0 : 0.0)
                                         : std::ldexp(mantissa(random), exponent(random));
                }
                std::vector<double> expected = data;
                ReferenceTransform(count, expected, direction);
                FourierTransform(static_cast<std::int16_t>(count), data,
                                 static_cast<std::int16_t>(direction));
                ASSERT_EQ(std::memcmp(data.data(), expected.data(), data.size() * sizeof(double)),
                          0)
                    << count << " points, direction " << direction;
            }
        }
    }
}

}  // namespace
}  // namespace ritmova
