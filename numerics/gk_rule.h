// One application of a Gauss-Kronrod rule pair to an integrand on [a, b]: the Kronrod estimate
// of the integral with its error estimate. Keeps no state; any thread the integrand allows.
#pragma once

#include "numerics/gk_rules.h"
#include "numerics/machine_constants.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <utility>

// What one rule application yields.
struct GkEstimate {
    double result; // Kronrod estimate of the integral over [a, b] (sign of b - a)
    double aerr;   // estimate of the absolute error of result
    double absint; // estimate of the integral of |f| over [a, b], non-negative
    double devint; // estimate of the integral of |f - mean of f| over [a, b], non-negative
};

// The order in which a rule application visits the symmetric pairs of rule pair K, as a table of
// n entries: the Gauss abscissae from the outside in, then the added Kronrod abscissae.
template <int K> struct GkPairOrder { int of[GkPair<K>::n]; };

// Entry p: the abscissa index (0-based into xk) of the p-th pair visited.
template <int K> constexpr GkPairOrder<K> gk_pair_order() {
    constexpr int n = GkPair<K>::n;
    GkPairOrder<K> p{};
    for (int j = 1; j <= n / 2; ++j)
        p.of[j - 1] = 2 * j - 1;
    for (int j = 1; j <= (n + 1) / 2; ++j)
        p.of[n / 2 + j - 1] = 2 * j - 2;
    return p;
}

// The inverse table: entry j is the visit number of the pair at abscissa index j.
template <int K> constexpr GkPairOrder<K> gk_pair_of() {
    const GkPairOrder<K> index = gk_pair_order<K>();
    GkPairOrder<K> q{};
    for (int p = 0; p < GkPair<K>::n; ++p)
        q.of[index.of[p]] = p;
    return q;
}

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

// M values side by side, one per application of a rule, for the sums of GkSums: each
// operation acts element by element and rounds as the scalar operation does.
template <int M> struct GkLockstepValues {
    double v[M]; // the value of application m in v[m]

    double operator[](int m) const { return v[m]; }
    friend GkLockstepValues operator+(const GkLockstepValues& a, const GkLockstepValues& b) {
        GkLockstepValues r;
        for (int m = 0; m < M; ++m)
            r.v[m] = a.v[m] + b.v[m];
        return r;
    }
    friend GkLockstepValues operator-(const GkLockstepValues& a, const GkLockstepValues& b) {
        GkLockstepValues r;
        for (int m = 0; m < M; ++m)
            r.v[m] = a.v[m] - b.v[m];
        return r;
    }
    friend GkLockstepValues operator*(double w, const GkLockstepValues& a) {
        GkLockstepValues r;
        for (int m = 0; m < M; ++m)
            r.v[m] = w * a.v[m];
        return r;
    }
};

// fabs of each element of a GkLockstepValues.
template <int M> struct GkLockstepAbs {
    GkLockstepValues<M> operator()(const GkLockstepValues<M>& a) const {
        GkLockstepValues<M> r;
        for (int m = 0; m < M; ++m)
            r.v[m] = std::fabs(a.v[m]);
        return r;
    }
};

// The sums of applications of rule pair K side by side, one per element of T: T holds M doubles,
// read as t[m]; +, - and * by a double act element by element, and an Abs functor gives each
// element's fabs. Every sum takes its terms in one fixed order, so that results depend neither on
// the build nor on M: the centre, then the pairs in visiting order (gk_pair_order: the Gauss
// abscissae from the outside in, then the added Kronrod abscissae), and for the deviations the
// abscissae in table order once the Kronrod sum is known.
template <class T> struct GkSums {
    T gauss;   // Gauss sum of the values so far
    T kronrod; // Kronrod sum of the values so far
    T absint;  // Kronrod sum of the values' magnitudes so far
};

