// Mixtures of two members of the Lorentzian-product or the Gaussian family.
#include <cmath>
#include <initializer_list>

#include "model/density_terms.h"

namespace {

// The two terms of a mixture, each scaled to unit mass and weighted.
template <class T> struct Mixture { T terms[2]; };

template <class T>
Mixture<T> mixture_of(const Density& d, T (*term)(const double*), double (*mass)(const T&)) {
    const double w = d.parameter[kMixWeight];
    Mixture<T> m{{term(d.parameter + kMixFirst), term(d.parameter + kMixSecond)}};
    m.terms[0].weight = w / mass(m.terms[0]);
    m.terms[1].weight = (1.0 - w) / mass(m.terms[1]);
    return m;
}

Mixture<LorentzTerm> lorentz_mixture(const Density& d) {
    return mixture_of<LorentzTerm>(d, lorentz_term, lorentz_term_mass);
}

Mixture<GaussTerm> gauss_mixture(const Density& d) {
    return mixture_of<GaussTerm>(d, gauss_term, gauss_term_mass);
}

double lorentz_interaction(const LorentzTerm& t, double u) {
    const double v = u / t.width_i;
    return 1.0 / (1.0 + v * v);
}

double gauss_interaction(const GaussTerm& t, double u) {
    const double v = u / t.width_i;
    return std::exp(-0.5 * v * v);
}

double lorentz_value(const Density& d, double alpha, double beta) {
    const Mixture<LorentzTerm> m = lorentz_mixture(d);
    const double h = 0.5 * (alpha - beta);
    const double u = 0.5 * (alpha + beta);
    double sum = 0.0;
    for (const LorentzTerm& t : m.terms)
        sum += t.weight * t.coercive(h) * lorentz_interaction(t, u);
    return d.norm * sum;
}

double gauss_value(const Density& d, double alpha, double beta) {
    const Mixture<GaussTerm> m = gauss_mixture(d);
    const double h = 0.5 * (alpha - beta);
    const double u = 0.5 * (alpha + beta);
    double sum = 0.0;
    for (const GaussTerm& t : m.terms)
        sum += t.weight * t.coercive(h) * gauss_interaction(t, u);
    return d.norm * sum;
}

int peak_fields(const Density&, double*) {
    return 0;
}

// The narrower of the two coercive peaks.
double peak_width(const Density& d) {
    return std::fmin(d.parameter[kMixFirst + 1], d.parameter[kMixSecond + 1]);
}

// Both populations' bends, the narrower width.
int loop_bends(const Density& d, double* fields, double* width) {
    const DensityFamily* member = mixture_member(*d.family);
    int count = 0;
    *width = HUGE_VAL;
    for (const int first : {kMixFirst, kMixSecond}) {
        const Density m{member,
                        {d.parameter[first], d.parameter[first + 1], d.parameter[first + 2]},
                        1.0,
                        nullptr};
        double w = 0.0;
        count += member->loop_bends(m, fields + count, &w);
        *width = std::fmin(*width, w);
    }
    return count;
}

bool whole_triangle(TriangleForm form, double x0, double x1, const PieceLimits& y) {
    return form == TriangleForm::ascending ? (!y.lower_is_x && y.upper_is_x && y.lower == x0)
                                           : (y.lower_is_x && !y.upper_is_x && y.upper == x1);
}

// Only whole triangles reach here (no peak lines): the triangle between x0 and x1.
double lorentz_piece(const Density& d, TriangleForm form, double x0, double x1,
                     const PieceLimits& y) {
    if (!whole_triangle(form, x0, x1, y)) return NAN;
    return d.norm * terms_triangle(lorentz_mixture(d).terms, x0, x1);
}

double gauss_piece(const Density& d, TriangleForm form, double x0, double x1,
                   const PieceLimits& y) {
    if (!whole_triangle(form, x0, x1, y)) return NAN;
    return d.norm * terms_triangle(gauss_mixture(d).terms, x0, x1);
}

const char* check_weight(const double* p) {
    if (!(p[kMixWeight] >= 0.0 && p[kMixWeight] <= 1.0)) return "must be 0<=w<=1";
    return nullptr;
}

const char* lorentz_check(const double* p) {
    const char* why = check_weight(p);
    if (!why) why = kLorentz2Family.check(p + kMixFirst);
    if (!why) why = kLorentz2Family.check(p + kMixSecond);
    return why;
}

const char* gauss_check(const double* p) {
    const char* why = check_weight(p);
    if (!why) why = kGaussFamily.check(p + kMixFirst);
    if (!why) why = kGaussFamily.check(p + kMixSecond);
    return why;
}

const DensityParameter kLorentzParameters[] = {
    {"w", "share of the first population (0 to 1)"},
    {"Hc1", "coercive field of the first peak, in units of Hs"},
    {"dHc1", "half-width of the first peak in the coercive field, in units of Hs"},
    {"dHu1", "half-width of the first peak in the interaction field, in units of Hs"},
    {"Hc2", "coercive field of the second peak, in units of Hs"},
    {"dHc2", "half-width of the second peak in the coercive field, in units of Hs"},
    {"dHu2", "half-width of the second peak in the interaction field, in units of Hs"},
};

const DensityParameter kGaussParameters[] = {
    {"w", "share of the first population (0 to 1)"},
    {"Hc1", "median coercive field of the first population, in units of Hs"},
    {"s1", "standard deviation of ln h of the first population"},
    {"dHu1", "standard deviation of the first population's interaction field, in units of Hs"},
    {"Hc2", "median coercive field of the second population, in units of Hs"},
    {"s2", "standard deviation of ln h of the second population"},
    {"dHu2", "standard deviation of the second population's interaction field, in units of Hs"},
};

} // namespace

const DensityFamily kLorentz2MixFamily = {
    "lorentz2-mix",
    "two populations of the Lorentzian product, shares w and 1 - w",
    "norm",
    7,
    kLorentzParameters,
    lorentz_value,
    peak_fields,
    peak_width,
    loop_bends,
    lorentz_piece,
    lorentz_check,
};

const DensityFamily kGaussMixFamily = {
    "gauss-mix",      "two populations of the log-normal times normal density, shares w and 1 - w",
    "norm",           7,
    kGaussParameters, gauss_value,
    peak_fields,      peak_width,
    loop_bends,       gauss_piece,
    gauss_check,
};

const DensityFamily* mixture_member(const DensityFamily& mixture) {
    if (&mixture == &kLorentz2MixFamily) return &kLorentz2Family;
    if (&mixture == &kGaussMixFamily) return &kGaussFamily;
    return nullptr;
}

double member_mass(const DensityFamily& member, const double* p) {
    return &member == &kGaussFamily ? gauss_term_mass(gauss_term(p))
                                    : lorentz_term_mass(lorentz_term(p));
}
