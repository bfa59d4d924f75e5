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

// Fine points: a quarter of the peak width apart within kFineNearInWidths widths of a peak field;
// farther out the allowed step grows by a quarter of the distance beyond that, so the tails,
// where the loop still bends, are followed with a few points more.
constexpr double kFineStepInWidths = 0.25;
constexpr double kFineNearInWidths = 4.0;

// Where a step of the limiting loop needs fine points: where the loop bends, and how sharply.
struct FineRegion {
    double peak[kPeakFieldsMost]; // the fields where the density's loop bends
    int count;                    // how many; 0 when the loop's step is fine enough everywhere
    double width;                 // the width of its bends
};

FineRegion fine_region(const ModelState& m) {
    FineRegion r{};
    double peak[kPeakFieldsMost];
    const int count = m.density.family->loop_bends(m.density, peak, &r.width);
    if (!(r.width > 0.0) || !(m.dHmaj > kFineStepInWidths * r.width)) return r;
    r.count = count;
    for (int i = 0; i < count; ++i)
        r.peak[i] = peak[i];
    return r;
}

// The largest step of the drawn loop at field H.
double allowed_step(const FineRegion& r, double H) {
    double d = HUGE_VAL;
    for (int i = 0; i < r.count; ++i)
        d = std::fmin(d, std::fabs(H - r.peak[i]));
    return std::fmax(kFineStepInWidths * r.width, 0.25 * (d - kFineNearInWidths * r.width));
}

// Adds the fine points of the step from entry k (field from) to entry k + 1 (field to), B by
// b_at, while slots remain.
template <class BAt>
void add_fine_points(ModelState& m, const FineRegion& r, int k, double from, double to,
                     const BAt& b_at) {
    if (r.count == 0) return;
    const double direction = to > from ? 1.0 : -1.0;
    double H = from;
    while (m.Nfine < kMajorFineSlots) {
        // Each gap at most the step allowed at its start: a rest below two steps is halved.
        const double rest = direction * (to - H);
        const double step = allowed_step(r, H);
        if (!(rest > step)) break;
        H += direction * (rest < 2.0 * step ? 0.5 * rest : step);
        m.Hfine[m.Nfine] = H;
        m.Bfine[m.Nfine] = b_at(H);
        m.Kfine[m.Nfine] = k;
        ++m.Nfine;
    }
}

} // namespace

double everett_density(const ModelState& m, double alpha, double beta) {
    return density_value(m.density, alpha, beta);
}

void compute_kmax(ModelState& m) {
    density_normalise(m.density, m.Hs);
}

void compute_major_loop(ModelState& m) {
    const FineRegion fine = fine_region(m);
    m.Nfine = 0;
    double H = -m.Hs;
    for (int k = 2; k <= 101; ++k) {
        add_fine_points(m, fine, k - 1, H, H + m.dHmaj,
                        [&](double h) { return ascending(m, -m.Hs, h) - m.Bs; });
        // Accumulated by repeated addition: the loop's H values carry that rounding.
        H = H + m.dHmaj;
        const double R = ascending(m, -m.Hs, H);
        m.Bmaj[k] = R - m.Bs;
        m.Hmaj[k] = H;
    }
    const double Btop = m.Bmaj[101];
    for (int k = 102; k <= 201; ++k) {
        add_fine_points(m, fine, k - 1, H, H - m.dHmaj,
                        [&](double h) { return Btop - descending(m, h, m.Hs); });
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
