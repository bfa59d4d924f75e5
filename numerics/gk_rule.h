// One application of a Gauss-Kronrod rule pair to an integrand on [a, b]: the Kronrod estimate
// of the integral with its error estimate. Keeps no state; any thread the integrand allows.
#pragma once

#include "numerics/gk_rules.h"
#include "numerics/machine_constants.h"

#include <algorithm>
#include <cmath>

// What one rule application yields.
struct GkEstimate {
    double result; // Kronrod estimate of the integral over [a, b] (sign of b - a)
    double aerr;   // estimate of the absolute error of result
    double absint; // estimate of the integral of |f| over [a, b], non-negative
    double devint; // estimate of the integral of |f - mean of f| over [a, b], non-negative
};

// The error estimate of a rule application from the Gauss-Kronrod difference diff, devint and
// absint:  e = devint * min(1, (200 diff / devint)^1.5) when devint and diff are non-zero (a
// difference well below the integrand's spread is trusted more than linearly), else diff; then
// max(50 eps absint, e) when absint > tiny / (50 eps), since no estimate can beat the rounding of
// the sum. The power is skipped where its value cannot matter, giving the same bits: when
// 200 diff / devint >= 1 the minimum is 1, and when even a generous bound of the scaled
// difference stays below the rounding floor the floor is the answer (the factor 1 + 2^-40 and the
// added tiny cover any rounding of the power and of the bound itself).
inline double gk_error_estimate(double diff, double devint, double absint, double eps,
                                double tiny) {
    const bool has_floor = absint > tiny / (50.0 * eps);
    const double floor = 50.0 * eps * absint;
    double aerr = diff;
    if (devint != 0.0 && aerr != 0.0) {
        const double q = 200.0 * aerr / devint;
        if (q >= 1.0) {
            aerr = devint;
        } else if (has_floor && q >= 0.0 &&
                   devint * q * std::sqrt(q) * (1.0 + 0x1p-40) + tiny <= floor) {
            return floor;
        } else {
            aerr = devint * std::min(1.0, std::pow(q, 1.5));
        }
    }
    if (has_floor) aerr = std::max(floor, aerr);
    return aerr;
}

// Applies rule pair K (1..6) to f on [a, b] with the machine's epsilon eps and smallest normalised
// number tiny. The integrand object provides
//   double single(double x)                              the value at the centre,
//   void values(const double* x, double* fx, int count)  the values at count points, in order,
// and decides what brackets an evaluation. The points come as symmetric pairs (mid - off first):
// the Gauss abscissae from the outside in, then the added Kronrod abscissae. All values are taken
// before any sum, so that a pure integrand can be evaluated several points at a time; every sum
// then runs in the fixed order below (results must not depend on the build).
template <int K, class Fn>
GkEstimate gk_rule_k(Fn& f, double a, double b, double eps, double tiny) {
    using R = GkPair<K>;
    constexpr int n = R::n;
    constexpr int gauss_pairs = n / 2;         // Gauss abscissae xk(2), xk(4), ... (1-based)
    constexpr int kronrod_pairs = (n + 1) / 2; // added abscissae xk(1), xk(3), ...

    const double mid = 0.5 * (a + b);
    const double hl = 0.5 * (b - a);
    const double ahl = std::fabs(hl);

    // Abscissa index (0-based into xk) of each pair, in evaluation order.
    static constexpr auto pair_index = [] {
        struct Indices {
            int of[n];
        } p{};
        for (int j = 1; j <= gauss_pairs; ++j)
            p.of[j - 1] = 2 * j - 1;
        for (int j = 1; j <= kronrod_pairs; ++j)
            p.of[gauss_pairs + j - 1] = 2 * j - 2;
        return p;
    }();

    // Points and values: pair p at 2p (mid - off) and 2p + 1 (mid + off).
    double x[2 * n];
    double fx[2 * n];
    for (int p = 0; p < n; ++p) {
        const double off = hl * R::xk[pair_index.of[p]];
        x[2 * p] = mid - off;
        x[2 * p + 1] = mid + off;
    }
    const double fmid = f.single(mid);
    f.values(x, fx, 2 * n);

    // Gauss abscissae, then the added Kronrod abscissae.
    double sg = (n % 2 == 1) ? R::wgs[(n + 1) / 2 - 1] * fmid : 0.0;
    double sk = R::wk[n] * fmid;
    double absint = std::fabs(sk);
    for (int j = 1; j <= gauss_pairs; ++j) {
        const int p = j - 1;
        const int je = pair_index.of[p];
        const double f1 = fx[2 * p];
        const double f2 = fx[2 * p + 1];
        const double fs = f1 + f2;
        sg += R::wgs[j - 1] * fs;
        sk += R::wk[je] * fs;
        absint += R::wk[je] * (std::fabs(f1) + std::fabs(f2));
    }
    for (int j = 1; j <= kronrod_pairs; ++j) {
        const int p = gauss_pairs + j - 1;
        const int jo = pair_index.of[p];
        const double f1 = fx[2 * p];
        const double f2 = fx[2 * p + 1];
        const double fs = f1 + f2;
        sk += R::wk[jo] * fs;
        absint += R::wk[jo] * (std::fabs(f1) + std::fabs(f2));
    }

    // Deviation from the mean, summed over the abscissae in table order xk(1), xk(2), ...
    static constexpr auto pair_of = [] {
        struct Pairs {
            int of[n];
        } q{};
        for (int p = 0; p < n; ++p)
            q.of[pair_index.of[p]] = p;
        return q;
    }();
    const double skh = 0.5 * sk;
    double devint = R::wk[n] * std::fabs(fmid - skh);
    for (int j = 0; j < n; ++j) {
        const int p = pair_of.of[j];
        devint += R::wk[j] * (std::fabs(fx[2 * p] - skh) + std::fabs(fx[2 * p + 1] - skh));
    }

    GkEstimate out;
    out.result = sk * hl;
    out.absint = absint * ahl;
    out.devint = devint * ahl;
    out.aerr = gk_error_estimate(std::fabs((sk - sg) * hl), out.devint, out.absint, eps, tiny);
    return out;
}

// The same, fetching the machine constants first.
template <int K, class Fn> GkEstimate gk_rule_k(Fn& f, double a, double b) {
    const double eps = DMACH(4);
    const double tiny = DMACH(1);
    return gk_rule_k<K>(f, a, b, eps, tiny);
}

// The rule pair chosen at run time; k must be in 1..6 (callers clamp it).
template <class Fn> GkEstimate gk_rule(int k, Fn& f, double a, double b) {
    switch (k) {
    case 1:
        return gk_rule_k<1>(f, a, b);
    case 2:
        return gk_rule_k<2>(f, a, b);
    case 3:
        return gk_rule_k<3>(f, a, b);
    case 4:
        return gk_rule_k<4>(f, a, b);
    case 5:
        return gk_rule_k<5>(f, a, b);
    default:
        return gk_rule_k<6>(f, a, b);
    }
}
