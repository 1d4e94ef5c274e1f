#include "statistics/wichmann_hill.hpp"

#include <algorithm>
#include <array>

namespace nrx::detail {

namespace {

// One word of the generator, w -> multiplier * w mod modulus; jumps[k] is
// multiplier^(k + 1) mod modulus, the factor that advances it k + 1 draws.
struct Word {
    std::int32_t multiplier;
    std::int32_t modulus;
    double inverse;  // 1 / modulus, rounded
    std::array<double, UniformStream::capacity> jumps;
};

constexpr Word word(std::int32_t multiplier, std::int32_t modulus)
{
    Word w{multiplier, modulus, 1.0 / modulus, {}};
    std::int64_t power = 1;
    for (double& jump : w.jumps) {
        power = power * multiplier % modulus;
        jump = static_cast<double>(power);
    }
    return w;
}

constexpr Word X = word(171, 30269);
constexpr Word Y = word(172, 30307);
constexpr Word Z = word(170, 30323);

// w * jump mod the modulus, for w and jump in [1, modulus). The product is
// below 2^30, so exact. Its quotient by the (prime) modulus is never whole,
// so it lies at least 1/modulus from a whole number, far more than the
// rounding error of product * inverse: the truncated quotient, and so the
// remainder, are exact.
inline double advanced(double w, double jump, const Word& word)
{
    const double product = w * jump;
    return product - static_cast<double>(static_cast<std::int32_t>(product * word.inverse)) * word.modulus;
}

// The uniform of three advanced words, formed in single precision.
inline float uniform_of(float x, float y, float z)
{
    const float u = x / static_cast<float>(X.modulus) + y / static_cast<float>(Y.modulus) +
                    z / static_cast<float>(Z.modulus);
    // u < 3, so the conversion truncates it as std::trunc would, in a form
    // the compiler vectorises.
    return u - static_cast<float>(static_cast<std::int32_t>(u));
}

// The body of make_uniforms, built once per instruction set.
[[gnu::always_inline]] inline void make_uniforms_with(const WichmannHill& base, std::int32_t from, std::int32_t to,
                                                      double* window)
{
    const double x = base.ix;
    const double y = base.iy;
    const double z = base.iz;
    // A loop of unknown length: the pragma has it vectorised at -O2 as well.
#pragma omp simd
    for (std::int32_t k = from; k < to; ++k) {
        window[k] = uniform_of(static_cast<float>(advanced(x, X.jumps[k], X)),
                               static_cast<float>(advanced(y, Y.jumps[k], Y)),
                               static_cast<float>(advanced(z, Z.jumps[k], Z)));
    }
}

#if defined(__x86_64__)
[[gnu::target("avx2")]] void make_uniforms_avx2(const WichmannHill& base, std::int32_t from, std::int32_t to,
                                                double* window)
{
    make_uniforms_with(base, from, to, window);
}

[[gnu::target("avx512f")]] void make_uniforms_avx512(const WichmannHill& base, std::int32_t from, std::int32_t to,
                                                     double* window)
{
    make_uniforms_with(base, from, to, window);
}
#endif

}  // namespace

double uniform(WichmannHill& state)
{
    // 171 * 30268 and its like stay far below 2^31.
    state.ix = X.multiplier * state.ix % X.modulus;
    state.iy = Y.multiplier * state.iy % Y.modulus;
    state.iz = Z.multiplier * state.iz % Z.modulus;
    return uniform_of(static_cast<float>(state.ix), static_cast<float>(state.iy), static_cast<float>(state.iz));
}

void make_uniforms(const WichmannHill& base, std::int32_t from, std::int32_t to, double* window, Vectors vectors)
{
#if defined(__x86_64__)
    switch (vectors) {
    case Vectors::avx2: return make_uniforms_avx2(base, from, to, window);
    case Vectors::avx512: return make_uniforms_avx512(base, from, to, window);
    default: break;
    }
#endif
    make_uniforms_with(base, from, to, window);
}

void UniformStream::make_ahead(std::int32_t count)
{
    // The one place the instruction set is chosen, once.
    static const Vectors widest = runs(Vectors::avx512) ? Vectors::avx512
                                  : runs(Vectors::avx2)   ? Vectors::avx2
                                                          : Vectors::baseline;
    count = std::min(count, capacity);
    if (filled_ - cursor_ >= count) {
        return;
    }
    if (cursor_ + count > capacity) {
        base_ = state();
        std::copy(window_ + cursor_, window_ + filled_, window_);
        filled_ -= cursor_;
        cursor_ = 0;
    }
    const std::int32_t end = cursor_ + count;
    make_uniforms(base_, filled_, end, window_, widest);
    filled_ = end;
}

WichmannHill UniformStream::state() const
{
    if (cursor_ == 0) {
        return base_;
    }
    const std::int32_t k = cursor_ - 1;
    WichmannHill s;
    s.ix = static_cast<std::int32_t>(advanced(base_.ix, X.jumps[k], X));
    s.iy = static_cast<std::int32_t>(advanced(base_.iy, Y.jumps[k], Y));
    s.iz = static_cast<std::int32_t>(advanced(base_.iz, Z.jumps[k], Z));
    return s;
}

}  // namespace nrx::detail
