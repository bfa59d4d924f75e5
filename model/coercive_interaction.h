// Densities written in the coercive field h = (alpha - beta) / 2 and the interaction field
// u = (alpha + beta) / 2 as a sum of terms c(h) i(u), and their Everett triangles: the inner
// integral over u in closed form, the outer one over h by model/outer_integral.h. Any thread:
// pure code on the caller's values.
//
// The triangle lo <= beta <= alpha <= hi is, in these fields, 0 <= h <= (hi - lo) / 2 with
// lo + h <= u <= hi - h, and d(alpha) d(beta) = 2 dh du. Its mirror lo <= alpha <= beta <= hi
// (where h < 0) is the same with c(-h).
#pragma once

#include <cmath>

#include "model/outer_integral.h"

// The most features one term reports (see OuterFeature).
constexpr int kTermFeaturesMost = 8;

// arctan(b) - arctan(a) without the cancellation of two values near +-pi/2.
inline double atan_difference(double a, double b) {
    if (a * b > 0.0) return std::atan((b - a) / (1.0 + a * b));
    return std::atan(b) - std::atan(a);
}

// erf(b) - erf(a) without the cancellation of two values near +-1.
inline double erf_difference(double a, double b) {
    if (a > 0.0 && b > 0.0) return std::erfc(a) - std::erfc(b);
    if (a < 0.0 && b < 0.0) return std::erfc(-b) - std::erfc(-a);
    return std::erf(b) - std::erf(a);
}

// Lorentzian in both fields: c(h) = 1 / (1 + ((h - centre) / width_c)^2),
// i(u) = 1 / (1 + (u / width_i)^2).
struct LorentzTerm {
    double weight;  // factor of the term
    double centre;  // coercive field of the peak
    double width_c; // half-width in the coercive field, > 0
    double width_i; // half-width in the interaction field, > 0

    double coercive(double h) const {
        const double t = (h - centre) / width_c;
        return 1.0 / (1.0 + t * t);
    }
    // The integral of i(u) over [u0, u1].
    double interaction(double u0, double u1) const {
        return width_i * atan_difference(u0 / width_i, u1 / width_i);
    }
    // Where c(sign h) peaks.
    OuterFeature coercive_feature(double sign) const { return {sign * centre, width_c}; }
    // The integral of c(h) i(u) over the half-plane h >= 0, in alpha and beta (weight apart).
    double mass() const {
        return 2.0 * width_c * (0.5 * M_PI + std::atan(centre / width_c)) * M_PI * width_i;
    }
};

// Log-normal in the coercive field, normal in the interaction field:
// c(h) = exp(-(ln(h / centre))^2 / (2 spread^2)) / h for h > 0 (0 otherwise),
// i(u) = exp(-u^2 / (2 width_i^2)).
struct GaussTerm {
    double weight;  // factor of the term
    double centre;  // median coercive field, > 0
    double spread;  // standard deviation of ln h, > 0
    double width_i; // standard deviation of the interaction field, > 0

    double coercive(double h) const {
        if (!(h > 0.0)) return 0.0;
        const double t = std::log(h / centre) / spread;
        return std::exp(-0.5 * t * t) / h;
    }
    double interaction(double u0, double u1) const {
        const double s = width_i * M_SQRT2;
        return 0.5 * std::sqrt(M_PI) * s * erf_difference(u0 / s, u1 / s);
    }
    // Where c(sign h) varies: about its mode, on the scale centre * spread (at most the mode).
    OuterFeature coercive_feature(double sign) const {
        if (sign < 0) return {0.0, 0.0}; // c(-h) = 0 on the whole range
        const double mode = centre * std::exp(-spread * spread);
        return {mode, std::fmin(mode, centre * spread)};
    }
    double mass() const {
        const double root_two_pi = std::sqrt(2.0 * M_PI);
        return 2.0 * (spread * root_two_pi) * (width_i * root_two_pi);
    }
};

// The outer integrand of a sum of terms over the triangle [lo, hi]: at h,
// sum of weight * c(sign h) * (integral of i over [lo + h, hi - h]).
template <class T, int N> struct TermsIntegrand {
    const T* terms; // N terms
    double lo, hi;  // the triangle's fields
    double sign;    // +1: the triangle beta <= alpha; -1 its mirror
    double operator()(double h) const {
        double sum = 0.0;
        for (int k = 0; k < N; ++k)
            sum += terms[k].weight * terms[k].coercive(sign * h) *
                   terms[k].interaction(lo + h, hi - h);
        return sum;
    }
};

// The integral of the density sum(terms) over the triangle between a and b:
// a < b the triangle a <= beta <= alpha <= b, a > b the mirror b <= alpha <= beta <= a (what
// either integral form gives with reversed outer limits), without any normalisation factor.
template <class T, int N> double terms_triangle(const T (&terms)[N], double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) return NAN;
    if (a == b) return 0.0;
    const double sign = a < b ? 1.0 : -1.0;
    const double lo = std::fmin(a, b);
    const double hi = std::fmax(a, b);
    // The inner range's ends cross the interaction peak at h = -lo and h = hi.
    OuterFeature features[kTermFeaturesMost];
    int count = 0;
    double mass = 0.0;
    for (int k = 0; k < N; ++k)
        mass += std::fabs(terms[k].weight) * terms[k].mass();
    for (int k = 0; k < N && count + 3 <= kTermFeaturesMost; ++k) {
        features[count++] = terms[k].coercive_feature(sign);
        features[count++] = {-lo, terms[k].width_i};
        features[count++] = {hi, terms[k].width_i};
    }
    const TermsIntegrand<T, N> g{terms, lo, hi, sign};
    return 2.0 *
           outer_integral(g, 0.0, 0.5 * (hi - lo), features, count, 0.5 * kOuterTolerance * mass);
}
