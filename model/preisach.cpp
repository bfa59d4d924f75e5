// The Lorentzian density, Kmax, the limiting loop and the Everett integrals of a branch.
#include "model/preisach.h"

#include <cmath>
#include <limits>

#include "model/model_invariants.h"
#include "numerics/dtwodq_template.h"

namespace {

// The density with its two parameters bound, so that the quadrature inlines it.
struct Density {
    double Hc;
    double Kmax;
    double operator()(double alpha, double beta) const {
        const double ta = alpha / Hc - 0.5;
        const double tb = beta / Hc + 0.5;
        return Kmax / ((1.0 + ta * ta) * (1.0 + tb * tb));
    }
};

// Ascending form F1(x, y) = P(alpha = x, beta = y).
struct Ascending {
    Density p;
    double operator()(const double& x, const double& y) const { return p(x, y); }
};

// Descending form F2(x, y) = P(alpha = y, beta = x).
struct Descending {
    Density p;
    double operator()(const double& x, const double& y) const { return p(y, x); }
};

// Inner limit fixed at one end of the triangle.
struct Fixed {
    double value;
    double operator()(const double&) const { return value; }
};

// Inner limit following the outer variable.
struct Identity {
    double operator()(const double& x) const { return x; }
};

Density density_of(const ModelState& m) {
    return Density{m.Hc, m.Kmax};
}

const double kErrAbs = 0.0;

// Ascending integral: x from a to b, y from a to x. b < a integrates with reversed outer limits.
double ascending(const ModelState& m, double a, double b) {
    double result = 0.0;
    double errest = 0.0;
    dtwodq_t(Ascending{density_of(m)}, a, b, Fixed{a}, Identity{}, kErrAbs, kEverettErrRel,
             kEverettRule, result, errest);
    return result;
}

// Descending integral: x from a to b, y from x to b.
double descending(const ModelState& m, double a, double b) {
    double result = 0.0;
    double errest = 0.0;
    dtwodq_t(Descending{density_of(m)}, a, b, Identity{}, Fixed{b}, kErrAbs, kEverettErrRel,
             kEverettRule, result, errest);
    return result;
}

} // namespace

double everett_density(const ModelState& m, double alpha, double beta) {
    return density_of(m)(alpha, beta);
}

void compute_kmax(ModelState& m) {
    m.Kmax = 1.0;
    const double I = ascending(m, -m.Hs, m.Hs);
    m.Kmax = 2.0 / I;
}

void compute_major_loop(ModelState& m) {
    double H = -m.Hs;
    for (int k = 2; k <= 101; ++k) {
        // Accumulated by repeated addition: the loop's H values carry that rounding.
        H = H + m.dHmaj;
        const double R = ascending(m, -m.Hs, H);
        m.Bmaj[k] = R - m.Bs;
        m.Hmaj[k] = H;
    }
    const double Btop = m.Bmaj[101];
    for (int k = 102; k <= 201; ++k) {
        H = H - m.dHmaj;
        // Up to the exact +Hs, not to the accumulated top H.
        const double R = descending(m, H, m.Hs);
        m.Bmaj[k] = Btop - R;
        m.Hmaj[k] = H;
    }
}

double everett_integral(const ModelState& m, double H) {
    // No branch start to integrate from, or a field the quadrature cannot reach: not a number,
    // rather than a read past the stack or an integration that never ends.
    const bool krev_in_range =
        expect_invariant(m.Krev >= 0 && m.Krev < kReversalSlots, "0 <= Krev < kReversalSlots");
    if (!krev_in_range || !std::isfinite(H)) return std::numeric_limits<double>::quiet_NaN();
    const double a = m.Hrev[m.Krev];
    const double Bt = m.Brev[m.Krev];
    if (m.Dir > 0) {
        const double R = ascending(m, a, H);
        return Bt + m.Dir * R;
    }
    const double R = descending(m, H, a);
    return Bt + m.Dir * R;
}
