// Triangles cut at a density's peak lines, and the normalisation.
#include "model/everett_triangle.h"

#include <algorithm>
#include <cmath>

namespace {

// The fields at which a cut triangle is cut, ascending: the density's peak fields and, for fields
// beyond the plot, the fields at distances 2, 32, 512 and 8192 from each peak. Without these far
// cuts a piece that reaches out to |H| = 1000 would again space its nodes near the peak on its
// edge too widely for a narrow peak. They lie 1.5 or more from a peak, so the triangles of fields
// within the default axes are cut at the peak fields alone (for peaks within 0.5 of zero).
constexpr int kFarCuts = 4;
constexpr int kBreakFieldsMost = kPeakFieldsMost * (1 + 2 * kFarCuts);

struct BreakFields {
    double field[kBreakFieldsMost]; // ascending
    int count;
};

BreakFields break_fields(const double* peaks, int peak_count) {
    BreakFields f{};
    for (int i = 0; i < peak_count; ++i) {
        const double peak = peaks[i];
        f.field[f.count++] = peak;
        for (double dist = 2.0, k = 0; k < kFarCuts; dist *= 16.0, ++k) {
            f.field[f.count++] = peak - dist;
            f.field[f.count++] = peak + dist;
        }
    }
    std::sort(f.field, f.field + f.count);
    return f;
}

bool strictly_between(double p, double a, double b) {
    return (a < p && p < b) || (b < p && p < a);
}

// A range cut at break fields, in the direction of integration: ends[0], ..., ends[count - 1].
struct Cuts {
    double ends[kBreakFieldsMost + 2];
    int count;
};

// The start `from` followed by the break fields on the way to `to`: those strictly between, and
// `to` itself when it is a break field and to_included is set.
Cuts cut_toward(const BreakFields& f, double from, double to, bool to_included) {
    Cuts c{{from}, 1};
    const bool forward = from <= to;
    for (int i = 0; i < f.count; ++i) {
        const double p = f.field[forward ? i : f.count - 1 - i];
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

PieceLimits between(double lower, double upper) {
    return {false, lower, false, upper};
}

double piece(const Density& d, TriangleForm form, double x0, double x1, const PieceLimits& y) {
    return d.family->piece(d, form, x0, x1, y);
}

} // namespace

double everett_triangle(const Density& d, TriangleForm form, double a, double b) {
    const bool up = form == TriangleForm::ascending;
    // The whole triangle: y from the fixed end a up to x, or from x up to the fixed end b.
    const PieceLimits whole =
        up ? PieceLimits{false, a, true, 0.0} : PieceLimits{true, 0.0, false, b};
    double peaks[kPeakFieldsMost];
    const int peak_count = d.family->peak_fields(d, peaks);
    bool cut = false;
    if (std::fabs(b - a) > kUncutSpanInWidths * d.family->peak_width(d))
        for (int i = 0; i < peak_count; ++i)
            cut = cut || strictly_between(peaks[i], a, b);
    if (!cut) return piece(d, form, a, b, whole);

    const BreakFields fields = break_fields(peaks, peak_count);
    const Cuts outer = cut_range(fields, a, b);
    double sum = 0.0;
    for (int i = 0; i + 1 < outer.count; ++i) {
        const double x0 = outer.ends[i];
        const double x1 = outer.ends[i + 1];
        if (up) {
            // Inner pieces from the fixed end a toward the piece's near end x0.
            const Cuts inner = cut_inner(fields, a, x0);
            for (int j = 0; j + 1 < inner.count; ++j)
                sum += piece(d, form, x0, x1, between(inner.ends[j], inner.ends[j + 1]));
            sum += piece(d, form, x0, x1, {false, inner.ends[inner.count - 1], true, 0.0});
        } else {
            // Inner pieces from the fixed end b toward the piece's near end x1.
            const Cuts inner = cut_inner(fields, b, x1);
            for (int j = 0; j + 1 < inner.count; ++j)
                sum += piece(d, form, x0, x1, between(inner.ends[j + 1], inner.ends[j]));
            sum += piece(d, form, x0, x1, {true, 0.0, false, inner.ends[inner.count - 1]});
        }
    }
    return sum;
}

void density_normalise(Density& d, double Hs) {
    d.norm = 1.0;
    const double I = everett_triangle(d, TriangleForm::ascending, -Hs, Hs);
    d.norm = 2.0 / I;
}