// The sums after the centre value fmid.
template <int K, class T, class Abs>
void gk_sums_start(const T& fmid, const Abs& abs, GkSums<T>& s) {
    using R = GkPair<K>;
    constexpr int n = R::n;
    s.gauss = (n % 2 == 1) ? R::wgs[(n + 1) / 2 - 1] * fmid : T{};
    s.kronrod = R::wk[n] * fmid;
    s.absint = abs(s.kronrod);
}

// Adds the p-th pair visited, f1 at mid - off and f2 at mid + off; pairs come in order p = 0, 1,
// ..., n - 1.
template <int K, class T, class Abs>
void gk_sums_add_pair(int p, const T& f1, const T& f2, const Abs& abs, GkSums<T>& s) {
    using R = GkPair<K>;
    constexpr int gauss_pairs = R::n / 2; // visited first: xk(2), xk(4), ... (1-based)
    constexpr GkPairOrder<K> pair_index = gk_pair_order<K>();
    const double w = R::wk[pair_index.of[p]];
    const T fs = f1 + f2;
    if (p < gauss_pairs) s.gauss = s.gauss + R::wgs[p] * fs;
    s.kronrod = s.kronrod + w * fs;
    s.absint = s.absint + w * (abs(f1) + abs(f2));
}

// The Kronrod-weighted sum of the deviations |f - mean| of the values (fmid at the centre, f1[p]
// and f2[p] at the p-th pair visited), the mean being half the complete Kronrod sum, in table
// order: the devint of each element before scaling by the half-length. Built in steps, so that a
// caller can spread them among other work: gk_devint_start, then gk_devint_add for j = 0, 1,
// ..., n - 1.
template <class T> struct GkDevint {
    T skh; // half the complete Kronrod sum
    T sum; // the deviations added so far
};

template <int K, class T, class Abs>
void gk_devint_start(const GkSums<T>& s, const T& fmid, const Abs& abs, GkDevint<T>& d) {
    d.skh = 0.5 * s.kronrod;
    d.sum = GkPair<K>::wk[GkPair<K>::n] * abs(fmid - d.skh);
}

// Adds the deviations at the abscissa of table index j.
template <int K, class T, class Abs>
void gk_devint_add(int j, const T* f1, const T* f2, const Abs& abs, GkDevint<T>& d) {
    constexpr GkPairOrder<K> pair_of = gk_pair_of<K>();
    const int p = pair_of.of[j];
    d.sum = d.sum + GkPair<K>::wk[j] * (abs(f1[p] - d.skh) + abs(f2[p] - d.skh));
}

template <int K, class T, class Abs>
T gk_sums_devint(const GkSums<T>& s, const T& fmid, const T* f1, const T* f2, const Abs& abs) {
    GkDevint<T> d;
    gk_devint_start<K>(s, fmid, abs, d);
#pragma GCC unroll 32
    for (int j = 0; j < GkPair<K>::n; ++j)
        gk_devint_add<K>(j, f1, f2, abs, d);
    return d.sum;
}

// The estimates from the complete sums s, the values (fmid at the centre, f1[p] and f2[p] at the
// p-th pair visited) and the half-lengths hl = (b - a) / 2: the estimate of element m in out[m].
template <int K, int M, class T, class Abs>
void gk_sums_finish(const GkSums<T>& s, const T& fmid, const T* f1, const T* f2, const T& hl,
                    const Abs& abs, double eps, double tiny, GkEstimate* out) {
    const T devint = gk_sums_devint<K>(s, fmid, f1, f2, abs);
    for (int m = 0; m < M; ++m) {
        const double ahl = std::fabs(hl[m]);
        GkEstimate& o = out[m];
        o.result = s.kronrod[m] * hl[m];
        o.absint = s.absint[m] * ahl;
        o.devint = devint[m] * ahl;
        o.aerr = gk_error_estimate(std::fabs((s.kronrod[m] - s.gauss[m]) * hl[m]), o.devint,
                                   o.absint, eps, tiny);
    }
}

