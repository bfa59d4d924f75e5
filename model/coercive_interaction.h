// Densities written in the coercive field h = (alpha - beta) / 2 and the interaction field
// u = (alpha + beta) / 2 as a sum of terms c(h) i(u), and their Everett triangles: the inner
// integral over u in closed form, the outer one over h by model/graded_rule.h. Any thread:
// pure code on the caller's values (each thread keeps the moments of its last few gauss series
// heads, which every result equals bit for bit).
//
// The triangle lo <= beta <= alpha <= hi is, in these fields, 0 <= h <= (hi - lo) / 2 with
// lo + h <= u <= hi - h, and d(alpha) d(beta) = 2 dh du. Its mirror lo <= alpha <= beta <= hi
// (where h < 0) is the same with c(-h).
#pragma once

#include <cassert>
#include <cmath>

#include "model/graded_rule.h"
#include "model/outer_kernels.h"

// The most features one term reports (see OuterFeature).
constexpr int kTermFeaturesMost = 3;

// Lorentzian in both fields: c(h) = 1 / (1 + ((h - centre) / width_c)^2),
// i(u) = 1 / (1 + (u / width_i)^2).
struct LorentzTerm {
    static constexpr int kRulePoints = kGradedPolePoints; // poles and arctangents
    double weight;                                        // factor of the term
    double centre;                                        // coercive field of the peak
    double width_c;                                       // half-width in the coercive field, > 0
    double width_i; // half-width in the interaction field, > 0

    double coercive(double h) const {
        const double t = (h - centre) / width_c;
        return 1.0 / (1.0 + t * t);
    }
    // Where the outer integrand of the triangle [lo, hi] turns: the poles of c(sign h), and where
    // the inner range's ends cross the interaction peak (h = -lo, h = hi). Returns the count.
    int features(double sign, double lo, double hi, OuterFeature* f) const {
        f[0] = {FeatureKind::pole, sign * centre, width_c, 0.0, 0.0};
        f[1] = {FeatureKind::pole, -lo, width_i, 0.0, 0.0};
        f[2] = {FeatureKind::pole, hi, width_i, 0.0, 0.0};
        return 3;
    }
    // The part of the outer integral over [0, x0] known in closed form: none, x0 = 0.
    double head(double, double, double, double& x0) const {
        x0 = 0.0;
        return 0.0;
    }
    // Where the outer integrand of the triangle [lo, hi] has faded: a Lorentzian's tails reach
    // every field.
    double end(double, double, double) const { return HUGE_VAL; }
    // The integral of c(h) i(u) over the half-plane h >= 0, in alpha and beta (weight apart).
    double mass() const {
        return 2.0 * width_c * (0.5 * M_PI + std::atan(centre / width_c)) * M_PI * width_i;
    }
};

// Log-normal in the coercive field, normal in the interaction field:
// c(h) = exp(-(ln(h / centre))^2 / (2 spread^2)) / h for h > 0 (0 otherwise),
// i(u) = exp(-u^2 / (2 width_i^2)).
struct GaussTerm {
    static constexpr int kRulePoints = kGradedGaussPoints; // Gaussians and error functions
    static constexpr double kLogStep = 3.0; // longest piece of c, in standard deviations of ln h
    static constexpr double kErfStep = 3.0; // longest piece of the error functions, in scales
    // The log-normal's range, in standard deviations of ln h either side of the median: it holds
    // all but 3.2e-14 of the mass on either side, thirty times below the 1e-12 the triangles
    // answer for (8.5, all but 1e-17, took 5 % more nodes on a broad mixture's triangles).
    static constexpr double kLogNormalReach = 7.5;
    // How far from h = 0, in scales S = sqrt(2) width_i, the inner integral is taken as its
    // Taylor series (see head).
    static constexpr double kSeriesReach = 1.5;
    // The log-normal's ratios, kLogStep and kLogNormalReach standard deviations of ln h, are
    // whole powers of e^(kRatioUnit spread), which the term keeps: one exponential per term
    // rather than one per use.
    static constexpr double kRatioUnit = 1.5;
    static_assert(kLogStep == 2 * kRatioUnit && kLogNormalReach == 5 * kRatioUnit,
                  "ratios are whole powers of the unit");
    double weight;  // factor of the term
    double centre;  // median coercive field, > 0
    double spread;  // standard deviation of ln h, > 0
    double width_i; // standard deviation of the interaction field, > 0
    double unit;    // e^(kRatioUnit spread), as gauss_term sets it

    // e^(kLogNormalReach spread): the log-normal's range is [centre / reach, centre reach].
    double reach() const {
        assert(unit > 1.0); // set by gauss_term; spread > 0
        const double u2 = unit * unit;
        return u2 * u2 * unit;
    }

