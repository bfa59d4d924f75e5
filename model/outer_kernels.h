// The outer integrands of the closed-form-inner densities, evaluated at a whole rule's nodes at
// once: the arithmetic built for the vectors of the processor's build (model/simd_level.h), the
// elementary functions by model/vector_math.h. Any thread: pure functions of the caller's arrays.
#pragma once

// A Lorentzian factor times the difference of two arctangents, both of arguments affine in x:
//   f(x) = k (atan(b) - atan(a)) / (1 + c^2),  a = a0 + a1 x,  b = b0 + b1 x,  c = c0 + c1 x,
// the inner integral of a Lorentzian factor over a range whose ends are fixed or follow x.
struct AtanOverLorentz {
    double k;      // constant factor
    double a0, a1; // lower arctangent's argument
    double b0, b1; // upper arctangent's argument
    double c0, c1; // the Lorentzian's argument
};

// Beyond +-kErfSaturated erf is +-1 to within erfc(6.5) = 4e-20.
constexpr double kErfSaturated = 6.5;
// The exponential's arguments are floored where the vector function still takes its fast path
// (its result stays in the normal range); the floored values differ from the true ones by less
// than 1e-300.
constexpr double kExpFloor = -700.0;
// erfc's arguments are clamped to where the vector function takes its fast path: below
// -kErfSaturated erfc is 2 to the last bit, above kErfcMost it is below 1e-295.
constexpr double kErfcMost = 26.0;

// v clamped to [-kErfSaturated, kErfcMost], erfc's fast path.
inline double clamp_erfc(double v) {
    const double above = v < -kErfSaturated ? -kErfSaturated : v;
    return above > kErfcMost ? kErfcMost : above;
}

// A log-normal factor times the difference of two error functions:
//   f(x) = k exp(-(ln x - m)^2 / (2 s^2)) / x (erf(b) - erf(a)),  m = ln median,
//   a = a0 + a1 x,  b = b0 + b1 x,
// for x > 0 (0 at x <= 0), with a <= b at every node.
struct ErfOverLogNormal {
    double k;      // constant factor
    double median; // exp(m), the median of x, > 0
    double s;      // standard deviation of ln x, > 0
    double a0, a1; // lower error function's argument
    double b0, b1; // upper error function's argument
};

// The most nodes one call takes.
constexpr int kOuterKernelNodesMost = 4096;

// out[i] = f(x[i]) for i < n <= kOuterKernelNodesMost; scratch: room for n doubles
// (arctangents) or 4 n (error functions).
void values(const AtanOverLorentz& f, const double* x, int n, double* out, double* scratch);
void values(const ErfOverLogNormal& f, const double* x, int n, double* out, double* scratch);

// out[i] = x[i] f(x[i]) for i < n <= kOuterKernelNodesMost, given t[i] = ln x[i]: the integrand
// in ln x, where the log-normal's 1/x cancels and its exponent takes no logarithm. For spreads
// s of 1/3 or more (where pieces are taken in ln x), so that the rounding of t, a few units of
// |t| in the last place, stays below 1e-14 of the factor. scratch: room for 4 n doubles.
void values_in_ln(const ErfOverLogNormal& f, const double* x, const double* t, int n, double* out,
                  double* scratch);
