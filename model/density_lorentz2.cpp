// The Lorentzian product in coercive and interaction fields, its own coercive centre and widths.
#include <cmath>

#include "model/density_terms.h"

namespace {

double value(const Density& d, double alpha, double beta) {
    const LorentzTerm t = lorentz_term(d.parameter);
    return d.norm * t.coercive(0.5 * (alpha - beta)) *
           (1.0 / (1.0 + std::pow(0.5 * (alpha + beta) / t.width_i, 2)));
}

// No peak lines to cut at: every triangle is one piece, integrated with its inner integral in
// closed form.
int peak_fields(const Density&, double*) {
    return 0;
}

double peak_width(const Density& d) {
    return d.parameter[kLorentz2Dhc];
}

// The branches switch at alpha = Hc0 and beta = -Hc0 (u = 0), over the width of the switching
// field alpha = h + u: for two Lorentzians, the sum of their half-widths.
int loop_bends(const Density& d, double* fields, double* width) {
    *width = d.parameter[kLorentz2Dhc] + d.parameter[kLorentz2Dhu];
    fields[0] = -d.parameter[kLorentz2Hc0];
    fields[1] = d.parameter[kLorentz2Hc0];
    return 2;
}

// Only whole triangles reach here (no peak lines): ascending y from x0 to x, descending y from x
// to x1. Both are the triangle between x0 and x1 (its mirror when x1 < x0).
double piece(const Density& d, TriangleForm form, double x0, double x1, const PieceLimits& y) {
    const bool whole = form == TriangleForm::ascending
                           ? (!y.lower_is_x && y.upper_is_x && y.lower == x0)
                           : (y.lower_is_x && !y.upper_is_x && y.upper == x1);
    if (!whole) return NAN;
    const LorentzTerm terms[1] = {lorentz_term(d.parameter)};
    return d.norm * terms_triangle(terms, x0, x1);
}

const char* check(const double* p) {
    if (!(p[kLorentz2Hc0] >= 0.0 && p[kLorentz2Hc0] < 1.0)) return "must be 0<=Hc0<1";
    if (!(p[kLorentz2Dhc] >= 1e-4 && p[kLorentz2Dhc] <= 10.0)) return "must be 0.0001<=dHc<=10";
    if (!(p[kLorentz2Dhu] >= 1e-4 && p[kLorentz2Dhu] <= 10.0)) return "must be 0.0001<=dHu<=10";
    return nullptr;
}

const DensityParameter kParameters[] = {
    {"Hc0", "coercive field of the peak, in units of Hs"},
    {"dHc", "half-width of the peak in the coercive field, in units of Hs"},
    {"dHu", "half-width of the peak in the interaction field, in units of Hs"},
};

} // namespace

const DensityFamily kLorentz2Family = {
    "lorentz2",
    "Lorentzian in the coercive field (centre Hc0, half-width dHc) times a Lorentzian in the "
    "interaction field (half-width dHu)",
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

LorentzTerm lorentz_term(const double* p) {
    return LorentzTerm{1.0, p[kLorentz2Hc0], p[kLorentz2Dhc], p[kLorentz2Dhu]};
}

double lorentz_term_mass(const LorentzTerm& t) {
    return t.mass();
}
