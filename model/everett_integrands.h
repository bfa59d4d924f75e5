// The Everett integrals' integrands and inner limits as small function objects, so that the
// quadrature template inlines them: the model's own and the benchmarks' are the same code, hence
// the same bits. Any thread: they hold only their parameters.
#pragma once

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
};

// Descending form F2(x, y) = P(alpha = y, beta = x).
struct Descending {
    Density p;
    double operator()(const double& x, const double& y) const { return p(y, x); }
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
