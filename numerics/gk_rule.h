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

// Applies rule pair K (1..6) to M integrands at once, f[m] on [a[m], b[m]], with the machine's
// epsilon eps and smallest normalised number tiny, and stores the estimate of f[m] in out[m].
// Each integrand object provides
//   double single(double x)                              the value at the centre,
//   void values(const double* x, double* fx, int count)  the values at count points, in order,
// and decides what brackets an evaluation. The points come as symmetric pairs (mid - off first):
// the Gauss abscissae from the outside in, then the added Kronrod abscissae. The integrands are
// evaluated one after the other (f[0] first, its centre before its other points), all values
// before any sum, so that a pure integrand can be evaluated several points at a time.
//
// Every sum then runs in the fixed order below (results must not depend on the build). Each
// application owns its sums (indexed by m) and each sum takes its terms in exactly the order of a
// single application; only the applications' chains are interleaved, term by term. So out[m] has
// the bits a single application to f[m] gives, whatever M is, while the processor can overlap the
// M independent chains of dependent additions that otherwise bound a rule's cost.
template <int K, int M, class Fn>
void gk_rule_lockstep_k(Fn* const* f, const double* a, const double* b, double eps, double tiny,
                        GkEstimate* out) {
    using R = GkPair<K>;
    constexpr int n = R::n;
    constexpr int gauss_pairs = n / 2;         // Gauss abscissae xk(2), xk(4), ... (1-based)
    constexpr int kronrod_pairs = (n + 1) / 2; // added abscissae xk(1), xk(3), ...

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

    // Points and values of application m: pair p at 2p (mid - off) and 2p + 1 (mid + off).
    double mid[M];
    double hl[M];
    double fmid[M];
    double fx[M][2 * n];
    for (int m = 0; m < M; ++m) {
        mid[m] = 0.5 * (a[m] + b[m]);
        hl[m] = 0.5 * (b[m] - a[m]);
        double x[2 * n];
        for (int p = 0; p < n; ++p) {
            const double off = hl[m] * R::xk[pair_index.of[p]];
            x[2 * p] = mid[m] - off;
            x[2 * p + 1] = mid[m] + off;
        }
        fmid[m] = f[m]->single(mid[m]);
        f[m]->values(x, fx[m], 2 * n);
    }

    // Gauss abscissae, then the added Kronrod abscissae.
    double sg[M];
    double sk[M];
    double absint[M];
    for (int m = 0; m < M; ++m) {
        sg[m] = (n % 2 == 1) ? R::wgs[(n + 1) / 2 - 1] * fmid[m] : 0.0;
        sk[m] = R::wk[n] * fmid[m];
        absint[m] = std::fabs(sk[m]);
    }
    for (int j = 1; j <= gauss_pairs; ++j) {
        const int p = j - 1;
        const int je = pair_index.of[p];
        for (int m = 0; m < M; ++m) {
            const double f1 = fx[m][2 * p];
            const double f2 = fx[m][2 * p + 1];
            const double fs = f1 + f2;
            sg[m] += R::wgs[j - 1] * fs;
            sk[m] += R::wk[je] * fs;
            absint[m] += R::wk[je] * (std::fabs(f1) + std::fabs(f2));
        }
    }
    for (int j = 1; j <= kronrod_pairs; ++j) {
        const int p = gauss_pairs + j - 1;
        const int jo = pair_index.of[p];
        for (int m = 0; m < M; ++m) {
            const double f1 = fx[m][2 * p];
            const double f2 = fx[m][2 * p + 1];
            const double fs = f1 + f2;
            sk[m] += R::wk[jo] * fs;
            absint[m] += R::wk[jo] * (std::fabs(f1) + std::fabs(f2));
        }
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
    double skh[M];
    double devint[M];
    for (int m = 0; m < M; ++m) {
        skh[m] = 0.5 * sk[m];
        devint[m] = R::wk[n] * std::fabs(fmid[m] - skh[m]);
    }
    for (int j = 0; j < n; ++j) {
        const int p = pair_of.of[j];
        for (int m = 0; m < M; ++m)
            devint[m] += R::wk[j] *
                         (std::fabs(fx[m][2 * p] - skh[m]) + std::fabs(fx[m][2 * p + 1] - skh[m]));
    }

    for (int m = 0; m < M; ++m) {
        const double ahl = std::fabs(hl[m]);
        GkEstimate& o = out[m];
        o.result = sk[m] * hl[m];
        o.absint = absint[m] * ahl;
        o.devint = devint[m] * ahl;
        o.aerr =
            gk_error_estimate(std::fabs((sk[m] - sg[m]) * hl[m]), o.devint, o.absint, eps, tiny);
    }
}

// Applies rule pair K (1..6) to f on [a, b] with the machine's epsilon eps and smallest normalised
// number tiny; f as for gk_rule_lockstep_k.
template <int K, class Fn>
GkEstimate gk_rule_k(Fn& f, double a, double b, double eps, double tiny) {
    Fn* const fs[1] = {&f};
    GkEstimate out;
    gk_rule_lockstep_k<K, 1>(fs, &a, &b, eps, tiny, &out);
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