// Whether an integrand also offers
//   void centre_and_values(double c, const double* x, double* fc, double* fx, int count)
// which does what single(c) and values(x, fx, count) do, in that order, in one call.
template <class Fn, class = void> struct GkHasCentreAndValues : std::false_type {};
template <class Fn>
struct GkHasCentreAndValues<Fn, std::void_t<decltype(std::declval<Fn&>().centre_and_values(
                                    0.0, nullptr, nullptr, nullptr, 0))>> : std::true_type {};

// Applies rule pair K (1..6) to M integrands at once, f[m] on [a[m], b[m]], with the machine's
// epsilon eps and smallest normalised number tiny, and stores the estimate of f[m] in out[m].
// Each integrand object provides
//   double single(double x)                              the value at the centre,
//   void values(const double* x, double* fx, int count)  the values at count points, in order,
// (or centre_and_values, which does both) and decides what brackets an evaluation. The points come
// as symmetric pairs (mid - off first): the Gauss abscissae from the outside in, then the added
// Kronrod abscissae. The integrands are evaluated one after the other (f[0] first, its centre
// before its other points), all values before any sum, so that a pure integrand can be evaluated
// several points at a time.
//
// The sums are those of gk_sums_start, gk_sums_add_pair and gk_sums_finish: each application owns
// its sums and each sum takes its terms in exactly the order of a single application; only the
// applications' chains are interleaved, term by term. So out[m] has the bits a single application
// to f[m] gives, whatever M is, while the processor can overlap the M independent chains of
// dependent additions that otherwise bound a rule's cost.
template <int K, int M, class Fn>
void gk_rule_lockstep_k(Fn* const* f, const double* a, const double* b, double eps, double tiny,
                        GkEstimate* out) {
    using R = GkPair<K>;
    constexpr int n = R::n;
    constexpr GkPairOrder<K> pair_index = gk_pair_order<K>();

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
        if constexpr (GkHasCentreAndValues<Fn>::value) {
            f[m]->centre_and_values(mid[m], x, &fmid[m], fx[m], 2 * n);
        } else {
            fmid[m] = f[m]->single(mid[m]);
            f[m]->values(x, fx[m], 2 * n);
        }
    }

    GkLockstepValues<M> fm;
    GkLockstepValues<M> half;
    GkLockstepValues<M> f1[n];
    GkLockstepValues<M> f2[n];
    for (int m = 0; m < M; ++m) {
        fm.v[m] = fmid[m];
        half.v[m] = hl[m];
        for (int p = 0; p < n; ++p) {
            f1[p].v[m] = fx[m][2 * p];
            f2[p].v[m] = fx[m][2 * p + 1];
        }
    }
    const GkLockstepAbs<M> abs;
    GkSums<GkLockstepValues<M>> sums;
    gk_sums_start<K>(fm, abs, sums);
    for (int p = 0; p < n; ++p)
        gk_sums_add_pair<K>(p, f1[p], f2[p], abs, sums);
    gk_sums_finish<K, M>(sums, fm, f1, f2, half, abs, eps, tiny, out);
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

// The rule pair chosen at run time, with the machine's epsilon eps and smallest normalised number
// tiny; k must be in 1..6 (callers clamp it).
template <class Fn> GkEstimate gk_rule(int k, Fn& f, double a, double b, double eps, double tiny) {
    switch (k) {
    case 1:
        return gk_rule_k<1>(f, a, b, eps, tiny);
    case 2:
        return gk_rule_k<2>(f, a, b, eps, tiny);
    case 3:
        return gk_rule_k<3>(f, a, b, eps, tiny);
    case 4:
        return gk_rule_k<4>(f, a, b, eps, tiny);
    case 5:
        return gk_rule_k<5>(f, a, b, eps, tiny);
    default:
        return gk_rule_k<6>(f, a, b, eps, tiny);
    }
}

// The same, fetching the machine constants first.
template <class Fn> GkEstimate gk_rule(int k, Fn& f, double a, double b) {
    const double eps = DMACH(4);
    const double tiny = DMACH(1);
    return gk_rule(k, f, a, b, eps, tiny);
}
