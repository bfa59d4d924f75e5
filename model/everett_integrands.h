// The Everett integrals' integrands and inner limits as small function objects, so that the
// quadrature template inlines them: the model's own and the benchmarks' are the same code, hence
// the same bits. Any thread: they hold only their parameters.
#pragma once

#include "numerics/gk_rule_lanes.h"

// The density with its two parameters bound, so that the quadrature inlines it.
struct Density {
    double Hc;
    double Kmax;
    double operator()(double alpha, double beta) const {
        const double ta = alpha / Hc - 0.5;
        const double tb = beta / Hc + 0.5;
        return Kmax / ((1.0 + ta * ta) * (1.0 + tb * tb));
    }
};

// Ascending form F1(x, y) = P(alpha = x, beta = y).
struct Ascending {
    Density p;
    double operator()(const double& x, const double& y) const { return p(x, y); }
    // The same function for the quadrature's lane rule: alpha is the outer variable.
    LorentzProduct lorentz_product() const { return {p.Hc, p.Kmax, -0.5, 0.5}; }
};

// Descending form F2(x, y) = P(alpha = y, beta = x).
struct Descending {
    Density p;
    double operator()(const double& x, const double& y) const { return p(y, x); }
    // The same function for the quadrature's lane rule: beta is the outer variable.
    LorentzProduct lorentz_product() const { return {p.Hc, p.Kmax, 0.5, -0.5}; }
};

// Inner limit fixed at one end of the triangle.
struct Fixed {
    double value;
    double operator()(const double&) const { return value; }
};

// Inner limit following the outer variable.
struct Identity {
    double operator()(const double& x) const { return x; }
};
