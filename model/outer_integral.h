// The outer rule of the densities whose inner integral is in closed form: GSL's adaptive
// Gauss-Kronrod rule (gsl_integration_qag) over a range cut at the integrand's features. Any
// thread: each thread has its own workspace.
#pragma once

#include <algorithm>
#include <cmath>

#include <gsl/gsl_integration.h>

// Absolute tolerance of each piece, as a fraction of the density's whole mass: the triangles of
// a normalised density come out within about 1e-13 of their exact values.
constexpr double kOuterTolerance = 1e-14;
// Most subintervals of one piece.
constexpr int kOuterIntervals = 200;
// Most cuts a range takes.
constexpr int kOuterCutsMost = 64;

// A feature of an outer integrand: near `centre` it varies on the scale `width`.
struct OuterFeature {
    double centre; // where the integrand varies fastest
    double width;  // on what scale, > 0 (0: no feature)
};

// The cuts of the range [lo, hi] for features: each centre, and the fields at distances
// width * 4^k from it (k = 0, 1, ...), so that no piece is much longer than its distance from the
// nearest feature and one or two rule applications meet the tolerance. Sorted, with lo first and
// hi last; returns the count.
inline int outer_cuts(double lo, double hi, const OuterFeature* features, int count, double* cuts) {
    int n = 0;
    cuts[n++] = lo;
    cuts[n++] = hi;
    for (int i = 0; i < count; ++i) {
        const double c = features[i].centre;
        const double w = features[i].width;
        if (!(w > 0.0) || !std::isfinite(c)) continue;
        if (lo < c && c < hi && n < kOuterCutsMost) cuts[n++] = c;
        for (double d = w; d < hi - lo && n + 2 <= kOuterCutsMost; d *= 4.0) {
            if (lo < c - d && c - d < hi) cuts[n++] = c - d;
            if (lo < c + d && c + d < hi) cuts[n++] = c + d;
        }
    }
    std::sort(cuts, cuts + n);
    return static_cast<int>(std::unique(cuts, cuts + n) - cuts);
}

// This thread's workspace of the adaptive rule, made on first use; the library's error handler
// is switched off once, so a piece that misses its tolerance returns its best estimate.
gsl_integration_workspace* outer_workspace();

// The integral of g over [lo, hi] (lo <= hi, both finite), cut at the features, each piece to the
// absolute tolerance `tolerance`.
template <class G>
double outer_integral(const G& g, double lo, double hi, const OuterFeature* features, int count,
                      double tolerance) {
    if (!(lo < hi)) return 0.0;
    double cuts[kOuterCutsMost];
    const int n = outer_cuts(lo, hi, features, count, cuts);
    gsl_function f;
    f.function = [](double x, void* p) { return (*static_cast<const G*>(p))(x); };
    f.params = const_cast<G*>(&g);
    gsl_integration_workspace* w = outer_workspace();
    double sum = 0.0;
    for (int i = 0; i + 1 < n; ++i) {
        double result = 0.0;
        double error = 0.0;
        gsl_integration_qag(&f, cuts[i], cuts[i + 1], tolerance, 0.0, kOuterIntervals,
                            GSL_INTEG_GAUSS21, w, &result, &error);
        sum += result;
    }
    return sum;
}
