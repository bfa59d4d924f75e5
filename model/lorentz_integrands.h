// The Lorentzian density's Everett integrands and inner limits as small function objects, so
// that the quadrature template inlines them: the model's own and the benchmarks' are the same
// code, hence the same bits. Any thread: they hold only their parameters.
#pragma once

#include "model/lorentz_lanes.h"

// P(alpha, beta) = Kmax / ((1 + (alpha/Hc - 0.5)^2) (1 + (beta/Hc + 0.5)^2)) with its two
// parameters bound.
struct LorentzDensity {
    double Hc;   // half-width of the peaks
    double Kmax; // normalisation factor
    double operator()(double alpha, double beta) const {
        const double ta = alpha / Hc - 0.5;
        const double tb = beta / Hc + 0.5;
        return Kmax / ((1.0 + ta * ta) * (1.0 + tb * tb));
    }
};

// Ascending form F1(x, y) = P(alpha = x, beta = y).
struct Ascending {
    LorentzDensity p;
    double operator()(const double& x, const double& y) const { return p(x, y); }
    // The quadrature's inner-rule hook: the same function in vector lanes, alpha the outer
    // variable.
    LorentzInnerRules inner_rules(double eps, double tiny) const {
        return {lorentz_lanes_prepare({p.Hc, p.Kmax, -0.5, 0.5}, eps, tiny)};
    }
};

// Descending form F2(x, y) = P(alpha = y, beta = x).
struct Descending {
    LorentzDensity p;
    double operator()(const double& x, const double& y) const { return p(y, x); }
    // The hook with beta the outer variable.
    LorentzInnerRules inner_rules(double eps, double tiny) const {
        return {lorentz_lanes_prepare({p.Hc, p.Kmax, 0.5, -0.5}, eps, tiny)};
    }
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
