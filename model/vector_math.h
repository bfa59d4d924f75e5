// Elementary functions over arrays of doubles, for the outer integrands of the closed-form-inner
// densities: the C library's vector variants where the build in use (model/simd_level.h) is AVX2
// or AVX-512, the scalar functions otherwise. Every value lies within a few units in the last
// place of the correctly rounded one, so builds agree to about 1e-15 but not bit for bit. Any
// thread: pure functions of the caller's arrays.
#pragma once

// y[i] = f(x[i]) for i < n; x and y may be the same array.
void vector_atan(const double* x, double* y, int n);
void vector_erfc(const double* x, double* y, int n);
void vector_exp(const double* x, double* y, int n);
void vector_log(const double* x, double* y, int n);
