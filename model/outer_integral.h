// The outer rule of the densities whose inner integral is in closed form: an adaptive
// Gauss-Kronrod rule (Boost.Math) over a range cut at the integrand's features. Any thread: no
// state beyond the caller's.
#pragma once

#include <algorithm>
#include <cmath>

#include <boost/math/policies/policy.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>

// Relative tolerance of each piece: the sum stays within about 1e-13 of the integral's scale.
constexpr double kOuterTolerance = 1e-14;
// Deepest bisection of one piece.
constexpr unsigned kOuterDepth = 24;
// Most cuts a range takes.
constexpr int kOuterCutsMost = 64;

// A feature of an outer integrand: near `centre` it varies on the scale `width`.
struct OuterFeature {
    double centre; // where the integrand varies fastest
    double width;  // on what scale, > 0
};

// The cuts of the range [lo, hi] for features: each centre, and the fields at distances
// width * 4^k from it (k = 0, 1, ...), so that every piece is at most three times as long as its
// distance from the nearest feature and one or two rule applications meet the tolerance. Sorted,
// with lo first and hi last; returns the count.
inline int outer_cuts(double lo, double hi, const OuterFeature* features, int count,
                      double* cuts) {
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

// The integral of g over [lo, hi] (lo <= hi, both finite), cut at the features.
template <class G>
double outer_integral(const G& g, double lo, double hi, const OuterFeature* features, int count) {
    using Policy = boost::math::policies::policy<
        boost::math::policies::domain_error<boost::math::policies::errno_on_error>,
        boost::math::policies::evaluation_error<boost::math::policies::errno_on_error>>;
    using Rule = boost::math::quadrature::gauss_kronrod<double, 15, Policy>;
    if (!(lo < hi)) return 0.0;
    double cuts[kOuterCutsMost];
    const int n = outer_cuts(lo, hi, features, count, cuts);
    double sum = 0.0;
    for (int i = 0; i + 1 < n; ++i)
        sum += Rule::integrate(g, cuts[i], cuts[i + 1], kOuterDepth, kOuterTolerance);
    return sum;
}
