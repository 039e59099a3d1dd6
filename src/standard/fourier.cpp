#include "standard/fourier.h"

#include <fftw3.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <utility>

#include "common/command_failure.h"

namespace ritmova::standard {

namespace {

enum class TransformKind { RealOutOfPlace, ComplexInPlace };

std::mutex planMutex;

struct PlanFree {
    void operator()(fftw_plan plan) const { fftw_destroy_plan(plan); }
};

// The plan for a kind and length, made on the first request. Plans are kept for the life of
// the program: every transform of that length shares it, with arrays of its own (fftw_malloc
// gives them all the alignment the plan assumes).
fftw_plan SharedPlan(TransformKind kind, std::size_t points, double* real, fftw_complex* complex) {
    using Plan = std::unique_ptr<fftw_plan_s, PlanFree>;
    static std::map<std::pair<TransformKind, std::size_t>, Plan> plans;
    const std::lock_guard lock(planMutex);
    Plan& plan = plans[{kind, points}];
    if (plan) return plan.get();
    const int n = static_cast<int>(points);
    plan.reset(kind == TransformKind::RealOutOfPlace
                   ? fftw_plan_dft_r2c_1d(n, real, complex, FFTW_ESTIMATE)
                   : fftw_plan_dft_1d(n, complex, complex, FFTW_FORWARD, FFTW_ESTIMATE));
    if (!plan) throw CommandFailure("The Fourier transform could not be planned.");
    return plan.get();
}

template <class T>
std::unique_ptr<T[], FftwFree> FftwArray(std::size_t count) {
    void* memory = fftw_malloc(sizeof(T) * count);
    if (memory == nullptr) throw std::bad_alloc();
    return std::unique_ptr<T[], FftwFree>(static_cast<T*>(memory));
}

fftw_complex* AsFftw(std::complex<double>* values) {
    return reinterpret_cast<fftw_complex*>(values);  // the layouts are the same by definition
}

std::size_t CheckedLength(std::size_t points) {
    if (points < 1 || points > (std::size_t{1} << 30))
        throw CommandFailure("A Fourier transform length is out of range.");
    return points;
}

}  // namespace

void FftwFree::operator()(void* memory) const {
    fftw_free(memory);
}

RealForwardTransform::RealForwardTransform(std::size_t points)
    : points_(CheckedLength(points)),
      input_(FftwArray<double>(points)),
      output_(FftwArray<std::complex<double>>(points / 2 + 1)),
      plan_(
          SharedPlan(TransformKind::RealOutOfPlace, points, input_.get(), AsFftw(output_.get()))) {}

void RealForwardTransform::Run() {
    fftw_execute_dft_r2c(plan_, input_.get(), AsFftw(output_.get()));
}

ComplexForwardTransform::ComplexForwardTransform(std::size_t points)
    : points_(CheckedLength(points)),
      data_(FftwArray<std::complex<double>>(points)),
      plan_(SharedPlan(TransformKind::ComplexInPlace, points, nullptr, AsFftw(data_.get()))) {}

void ComplexForwardTransform::Run() {
    fftw_execute_dft(plan_, AsFftw(data_.get()), AsFftw(data_.get()));
}

std::size_t SmoothLength(std::size_t atLeast) {
    for (std::size_t n = std::max<std::size_t>(atLeast, 1);; ++n) {
        std::size_t rest = n;
        for (const std::size_t factor : {std::size_t{2}, std::size_t{3}, std::size_t{5}})
            while (rest % factor == 0) rest /= factor;
        if (rest == 1) return n;
    }
}

}  // namespace ritmova::standard
