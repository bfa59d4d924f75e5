#include "model/vector_math.h"

#include <cmath>

#include "model/simd_level.h"

namespace {

using Scalar = double (*)(double);

void scalar_loop(Scalar f, const double* x, double* y, int n) {
    for (int i = 0; i < n; ++i)
        y[i] = f(x[i]);
}

double atan_of(double x) {
    return std::atan(x);
}
double erfc_of(double x) {
    return std::erfc(x);
}
double exp_of(double x) {
    return std::exp(x);
}
double log_of(double x) {
    return std::log(x);
}

} // namespace

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>

// The C library's vector variants (libmvec), by their vector-function names: 'd' the AVX2 build
// of 4 lanes, 'e' the AVX-512 build of 8 lanes.
#pragma GCC push_options
#pragma GCC target("avx2,fma")
extern "C" {
__m256d _ZGVdN4v_atan(__m256d);
__m256d _ZGVdN4v_erfc(__m256d);
__m256d _ZGVdN4v_exp(__m256d);
__m256d _ZGVdN4v_log(__m256d);
}

namespace {

using Avx2 = __m256d (*)(__m256d);

// Whole vectors, then the rest through a padded vector (padding 1, valid for every function).
void avx2_loop(Avx2 f, const double* x, double* y, int n) {
    int i = 0;
    for (; i + 4 <= n; i += 4)
        _mm256_storeu_pd(y + i, f(_mm256_loadu_pd(x + i)));
    if (i == n) return;
    double rest[4] = {1.0, 1.0, 1.0, 1.0};
    for (int k = 0; i + k < n; ++k)
        rest[k] = x[i + k];
    _mm256_storeu_pd(rest, f(_mm256_loadu_pd(rest)));
    for (int k = 0; i + k < n; ++k)
        y[i + k] = rest[k];
}

} // namespace
#pragma GCC pop_options

#pragma GCC push_options
#pragma GCC target("avx512f,avx2,fma")
extern "C" {
__m512d _ZGVeN8v_atan(__m512d);
__m512d _ZGVeN8v_erfc(__m512d);
__m512d _ZGVeN8v_exp(__m512d);
__m512d _ZGVeN8v_log(__m512d);
}

namespace {

using Avx512 = __m512d (*)(__m512d);

void avx512_loop(Avx512 f, const double* x, double* y, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8)
        _mm512_storeu_pd(y + i, f(_mm512_loadu_pd(x + i)));
    if (i == n) return;
    const __mmask8 m = static_cast<__mmask8>((1u << (n - i)) - 1u);
    const __m512d v = _mm512_mask_loadu_pd(_mm512_set1_pd(1.0), m, x + i);
    _mm512_mask_storeu_pd(y + i, m, f(v));
}

} // namespace
#pragma GCC pop_options

#define HYSTERESIS_VECTOR_MATH(name, scalar)                                                       \
    void vector_##name(const double* x, double* y, int n) {                                        \
        switch (simd_level()) {                                                                    \
        case kSimdAvx512:                                                                          \
            return avx512_loop(_ZGVeN8v_##name, x, y, n);                                          \
        case kSimdAvx2:                                                                            \
            return avx2_loop(_ZGVdN4v_##name, x, y, n);                                            \
        default:                                                                                   \
            return scalar_loop(scalar, x, y, n);                                                   \
        }                                                                                          \
    }
#else
#define HYSTERESIS_VECTOR_MATH(name, scalar)                                                       \
    void vector_##name(const double* x, double* y, int n) {                                        \
        scalar_loop(scalar, x, y, n);                                                              \
    }
#endif

HYSTERESIS_VECTOR_MATH(atan, atan_of)
HYSTERESIS_VECTOR_MATH(erfc, erfc_of)
HYSTERESIS_VECTOR_MATH(exp, exp_of)
HYSTERESIS_VECTOR_MATH(log, log_of)
