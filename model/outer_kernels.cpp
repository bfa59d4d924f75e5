#include "model/outer_kernels.h"

#include <cmath>

#include "model/simd_level.h"
#include "model/vector_math.h"

namespace {

// The mark of a node whose erf(b) - erf(a) is still to be computed: no difference of error
// functions is negative.
constexpr double kErfPending = -1.0;

// Each kernel is three loops around the vector functions. The loops are written once, inlined
// into one function per build, and the builds differ only in the width of their vectors: no
// fused multiply-adds (the project compiles without contraction), the same operations per node.

// atan(b) - atan(a) as one arctangent, atan((b - a) / (1 + a b)), plus pi with the sign of
// b - a where 1 + a b < 0 (a and b on either side of 0, beyond each other's reciprocal). Near
// 1 + a b = 0 the quotient is large and its arctangent flat, so the cancellation there costs
// nothing.
[[gnu::always_inline]] inline void atan_quotients(const AtanOverLorentz& f, const double* x, int n,
                                                  double* q) {
#pragma omp simd
    for (int i = 0; i < n; ++i) {
        const double a = f.a0 + f.a1 * x[i];
        const double b = f.b0 + f.b1 * x[i];
        q[i] = (b - a) / (1.0 + a * b);
    }
}

[[gnu::always_inline]] inline void atan_finish(const AtanOverLorentz& f, const double* x, int n,
                                               const double* t, double* out) {
#pragma omp simd
    for (int i = 0; i < n; ++i) {
        const double a = f.a0 + f.a1 * x[i];
        const double b = f.b0 + f.b1 * x[i];
        const double turn = 1.0 + a * b < 0.0 ? (b > a ? M_PI : -M_PI) : 0.0;
        const double c = f.c0 + f.c1 * x[i];
        out[i] = f.k * (t[i] + turn) / (1.0 + c * c);
    }
}

// x / median, whose logarithm is taken rather than ln x - ln median: for a narrow log-normal
// (s small) the rounding of ln x, a few units of |ln x| in the last place, would reach the
// factor multiplied by |ln x - m| / s^2, 1e-12 at s = 0.03; ln(x / median) is near 0 there and
// its rounding as small.
[[gnu::always_inline]] inline void median_ratios(const ErfOverLogNormal& f, const double* x, int n,
                                                 double* e) {
    const double r = 1.0 / f.median;
#pragma omp simd
    for (int i = 0; i < n; ++i)
        e[i] = x[i] * r;
}

// The log-normal's exponent -(ln x - m)^2 / (2 s^2) - ln x from ln(x / median) (in e), floored.
[[gnu::always_inline]] inline void lognormal_exponents(const ErfOverLogNormal& f, const double* x,
                                                       int n, double* e) {
    const double r = 1.0 / f.s;
    const double m = std::log(f.median);
#pragma omp simd
    for (int i = 0; i < n; ++i) {
        const double z = e[i] * r;
        const double v = -0.5 * z * z - e[i] - m;
        // Both tests taken (no short circuit), so that the loop is one of vector selects.
        const bool kept = (x[i] > 0.0) & (v > kExpFloor);
        e[i] = kept ? v : kExpFloor;
    }
}

// The same from t = ln x: -(t - m)^2 / (2 s^2), floored (the 1/x is left to the caller's
// weights in ln x).
[[gnu::always_inline]] inline void ln_exponents(const ErfOverLogNormal& f, const double* t, int n,
                                                double* e) {
    const double r = 1.0 / f.s;
    const double m = std::log(f.median);
#pragma omp simd
    for (int i = 0; i < n; ++i) {
        const double z = (t[i] - m) * r;
        const double v = -0.5 * z * z;
        e[i] = v > kExpFloor ? v : kExpFloor;
    }
}

// erf(b) - erf(a) for a <= b, where it takes no error function: 0 where both lie beyond
// kErfSaturated on the same side, 2 where they lie beyond it on either side, and where the
// log-normal factor (exponent in e, not yet exponentiated) is 0 it does not matter; else
// kErfPending, to be computed. Returns the count of those.
[[gnu::always_inline]] inline int erf_saturated(const ErfOverLogNormal& f, const double* x, int n,
                                                const double* e, double* d) {
    int open = 0;
#pragma omp simd reduction(+ : open)
    for (int i = 0; i < n; ++i) {
        const double a = f.a0 + f.a1 * x[i];
        const double b = f.b0 + f.b1 * x[i];
        const bool none = a >= kErfSaturated || b <= -kErfSaturated || e[i] == kExpFloor;
        const bool whole = a <= -kErfSaturated && b >= kErfSaturated;
        d[i] = none ? 0.0 : (whole ? 2.0 : kErfPending);
        open += none || whole ? 0 : 1;
    }
    return open;
}

// Where most nodes need their difference: erfc(a) - erfc(b) at every node, reflected to
// erfc(-b) - erfc(-a) when b < 0, in vectors throughout; kept where d is kErfPending.
[[gnu::always_inline]] inline void erf_dense(const ErfOverLogNormal& f, const double* x, int n,
                                             double* d, double* ea, double* eb) {
#pragma omp simd
    for (int i = 0; i < n; ++i) {
        const double a = f.a0 + f.a1 * x[i];
        const double b = f.b0 + f.b1 * x[i];
        // Both reflections computed before the selects, which are then plain blends.
        const bool reflected = b < 0.0;
        const double minus_a = -a;
        const double minus_b = -b;
        ea[i] = clamp_erfc(reflected ? minus_b : a);
        eb[i] = clamp_erfc(reflected ? minus_a : b);
    }
    vector_erfc(ea, ea, n);
    vector_erfc(eb, eb, n);
#pragma omp simd
    for (int i = 0; i < n; ++i) {
        // A product with the test rather than a select: with trapping floating-point math the
        // compiler sinks the difference into the select's branch and then cannot vectorise it.
        // Exact, since the difference is finite: x + 0 y = x.
        const double kept = d[i];
        const bool pending = kept == kErfPending;
        d[i] = pending * (ea[i] - eb[i]) + !pending * kept;
    }
}

// The erfc arguments of the nodes still to compute, gathered: one where a or b lies beyond
// kErfSaturated (erf(b) - erf(a) is then erfc(a) or 2 - erfc(-a) where b does, erfc(-b) or
// 2 - erfc(b) where a does: the argument is |a| or |b|, so that no erfc is near 2), two where
// neither does (erfc(a) - erfc(b), reflected to erfc(-b) - erfc(-a) when b < 0). Their nodes go
// to index. Returns the count of arguments; *nodes gets the count of nodes.
inline int erfc_arguments(const ErfOverLogNormal& f, const double* x, int n, const double* d,
                          int* index, double* args, int* nodes) {
    int m = 0;
    int k = 0;
    for (int i = 0; i < n; ++i) {
        if (d[i] != kErfPending) continue;
        const double a = f.a0 + f.a1 * x[i];
        const double b = f.b0 + f.b1 * x[i];
        index[k++] = i;
        if (b >= kErfSaturated) {
            args[m++] = std::fabs(a);
        } else if (a <= -kErfSaturated) {
            args[m++] = std::fabs(b);
        } else {
            args[m++] = clamp_erfc(b < 0.0 ? -b : a);
            args[m++] = clamp_erfc(b < 0.0 ? -a : b);
        }
    }
    *nodes = k;
    return m;
}

// The differences of the gathered nodes from their erfc values, in the order of erfc_arguments.
inline void erf_differences(const ErfOverLogNormal& f, const double* x, int k, const int* index,
                            const double* erfc_of, double* d) {
    int m = 0;
    for (int j = 0; j < k; ++j) {
        const int i = index[j];
        const double a = f.a0 + f.a1 * x[i];
        const double b = f.b0 + f.b1 * x[i];
        if (b >= kErfSaturated) {
            d[i] = a >= 0.0 ? erfc_of[m] : 2.0 - erfc_of[m];
            m += 1;
        } else if (a <= -kErfSaturated) {
            d[i] = b < 0.0 ? erfc_of[m] : 2.0 - erfc_of[m];
            m += 1;
        } else {
            d[i] = erfc_of[m] - erfc_of[m + 1];
            m += 2;
        }
    }
}

[[gnu::always_inline]] inline void erf_finish(const ErfOverLogNormal& f, int n, const double* e,
                                              const double* d, double* out) {
#pragma omp simd
    for (int i = 0; i < n; ++i)
        out[i] = f.k * e[i] * d[i];
}

[[gnu::always_inline]] inline void atan_kernel(const AtanOverLorentz& f, const double* x, int n,
                                               double* out, double* q) {
    atan_quotients(f, x, n, q);
    vector_atan(q, q, n);
    atan_finish(f, x, n, q, out);
}

// erf(b) - erf(a) into d at the n nodes x, whose log-normal exponents are in e (a node whose
// factor is 0 may get any finite value); args: room for 2 n doubles.
[[gnu::always_inline]] inline void erf_differences_at(const ErfOverLogNormal& f, const double* x,
                                                      int n, const double* e, double* d,
                                                      double* args) {
    int index[kOuterKernelNodesMost];
    const int open = erf_saturated(f, x, n, e, d);
    if (2 * open > n) {
        erf_dense(f, x, n, d, args, args + n);
    } else {
        int k = 0;
        const int m = erfc_arguments(f, x, n, d, index, args, &k);
        vector_erfc(args, args, m);
        erf_differences(f, x, k, index, args, d);
    }
}

// The factors from the log-normal's exponents (in scratch[0..n)) on: the error functions'
// differences, the exponential, the product.
[[gnu::always_inline]] inline void erf_from_exponents(const ErfOverLogNormal& f, const double* x,
                                                      int n, double* out, double* scratch) {
    double* e = scratch;
    double* d = scratch + n;
    erf_differences_at(f, x, n, e, d, scratch + 2 * n);
    vector_exp(e, e, n);
    erf_finish(f, n, e, d, out);
}

[[gnu::always_inline]] inline void erf_kernel(const ErfOverLogNormal& f, const double* x, int n,
                                              double* out, double* scratch) {
    median_ratios(f, x, n, scratch);
    vector_log(scratch, scratch, n);
    lognormal_exponents(f, x, n, scratch);
    erf_from_exponents(f, x, n, out, scratch);
}

[[gnu::always_inline]] inline void erf_ln_kernel(const ErfOverLogNormal& f, const double* x,
                                                 const double* t, int n, double* out,
                                                 double* scratch) {
    ln_exponents(f, t, n, scratch);
    erf_from_exponents(f, x, n, out, scratch);
}

void atan_baseline(const AtanOverLorentz& f, const double* x, int n, double* out, double* q) {
    atan_kernel(f, x, n, out, q);
}
void erf_baseline(const ErfOverLogNormal& f, const double* x, int n, double* out, double* s) {
    erf_kernel(f, x, n, out, s);
}
void erf_ln_baseline(const ErfOverLogNormal& f, const double* x, const double* t, int n,
                     double* out, double* s) {
    erf_ln_kernel(f, x, t, n, out, s);
}

#if defined(__GNUC__) && defined(__x86_64__)
__attribute__((target("avx2,fma"))) void atan_avx2(const AtanOverLorentz& f, const double* x, int n,
                                                   double* out, double* q) {
    atan_kernel(f, x, n, out, q);
}
__attribute__((target("avx2,fma"))) void erf_avx2(const ErfOverLogNormal& f, const double* x, int n,
                                                  double* out, double* s) {
    erf_kernel(f, x, n, out, s);
}
__attribute__((target("avx2,fma"))) void erf_ln_avx2(const ErfOverLogNormal& f, const double* x,
                                                     const double* t, int n, double* out,
                                                     double* s) {
    erf_ln_kernel(f, x, t, n, out, s);
}
__attribute__((target("avx512f,avx2,fma"))) void
atan_avx512(const AtanOverLorentz& f, const double* x, int n, double* out, double* q) {
    atan_kernel(f, x, n, out, q);
}
__attribute__((target("avx512f,avx2,fma"))) void
erf_avx512(const ErfOverLogNormal& f, const double* x, int n, double* out, double* s) {
    erf_kernel(f, x, n, out, s);
}
__attribute__((target("avx512f,avx2,fma"))) void erf_ln_avx512(const ErfOverLogNormal& f,
                                                               const double* x, const double* t,
                                                               int n, double* out, double* s) {
    erf_ln_kernel(f, x, t, n, out, s);
}
#endif

} // namespace

