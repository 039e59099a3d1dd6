#include "spectral/fourier_transform.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <stdexcept>

namespace ritmova {
namespace {

constexpr int N = 256;
using Data = std::array<double, 2 * N + 1>;

// A real signal x(n) and its transform X(k) = sum x(n) exp(+i 2pi k n / 256), worked out from
// the definition: re(k) + i im(k).
struct KnownTransform {
    const char* name;
    double (*signal)(int n);
    double (*re)(int k);
    double (*im)(int k);
};

double Zero(int) {
    return 0;
}
const KnownTransform Cases[] = {
    {"Impulse", [](int n) { return n == 0 ? 1.0 : 0.0; }, [](int) { return 1.0; }, Zero},
    // An impulse at n = 64 turns by a quarter turn per bin: X(k) = i^k.
    {"DelayedImpulse", [](int n) { return n == 64 ? 1.0 : 0.0; },
     [](int k) {
         return std::array{1.0, 0.0, -1.0, 0.0}[k % 4];
     },
     [](int k) {
         return std::array{0.0, 1.0, 0.0, -1.0}[k % 4];
     }},
    {"Constant", [](int) { return 0.75; }, [](int k) { return k == 0 ? 192.0 : 0.0; }, Zero},
    {"CosineAtBinFive", [](int n) { return std::cos(2 * M_PI * 5 * n / N); },
     [](int k) { return k == 5 || k == 251 ? 128.0 : 0.0; }, Zero},
    // The exponent's sign is +: a sine shows +128i at bin 5.
    {"SineAtBinFive", [](int n) { return std::sin(2 * M_PI * 5 * n / N); }, Zero,
     [](int k) { return k == 5     ? 128.0
                        : k == 251 ? -128.0
                                   : 0.0; }},
};

TEST(FourierTransformTest, MatchesTheDefinition) {
    for (const KnownTransform& c : Cases) {
        SCOPED_TRACE(c.name);
        Data data{};
        data[0] = 42.5;  // never touched
        for (int n = 0; n < N; ++n) data[std::size_t(2 * n + 1)] = c.signal(n);
        FourierTransform(N, data, 1);
        EXPECT_EQ(data[0], 42.5);
        for (int k = 0; k < N; ++k) {
            ASSERT_NEAR(data[std::size_t(2 * k + 1)], c.re(k), 1e-10) << k;
            ASSERT_NEAR(data[std::size_t(2 * k + 2)], c.im(k), 1e-10) << k;
        }
    }
}

TEST(FourierTransformRoundTrip, BackwardAfterForwardScalesByTheCount) {
    Data data{};
    for (std::size_t i = 1; i < data.size(); ++i)
        data[i] = std::sin(0.37 * static_cast<double>(i * i));
    const Data original = data;
    FourierTransform(N, data, 1);
    FourierTransform(N, data, -1);
    for (std::size_t i = 1; i < data.size(); ++i) ASSERT_NEAR(data[i], N * original[i], 1e-9) << i;
}

TEST(FourierTransformSmall, TwoPointsAreSumAndDifferenceAndOnePointStays) {
    std::array<double, 5> two{0, 3, 1, 5, 2};
    FourierTransform(2, two, 1);
    EXPECT_EQ(two, (std::array<double, 5>{0, 8, 3, -2, -1}));
    std::array<double, 3> one{0, 7, -1};
    FourierTransform(1, one, 1);
    EXPECT_EQ(one, (std::array<double, 3>{0, 7, -1}));
}

// Counts that are powers of two up to 8192, arrays holding 0..2*count, directions +-1.
TEST(FourierTransformArguments, RejectsCountsArraysAndDirectionsOutOfRange) {
    std::array<double, 16385> data{};
    const auto transform = [&](int count, int direction, std::size_t size) {
        FourierTransform(std::int16_t(count), std::span(data).first(size), std::int16_t(direction));
    };
    EXPECT_NO_THROW(transform(8192, -1, 16385));
    for (const auto& [count, direction, size] : {std::tuple{0, 1, 1},
                                                 {-4, 1, 16385},
                                                 {100, 1, 16385},
                                                 {16384, 1, 16385},
                                                 {256, 1, 512},
                                                 {256, 0, 513},
                                                 {256, 2, 513},
                                                 {256, -2, 513}}) {
        EXPECT_THROW(transform(count, direction, size), std::invalid_argument)
            << count << " " << direction << " " << size;
    }
}

}  // namespace
}  // namespace ritmova
