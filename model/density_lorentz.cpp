// The Lorentzian family: its value, peak lines and pieces by the two-dimensional quadrature.
#include "model/density_lorentz.h"

#include <cmath>

#include "model/graded_rule.h"
#include "model/lorentz_integrands.h"
#include "model/model_limits.h"
#include "model/outer_kernels.h"
#include "numerics/dtwodq_template.h"

namespace {

LorentzDensity bound(const Density& d) {
    return LorentzDensity{d.parameter[kLorentzHc], d.norm};
}

double value(const Density& d, double alpha, double beta) {
    return bound(d)(alpha, beta);
}

// The alpha factor peaks at Hc/2, the beta factor at -Hc/2; each peak is Hc wide.
int peak_fields(const Density& d, double* fields) {
    const double Hc = d.parameter[kLorentzHc];
    fields[0] = -0.5 * Hc;
    fields[1] = 0.5 * Hc;
    return 2;
}

double peak_width(const Density& d) {
    return d.parameter[kLorentzHc];
}

// The loop switches where the peak lines cross it.
int loop_bends(const Density& d, double* fields, double* width) {
    *width = peak_width(d);
    return peak_fields(d, fields);
}

const double kErrAbs = 0.0;

// One quadrature call with the tolerance and rule of every integral.
template <class F, class G, class H>
double integrate(const F& f, double x0, double x1, const G& g, const H& h) {
    double result = 0.0;
    double errest = 0.0;
    dtwodq_t(f, x0, x1, g, h, kErrAbs, kEverettErrRel, kEverettRule, result, errest);
    return result;
}

// The pieces the triangles give: an inner range from a fixed field to x or from x to a fixed
// field, or between two fixed fields.
template <class F> double piece_of(const F& f, double x0, double x1, const PieceLimits& y) {
    if (y.upper_is_x) return integrate(f, x0, x1, Fixed{y.lower}, Identity{});
    if (y.lower_is_x) return integrate(f, x0, x1, Identity{}, Fixed{y.upper});
    return integrate(f, x0, x1, Fixed{y.lower}, Fixed{y.upper});
}

// A piece with the inner integral in closed form. The density is Kmax f(alpha) g(beta); `outer`
// is the offset of the outer factor's argument (-0.5 for alpha, +0.5 for beta), `inner` that of
// the inner factor's, whose integral between the piece's inner limits is
// Hc (atan(upper / Hc + inner) - atan(lower / Hc + inner)), taken as one arctangent of a quotient
// (plus or minus pi where the two arctangents lie on either side of a pole of the quotient).
double closed_piece(const Density& d, TriangleForm form, double x0, double x1,
                    const PieceLimits& y) {
    const double Hc = d.parameter[kLorentzHc];
    const bool up = form == TriangleForm::ascending;
    const double outer = up ? -0.5 : 0.5;
    const double inner = up ? 0.5 : -0.5;
    // The outer factor peaks at -Hc * outer; the inner integral turns fastest where a limit that
    // follows x crosses the inner factor's peak at -Hc * inner.
    const OuterFeature features[2] = {{FeatureKind::pole, -Hc * outer, Hc, 0.0, 0.0},
                                      {FeatureKind::pole, -Hc * inner, Hc, 0.0, 0.0}};
    const double lo = std::fmin(x0, x1);
    const double hi = std::fmax(x0, x1);
    const double r = 1.0 / Hc;
    const AtanOverLorentz f{1.0,
                            inner + (y.lower_is_x ? 0.0 : y.lower * r),
                            y.lower_is_x ? r : 0.0,
                            inner + (y.upper_is_x ? 0.0 : y.upper * r),
                            y.upper_is_x ? r : 0.0,
                            outer,
                            r};
    GradedRule rule;
    graded_rule(lo, hi, features, 2, kGradedPolePoints, rule);
    double q[kGradedNodesMost];
    double scratch[kGradedNodesMost];
    values(f, rule.x, rule.count, q, scratch);
    const double I = d.norm * Hc * graded_sum(rule, q);
    return x0 <= x1 ? I : -I;
}

double piece(const Density& d, TriangleForm form, double x0, double x1, const PieceLimits& y) {
    if (d.parameter[kLorentzHc] < kLorentzClosedBelowHc) return closed_piece(d, form, x0, x1, y);
    if (form == TriangleForm::ascending) return piece_of(Ascending{bound(d)}, x0, x1, y);
    return piece_of(Descending{bound(d)}, x0, x1, y);
}

const char* check(const double* parameter) {
    return hc_refusal(check_range(ModelQuantity::Hc, parameter[kLorentzHc]));
}

const DensityParameter kParameters[] = {
    {"Hc", "half-width of the density's peaks, in units of Hs (0.001 <= Hc < 1)"},
};

} // namespace

const DensityFamily kLorentzFamily = {
    "lorentz",   "Lorentzian with one parameter Hc, peaks at alpha = Hc/2 and beta = -Hc/2",
    "Kmax",      1,
    kParameters, value,
    peak_fields, peak_width,
    loop_bends,  piece,
    check,
};

Density lorentz_density(double Hc, double Kmax) {
    Density d{&kLorentzFamily, {}, Kmax, nullptr};
    d.parameter[kLorentzHc] = Hc;
    return d;
}
