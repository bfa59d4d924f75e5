#include "model/graded_rule.h"

#include <algorithm>
#include <cmath>

#include <gsl/gsl_integration.h>

namespace {

// The Gauss-Legendre rule on [-1, 1], nodes ascending.
struct UnitRule {
    double x[kGradedPoints];
    double w[kGradedPoints];
};

UnitRule make_unit_rule() {
    UnitRule r{};
    gsl_integration_glfixed_table* t = gsl_integration_glfixed_table_alloc(kGradedPoints);
    for (int i = 0; i < kGradedPoints; ++i)
        gsl_integration_glfixed_point(-1.0, 1.0, i, &r.x[i], &r.w[i], t);
    gsl_integration_glfixed_table_free(t);
    return r;
}

const UnitRule& unit_rule() {
    static const UnitRule rule = make_unit_rule();
    return rule;
}

// Insertion of a cut strictly inside (lo, hi) while room remains.
void add_cut(double c, double lo, double hi, double* cuts, int& n) {
    if (lo < c && c < hi && n < kGradedPiecesMost - 1) cuts[n++] = c;
}

} // namespace

void graded_rule(double lo, double hi, const OuterFeature* features, int count, GradedRule& rule) {
    rule.count = 0;
    if (!(lo < hi)) return;
    double cuts[kGradedPiecesMost + 1];
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const double c = features[i].centre;
        const double w = features[i].width;
        if (!(w > 0.0) || !std::isfinite(c)) continue;
        add_cut(c, lo, hi, cuts, n);
        // The cells reach from the feature to the far end of the range, or to the first cut at
        // or beyond the feature's reach; those wholly outside the range cut nothing.
        const double far = std::fmax(std::fabs(c - lo), std::fabs(c - hi));
        for (double d = w; d < far; d *= kGradedRatio) {
            add_cut(c - d, lo, hi, cuts, n);
            add_cut(c + d, lo, hi, cuts, n);
            if (d >= features[i].reach) break;
        }
    }
    std::sort(cuts, cuts + n);
    n = static_cast<int>(std::unique(cuts, cuts + n) - cuts);

    const UnitRule& u = unit_rule();
    double a = lo;
    for (int p = 0; p <= n; ++p) {
        const double b = p < n ? cuts[p] : hi;
        const double mid = 0.5 * (a + b);
        const double half = 0.5 * (b - a);
        double* x = rule.x + rule.count;
        double* w = rule.w + rule.count;
        for (int i = 0; i < kGradedPoints; ++i) {
            x[i] = mid + half * u.x[i];
            w[i] = half * u.w[i];
        }
        rule.count += kGradedPoints;
        a = b;
    }
}

double graded_sum(const GradedRule& rule, const double* f) {
    double sum = 0.0;
#pragma omp simd reduction(+ : sum)
    for (int i = 0; i < rule.count; ++i)
        sum += rule.w[i] * f[i];
    return sum;
}
