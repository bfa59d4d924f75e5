// The normalisation, the limiting loop and the Everett integrals of a branch.
#include "model/preisach.h"

#include <cmath>
#include <limits>

#include "model/everett_triangle.h"
#include "model/model_invariants.h"

namespace {

double ascending(const ModelState& m, double a, double b) {
    return everett_triangle(m.density, TriangleForm::ascending, a, b);
}

double descending(const ModelState& m, double a, double b) {
    return everett_triangle(m.density, TriangleForm::descending, a, b);
}

} // namespace

double everett_density(const ModelState& m, double alpha, double beta) {
    return density_value(m.density, alpha, beta);
}

void compute_kmax(ModelState& m) {
    density_normalise(m.density, m.Hs);
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
