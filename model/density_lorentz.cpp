// The Lorentzian family: its value, peak lines and pieces by the two-dimensional quadrature.
#include "model/density_lorentz.h"

#include <cmath>

#include "model/coercive_interaction.h"
#include "model/lorentz_integrands.h"
#include "model/model_limits.h"
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

// The outer integrand of a piece with the inner integral in closed form. The density is
// Kmax f(alpha) g(beta); `outer` is the factor of the outer variable (offset -0.5 for alpha,
// +0.5 for beta), and the inner integral of the other factor is Hc (atan(y/Hc + inner) between
// the piece's inner limits).
struct ClosedInner {
    double Hc, Kmax;      // the density's parameters
    double outer, inner;  // offsets of the outer and inner factors' arguments
    const PieceLimits* y; // the inner limits
    double operator()(double x) const {
        const double t = x / Hc + outer;
        const double lower = y->lower_is_x ? x : y->lower;
        const double upper = y->upper_is_x ? x : y->upper;
        const double in = Hc * atan_difference(lower / Hc + inner, upper / Hc + inner);
        return Kmax * in / (1.0 + t * t);
    }
};

double closed_piece(const Density& d, TriangleForm form, double x0, double x1,
                    const PieceLimits& y) {
    const double Hc = d.parameter[kLorentzHc];
    const bool up = form == TriangleForm::ascending;
    const ClosedInner g{Hc, d.norm, up ? -0.5 : 0.5, up ? 0.5 : -0.5, &y};
    // The outer factor peaks at -Hc * outer; the inner integral turns fastest where a limit that
    // follows x crosses the inner factor's peak at -Hc * inner.
    const OuterFeature features[2] = {{-Hc * g.outer, Hc}, {-Hc * g.inner, Hc}};
    // Absolute tolerance against the density's mass over the whole plane, Kmax (pi Hc)^2.
    const double tolerance = kOuterTolerance * d.norm * (M_PI * Hc) * (M_PI * Hc);
    const double lo = std::fmin(x0, x1);
    const double hi = std::fmax(x0, x1);
    const double I = outer_integral(g, lo, hi, features, 2, tolerance);
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
    piece,       check,
};

Density lorentz_density(double Hc, double Kmax) {
    Density d{&kLorentzFamily, {}, Kmax, nullptr};
    d.parameter[kLorentzHc] = Hc;
    return d;
}