void values(const AtanOverLorentz& f, const double* x, int n, double* out, double* scratch) {
#if defined(__GNUC__) && defined(__x86_64__)
    switch (simd_level()) {
    case kSimdAvx512:
        return atan_avx512(f, x, n, out, scratch);
    case kSimdAvx2:
        return atan_avx2(f, x, n, out, scratch);
    default:
        break;
    }
#endif
    atan_baseline(f, x, n, out, scratch);
}

void values(const ErfOverLogNormal& f, const double* x, int n, double* out, double* scratch) {
#if defined(__GNUC__) && defined(__x86_64__)
    switch (simd_level()) {
    case kSimdAvx512:
        return erf_avx512(f, x, n, out, scratch);
    case kSimdAvx2:
        return erf_avx2(f, x, n, out, scratch);
    default:
        break;
    }
#endif
    erf_baseline(f, x, n, out, scratch);
}

void values_in_ln(const ErfOverLogNormal& f, const double* x, const double* t, int n, double* out,
                  double* scratch) {
#if defined(__GNUC__) && defined(__x86_64__)
    switch (simd_level()) {
    case kSimdAvx512:
        return erf_ln_avx512(f, x, t, n, out, scratch);
    case kSimdAvx2:
        return erf_ln_avx2(f, x, t, n, out, scratch);
    default:
        break;
    }
#endif
    erf_ln_baseline(f, x, t, n, out, scratch);
}
