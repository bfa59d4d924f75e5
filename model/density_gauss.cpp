// The Gaussian density of rock magnetism: log-normal in the coercive field, normal in the
// interaction field.
#include <cmath>

#include "model/density_terms.h"

namespace {

double value(const Density& d, double alpha, double beta) {
    const GaussTerm t = gauss_term(d.parameter);
    const double u = 0.5 * (alpha + beta) / t.width_i;
    return d.norm * t.coercive(0.5 * (alpha - beta)) * std::exp(-0.5 * u * u);
}

int peak_fields(const Density&, double*) {
    return 0;
}

// The branches switch where the coercive field is likeliest, the log-normal's mode
// Hc0 exp(-s^2), over about the spread of h there and of u together.
int loop_bends(const Density& d, double* fields, double* width) {
    const double s = d.parameter[kGaussS];
    const double mode = d.parameter[kGaussHc0] * std::exp(-s * s);
    *width = std::hypot(mode * s, d.parameter[kGaussDhu]);
    fields[0] = -mode;
    fields[1] = mode;
    return 2;
}

double peak_width(const Density& d) {
    return d.parameter[kGaussHc0] * d.parameter[kGaussS];
}

// Only whole triangles reach here (no peak lines): ascending y from x0 to x, descending y from x
// to x1. Both are the triangle between x0 and x1 (its mirror when x1 < x0).
double piece(const Density& d, TriangleForm form, double x0, double x1, const PieceLimits& y) {
    const bool whole = form == TriangleForm::ascending
                           ? (!y.lower_is_x && y.upper_is_x && y.lower == x0)
                           : (y.lower_is_x && !y.upper_is_x && y.upper == x1);
    if (!whole) return NAN;
    const GaussTerm terms[1] = {gauss_term(d.parameter)};
    return d.norm * terms_triangle(terms, x0, x1);
}

const char* check(const double* p) {
    if (!(p[kGaussHc0] >= 1e-4 && p[kGaussHc0] < 1.0)) return "must be 0.0001<=Hc0<1";
    if (!(p[kGaussS] >= 0.01 && p[kGaussS] <= 3.0)) return "must be 0.01<=s<=3";
    if (!(p[kGaussDhu] >= 1e-4 && p[kGaussDhu] <= 10.0)) return "must be 0.0001<=dHu<=10";
    return nullptr;
}

const DensityParameter kParameters[] = {
    {"Hc0", "median coercive field, in units of Hs"},
    {"s", "standard deviation of the natural logarithm of the coercive field"},
    {"dHu", "standard deviation of the interaction field, in units of Hs"},
};

} // namespace

const DensityFamily kGaussFamily = {
    "gauss",
    "log-normal in the coercive field (median Hc0, log spread s) times a normal distribution of "
    "the interaction field (standard deviation dHu)",
    "norm",
    3,
    kParameters,
    value,
    peak_fields,
    peak_width,
    loop_bends,
    piece,
    check,
};

GaussTerm gauss_term(const double* p) {
    return GaussTerm{1.0, p[kGaussHc0], p[kGaussS], p[kGaussDhu],
                     std::exp(GaussTerm::kRatioUnit * p[kGaussS])};
}

double gauss_term_mass(const GaussTerm& t) {
    return t.mass();
}
