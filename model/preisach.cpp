// The Lorentzian density, Kmax, the limiting loop and the Everett integrals of a branch.
#include "model/preisach.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/model_invariants.h"
#include "model/everett_integrands.h"
#include "numerics/dtwodq_template.h"

namespace {

Density density_of(const ModelState& m) {
    return Density{m.Hc, m.Kmax};
}

const double kErrAbs = 0.0;

// One quadrature call over a piece of a triangle, with the tolerance and rule of every integral.
template <class F, class G, class H>
double piece(const F& f, double x0, double x1, const G& g, const H& h) {
    double result = 0.0;
    double errest = 0.0;
    dtwodq_t(f, x0, x1, g, h, kErrAbs, kEverettErrRel, kEverettRule, result, errest);
    return result;
}

// A triangle wider than this many Hc is cut at the peak fields that cross it: the first rule
// application of a wider one spaces its nodes so far apart against the peaks' half-width Hc that
// Gauss and Kronrod sums can agree on a value that misses a peak. A narrower one, or one that
// no peak crosses, stays one quadrature call.
constexpr double kUncutSpanInHc = 8.0;

// The fields at which a cut triangle is cut, ascending: the density's peak fields (its alpha
// factor peaks at Hc/2, its beta factor at -Hc/2) and, for fields beyond the plot, the fields at
// distances 2, 32, 512 and 8192 from each peak. Without these far cuts a piece that reaches out to
// |H| = 1000 would again space its nodes near the peak on its edge too widely for a small Hc.
// They lie 1.5 or more from zero, so the triangles of fields within the default axes are cut at
// the peak fields alone.
constexpr int kFarCuts = 4;
constexpr int kBreakFields = 2 * (1 + 2 * kFarCuts);

struct BreakFields {
    double field[kBreakFields]; // ascending
};

BreakFields break_fields(const ModelState& m) {
    BreakFields f{};
    int n = 0;
    for (const double peak : {-0.5 * m.Hc, 0.5 * m.Hc}) {
        f.field[n++] = peak;
        for (double dist = 2.0, k = 0; k < kFarCuts; dist *= 16.0, ++k) {
            f.field[n++] = peak - dist;
            f.field[n++] = peak + dist;
        }
    }
    std::sort(f.field, f.field + kBreakFields);
    return f;
}

bool strictly_between(double p, double a, double b) {
    return (a < p && p < b) || (b < p && p < a);
}

// Whether the triangle between the fields a and b is integrated in pieces.
bool is_cut(const ModelState& m, double a, double b) {
    if (!(std::fabs(b - a) > kUncutSpanInHc * m.Hc)) return false;
    const double low_peak = -0.5 * m.Hc;
    const double high_peak = 0.5 * m.Hc;
    return strictly_between(low_peak, a, b) || strictly_between(high_peak, a, b);
}

// A range cut at break fields, in the direction of integration: ends[0], ..., ends[count - 1].
struct Cuts {
    double ends[kBreakFields + 2];
    int count;
};

// The start `from` followed by the break fields on the way to `to`: those strictly between, and
// `to` itself when it is a break field and to_included is set.
Cuts cut_toward(const BreakFields& f, double from, double to, bool to_included) {
    Cuts c{{from}, 1};
    const bool forward = from <= to;
    for (int i = 0; i < kBreakFields; ++i) {
        const double p = f.field[forward ? i : kBreakFields - 1 - i];
        if (strictly_between(p, from, to) || (to_included && p == to)) c.ends[c.count++] = p;
    }
    return c;
}

// The outer range x0 -> x1 cut at the break fields strictly between its ends.
Cuts cut_range(const BreakFields& f, double x0, double x1) {
    Cuts c = cut_toward(f, x0, x1, false);
    c.ends[c.count++] = x1;
    return c;
}

// The inner range of a piece runs from the triangle's fixed end to the outer variable. It is cut
// at the break fields between the fixed end and the piece (the piece's near end included, so a
// peak on which the piece starts is cut too): ends[0] = fixed end, ..., then the outer variable.
Cuts cut_inner(const BreakFields& f, double fixed, double near_end) {
    return cut_toward(f, fixed, near_end, true);
}

// Ascending integral: x from a to b, y from a to x. b < a integrates with reversed outer limits.
// Cut into pieces as the triangle requires, each piece in the orientation of the whole, summed
// outer piece by outer piece from a, inner piece by inner piece from the fixed end a.
double ascending(const ModelState& m, double a, double b) {
    const Ascending f{density_of(m)};
    if (!is_cut(m, a, b)) return piece(f, a, b, Fixed{a}, Identity{});
    const BreakFields fields = break_fields(m);
    const Cuts outer = cut_range(fields, a, b);
    double sum = 0.0;
    for (int i = 0; i + 1 < outer.count; ++i) {
        const double x0 = outer.ends[i];
        const double x1 = outer.ends[i + 1];
        const Cuts inner = cut_inner(fields, a, x0);
        for (int j = 0; j + 1 < inner.count; ++j)
            sum += piece(f, x0, x1, Fixed{inner.ends[j]}, Fixed{inner.ends[j + 1]});
        sum += piece(f, x0, x1, Fixed{inner.ends[inner.count - 1]}, Identity{});
    }
    return sum;
}

// Descending integral: x from a to b, y from x to b. Cut like the ascending one, the inner range
// from the outer variable up to the fixed end b: summed outer piece by outer piece from a, inner
// piece by inner piece from the fixed end b.
double descending(const ModelState& m, double a, double b) {
    const Descending f{density_of(m)};
    if (!is_cut(m, a, b)) return piece(f, a, b, Identity{}, Fixed{b});
    const BreakFields fields = break_fields(m);
    const Cuts outer = cut_range(fields, a, b);
    double sum = 0.0;
    for (int i = 0; i + 1 < outer.count; ++i) {
        const double x0 = outer.ends[i];
        const double x1 = outer.ends[i + 1];
        const Cuts inner = cut_inner(fields, b, x1);
        for (int j = 0; j + 1 < inner.count; ++j)
            sum += piece(f, x0, x1, Fixed{inner.ends[j + 1]}, Fixed{inner.ends[j]});
        sum += piece(f, x0, x1, Identity{}, Fixed{inner.ends[inner.count - 1]});
    }
    return sum;
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
