#include "model/graded_rule.h"

#include <cmath>

#include <gsl/gsl_integration.h>

#include "model/vector_math.h"

namespace {

// The Gauss-Legendre rules of 1 to kGradedPointsMost points on [-1, 1], nodes ascending.
struct UnitRules {
    double x[kGradedPointsMost + 1][kGradedPointsMost];
    double w[kGradedPointsMost + 1][kGradedPointsMost];
};

UnitRules make_unit_rules() {
    UnitRules r{};
    for (int n = 1; n <= kGradedPointsMost; ++n) {
        gsl_integration_glfixed_table* t = gsl_integration_glfixed_table_alloc(n);
        for (int i = 0; i < n; ++i)
            gsl_integration_glfixed_point(-1.0, 1.0, i, &r.x[n][i], &r.w[n][i], t);
        gsl_integration_glfixed_table_free(t);
    }
    return r;
}

const UnitRules& unit_rules() {
    static const UnitRules rules = make_unit_rules();
    return rules;
}

// The larger and smaller of two finite values, inline (std::fmax and std::fmin are calls, for
// their rules on NaN).
inline double larger(double x, double y) {
    return x < y ? y : x;
}
inline double smaller(double x, double y) {
    return y < x ? y : x;
}

// The farthest end of a piece that starts at a, for one feature. Near a pole (centre c, width
// w) a piece that lies on one side of c, its near end at distance d from c, may be
// 2 max(d, w / 2) long, and within a width of c it may lie across it, w long: pieces approach by
// thirds of the distance and leave in steps that triple, without the slivers that fixed cells of
// several features would cut. A gaussian or log-normal feature bounds the pieces within its
// range only; one that starts ahead lets the piece run to its start, or on into the range as far
// as a piece within it may be long: its bound holds anywhere, the range only says where it must
// (no sliver is left before the range starts).
double piece_end(double a, const OuterFeature& f) {
    switch (f.kind) {
    case FeatureKind::pole: {
        const double c = f.centre;
        const double w = f.width;
        if (c > a) return larger(a + w, (a + 2.0 * c) / 3.0);
        return a + larger(w, 2.0 * (a - c));
    }
    case FeatureKind::gaussian:
        if (a < f.from) return larger(f.from, a + f.width);
        return a < f.to ? a + f.width : HUGE_VAL;
    case FeatureKind::log_normal:
        if (a < f.from) return larger(f.from, a * f.width);
        return a < f.to ? a * f.width : HUGE_VAL;
    }
    return HUGE_VAL;
}

// The end of the piece that starts at a (before hi): the nearest end any feature allows, a
// log-normal's ratio capped at ratio_most; hi for the last piece a range may have (p).
double piece_end(double a, double hi, const OuterFeature* features, int count, double ratio_most,
                 int p) {
    double b = hi;
    if (p + 1 < kGradedPiecesMost)
        for (int i = 0; i < count; ++i) {
            if (!(features[i].width > 0.0)) continue;
            OuterFeature f = features[i];
            if (f.kind == FeatureKind::log_normal) f.width = smaller(f.width, ratio_most);
            b = smaller(b, piece_end(a, f));
        }
    return b > a ? b : hi; // hi for a width below the spacing of doubles at a
}

// The farthest end, up to b, of a piece from a (0 < a < b) that is better integrated in ln x; a
// when there is none. A log-normal feature must cover a, and no other feature bound the piece:
// not a pole anywhere, nor a gaussian whose range meets it beyond its first share of a piece from
// 0, since their scales are lengths in x.
double ln_x_end(double a, double b, const OuterFeature* features, int count) {
    bool log_normal = false;
    for (int i = 0; i < count; ++i) {
        const OuterFeature& f = features[i];
        if (!(f.width > 0.0)) continue;
        if (f.kind == FeatureKind::log_normal) log_normal = log_normal || (f.from <= a && a < f.to);
        if (f.kind == FeatureKind::pole) return a;
        // A gaussian's factor changes little over x in [0, b] when b is a small share of its
        // longest piece: near x = 0 it is then a short power series in x = e^(ln x), which the
        // rule in ln x integrates as well as the log-normal itself.
        if (f.kind == FeatureKind::gaussian && a < f.to && f.from < b)
            b = smaller(b, kLogSpacedGaussianShare * f.width);
    }
    return log_normal && b > a ? b : a;
}

// The unit rule's nodes and weights moved to a piece of centre mid and half-length half.
void fill_piece(double mid, double half, const double* __restrict ux, const double* __restrict uw,
                int points, double* __restrict x, double* __restrict w) {
    for (int i = 0; i < points; ++i) {
        x[i] = mid + half * ux[i];
        w[i] = half * uw[i];
    }
}

} // namespace

void graded_rule(double lo, double hi, const OuterFeature* features, int count, int points,
                 GradedRule& rule) {
    rule.count = 0;
    rule.log_runs = 0;
    if (!(lo < hi) || points < 1 || points > kGradedPointsMost) return;
    const double* ux = unit_rules().x[points];
    const double* uw = unit_rules().w[points];
    // Pieces of a log-normal that end beyond kLogSpacedRatio times their start take their nodes
    // in ln x: their nodes and weights there, exponentiated at the end.
    int log_first[kGradedPiecesMost];
    int log_pieces = 0;
    // ln of the end of the last piece taken in ln x, which the next one, starting there, reuses.
    double log_end_at = -1.0;
    double log_end = 0.0;
    double a = lo;
    for (int p = 0; a < hi; ++p) {
        double b = piece_end(a, hi, features, count, HUGE_VAL, p);
        bool log_spaced = a > 0.0 && b > kLogSpacedRatio * a;
        if (log_spaced) {
            const double end = ln_x_end(a, b, features, count);
            if (end > kLogSpacedRatio * a) {
                b = end;
            } else {
                // In x a log-normal's piece may be no longer than its distance from 0 allows.
                b = piece_end(a, hi, features, count, kLogSpacedRatio, p);
                log_spaced = false;
            }
        }
        double from = a;
        double to = b;
        if (log_spaced) {
            from = a == log_end_at ? log_end : std::log(a);
            to = std::log(b);
            log_end_at = b;
            log_end = to;
        }
        const double mid = 0.5 * (from + to);
        const double half = 0.5 * (to - from);
        // Nodes in ln x go to t, exponentiated into x at the end.
        fill_piece(mid, half, ux, uw, points, (log_spaced ? rule.t : rule.x) + rule.count,
                   rule.w + rule.count);
        if (log_spaced) log_first[log_pieces++] = rule.count;
        rule.count += points;
        a = b;
    }
    // Exponentiated run by run of adjacent pieces (usually one run, from the start): the vector
    // function's calls cost more than its values on a piece's few nodes. The weights stay in
    // ln x.
    rule.log_runs = 0;
    for (int k = 0; k < log_pieces;) {
        int run = 1;
        while (k + run < log_pieces && log_first[k + run] == log_first[k] + run * points)
            ++run;
        const int first = log_first[k];
        const int nodes = run * points;
        vector_exp(rule.t + first, rule.x + first, nodes);
        rule.log_first[rule.log_runs] = first;
        rule.log_nodes[rule.log_runs] = nodes;
        ++rule.log_runs;
        k += run;
    }
}

double graded_sum(const GradedRule& rule, const double* f) {
    double sum = 0.0;
#pragma omp simd reduction(+ : sum)
    for (int i = 0; i < rule.count; ++i)
        sum += rule.w[i] * f[i];
    return sum;
}
