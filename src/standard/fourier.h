#pragma once

#include <complex>
#include <cstddef>
#include <memory>
#include <span>

struct fftw_plan_s;  // FFTW's plan

// Forward discrete Fourier transforms (X_k = Σ x_n e^{−2πikn/N}) through FFTW. Each length's
// plan is made once, with FFTW_ESTIMATE so that it is the same plan, giving the same bits, on
// every run; making plans is serialised, as FFTW's planner is not thread-safe (running them is).
namespace ritmova::standard {

struct FftwFree {
    void operator()(void* memory) const;
};

// N real values in, the N/2 + 1 coefficients k = 0 … N/2 out.
class RealForwardTransform {
  public:
    explicit RealForwardTransform(std::size_t points);
    std::span<double> Input() { return {input_.get(), points_}; }
    std::span<const std::complex<double>> Output() const {
        return {output_.get(), points_ / 2 + 1};
    }
    void Run();

  private:
    std::size_t points_;
    std::unique_ptr<double[], FftwFree> input_;
    std::unique_ptr<std::complex<double>[], FftwFree> output_;
    fftw_plan_s* plan_;
};

// N complex values transformed in place.
class ComplexForwardTransform {
  public:
    explicit ComplexForwardTransform(std::size_t points);
    std::span<std::complex<double>> Data() { return {data_.get(), points_}; }
    void Run();

  private:
    std::size_t points_;
    std::unique_ptr<std::complex<double>[], FftwFree> data_;
    fftw_plan_s* plan_;
};

// The least length >= atLeast whose only prime factors are 2, 3 and 5 (quick for FFTW).
std::size_t SmoothLength(std::size_t atLeast);

}  // namespace ritmova::standard