    double coercive(double h) const {
        if (!(h > 0.0)) return 0.0;
        const double t = std::log(h / centre) / spread;
        return std::exp(-0.5 * t * t) / h;
    }
    // Where the outer integrand of the triangle [lo, hi] turns: c over the range of h where it
    // holds all but 3.2e-14 of its mass on either side (kLogNormalReach standard deviations of
    // ln h either side of the median), in pieces whose ends differ by a factor e^(kLogStep spread);
    // and where the inner range's ends cross the interaction peak, in pieces of the error
    // function's scale within 6.5 scales (erfc(6.5) = 4e-20). The mirror has c(-h) = 0: no feature.
    int features(double sign, double lo, double hi, OuterFeature* f) const {
        if (sign < 0) return 0;
        const double spread_factor = reach();
        const double S = M_SQRT2 * width_i;
        f[0] = {FeatureKind::log_normal, centre, unit * unit, centre / spread_factor,
                centre * spread_factor};
        f[1] = {FeatureKind::gaussian, -lo, kErfStep * S, -lo - 6.5 * S, -lo + 6.5 * S};
        f[2] = {FeatureKind::gaussian, hi, kErfStep * S, hi - 6.5 * S, hi + 6.5 * S};
        return 3;
    }
    // The part of the outer integral over [0, x0] known in closed form. Where both ends of the
    // inner range lie kErfSaturated scales or more beyond the interaction peak, the inner integral
    // is constant to 4e-20 (0 with both on one side, the whole Gaussian with one on either side),
    // and c integrates to the log-normal distribution function, up to the largest field (at most
    // (hi - lo) / 2) where that holds. Otherwise, up to kSeriesReach scales S = sqrt(2) width_i,
    // the inner integral is its Taylor series about h = 0 (see gauss_series_head), whose every
    // power of h c integrates to a log-normal distribution function too. x0 is then moved on to
    // where the log-normal's range starts if that lies further: below it the integrand has no
    // weight. Defined in coercive_interaction.cpp.
    double head(double sign, double lo, double hi, double& x0) const;
    // Where the outer integrand of the triangle [lo, hi] has faded: beyond the log-normal's
    // range, and where an end of the inner range has passed kErfSaturated scales beyond the
    // interaction peak (h >= hi + 6.5 S: the range lies below it; h >= -lo + 6.5 S: above it).
    double end(double sign, double lo, double hi) const {
        if (sign < 0) return 0.0;
        const double S = M_SQRT2 * width_i;
        return std::fmin(centre * reach(), std::fmin(hi, -lo) + kErfSaturated * S);
    }
    double mass() const {
        const double root_two_pi = std::sqrt(2.0 * M_PI);
        return 2.0 * (spread * root_two_pi) * (width_i * root_two_pi);
    }
};

// The integral over 0 <= h <= x1 of the gauss term's outer integrand for the triangle [lo, hi]
// (x1 <= (hi - lo) / 2 and x1 <= GaussTerm::kSeriesReach S, S = sqrt(2) width_i): the inner
// integral (sqrt(pi) / 2) S (erf((hi - h) / S) - erf((lo + h) / S)) as its Taylor series in h / S,
// whose coefficients are Hermite polynomials times Gaussians at hi / S and lo / S, summed while a
// power's bound, beside the erf difference's own at most 2, reaches 1e-16 (5e-17 once the power's
// integral is known); and each power h^k integrated against c exactly, as a log-normal
// distribution function at ln x1 - k spread^2. Those integrals depend on the term and x1 alone:
// the calling thread keeps them for its last four.
double gauss_series_head(const GaussTerm& t, double lo, double hi, double x1);

// The outer integrand of one term over the triangle [lo, hi] at the nodes h of a rule:
// out[i] = weight * c(sign h) * (integral of i over [lo + h, hi - h]), for 0 <= h <= (hi - lo)
// / 2, times h in the rule's log runs. scratch: 4 rule.count doubles of the caller's.
void term_values(const LorentzTerm& t, double lo, double hi, double sign, const GradedRule& rule,
                 double* out, double* scratch);
void term_values(const GaussTerm& t, double lo, double hi, double sign, const GradedRule& rule,
                 double* out, double* scratch);

// The integral of one term over the triangle [lo, hi] (sign +1) or its mirror (sign -1), on a
// mesh graded toward the term's own features.
template <class T> double term_triangle(const T& term, double lo, double hi, double sign) {
    OuterFeature features[kTermFeaturesMost];
    const int count = term.features(sign, lo, hi, features);
    double x0 = 0.0;
    const double head = term.head(sign, lo, hi, x0);
    GradedRule rule;
    graded_rule(x0, std::fmin(0.5 * (hi - lo), term.end(sign, lo, hi)), features, count,
                T::kRulePoints, rule);
    double f[kGradedNodesMost];
    double scratch[4 * kGradedNodesMost];
    term_values(term, lo, hi, sign, rule, f, scratch);
    return 2.0 * (head + graded_sum(rule, f));
}

// The integral of the density sum(terms) over the triangle between a and b:
// a < b the triangle a <= beta <= alpha <= b, a > b the mirror b <= alpha <= beta <= a (what
// either integral form gives with reversed outer limits), without any normalisation factor. Each
// term on its own mesh: a mesh for all would spend every term's evaluations on every term's cuts.
template <class T, int N> double terms_triangle(const T (&terms)[N], double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) return NAN;
    if (a == b) return 0.0;
    const double sign = a < b ? 1.0 : -1.0;
    const double lo = std::fmin(a, b);
    const double hi = std::fmax(a, b);
    double sum = 0.0;
    for (int k = 0; k < N; ++k)
        sum += term_triangle(terms[k], lo, hi, sign);
    return sum;
}
