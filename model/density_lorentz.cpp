// The Lorentzian family: its value, peak lines and pieces by the two-dimensional quadrature.
#include "model/density_lorentz.h"

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

double piece(const Density& d, TriangleForm form, double x0, double x1, const PieceLimits& y) {
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
