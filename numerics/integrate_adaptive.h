// Globally adaptive one-dimensional integration: bisects the subinterval with the largest error
// estimate, applying a Gauss-Kronrod pair to each half, until the summed error meets the
// tolerance or a limit, roundoff or precision condition stops it. No extrapolation: the answer is
// the plain sum of the subinterval integrals. Keeps no state; any thread the integrand allows.
#pragma once

#include "numerics/gk_rule.h"
#include "numerics/reorder_errors.h"

#include <algorithm>
#include <climits>
#include <cmath>

// The caller's lists, `limit` entries each; entry i-1 describes subinterval i.
struct AdaptiveLists {
    double* lo;  // left ends of the subintervals
    double* hi;  // right ends of the subintervals
    double* val; // integral estimate over each subinterval
    double* est; // error estimate of each subinterval
    int* order;  // subinterval numbers (1-based) by decreasing estimate, partially kept
};

// Termination codes of an adaptive integration.
enum AdaptiveCode {
    ADAPTIVE_OK = 0,        // accuracy reached
    ADAPTIVE_LIMIT = 1,     // the limit of subintervals was reached
    ADAPTIVE_ROUNDOFF = 2,  // roundoff prevents the requested accuracy
    ADAPTIVE_PRECISION = 3, // the subinterval to bisect became too small for its position
    ADAPTIVE_INVALID = 6    // both tolerances negative (or no room in the lists)
};

// What one adaptive integration yields.
struct AdaptiveResult {
    double result; // sum of the subinterval integrals (0 on ADAPTIVE_INVALID)
    double aerr;   // sum of the subinterval error estimates
    int count;     // evaluation count (see integrate_adaptive_k), at most INT_MAX
    int code;      // an AdaptiveCode
    int last;      // number of subintervals in use
};

// Whether integrate_adaptive_k with these arguments applies any rule at all: not when the lists
// have no entry or both tolerances are negative (ADAPTIVE_INVALID).
inline bool adaptive_applies_rules(double epsabs, double epsrel, int limit) {
    return limit >= 1 && !(epsabs < 0.0 && epsrel < 0.0);
}

// The adaptive integration of integrate_adaptive_k after its first rule application over the
// whole of [a, b], made elsewhere: first is that estimate and first_count the rule_count() of f
// right after it. Requires adaptive_applies_rules(epsabs, epsrel, limit). Gives exactly what
// integrate_adaptive_k gives when f's values do not depend on what was evaluated before.
template <int K, class Fn>
AdaptiveResult integrate_adaptive_after_first_k(Fn& f, double a, double b, double epsabs,
                                                double epsrel, int limit, const AdaptiveLists& w,
                                                const GkEstimate& first, int first_count) {
    const double eps = DMACH(4);
    const double tiny = DMACH(1);
    (void)DMACH(2);
    constexpr int kf = K;

    AdaptiveResult r{0.0, 0.0, 0, ADAPTIVE_OK, 0};
    w.lo[0] = a;
    w.hi[0] = b;
    // Kept in a wider type and capped at INT_MAX: the outer count adds whole inner counts.
    const long long count_cap = INT_MAX;
    long long count = first_count;
    double result = first.result;
    double aerr = first.aerr;
    int code = ADAPTIVE_OK;
    int last = 1;
    w.val[0] = result;
    w.est[0] = aerr;
    w.order[0] = 1;

    double bound = std::max(epsabs, epsrel * std::fabs(result));
    if (aerr <= 50.0 * eps * first.absint && aerr > bound) code = ADAPTIVE_ROUNDOFF;
    if (limit == 1) code = ADAPTIVE_LIMIT;

    if (!(code != ADAPTIVE_OK || (aerr <= bound && aerr != first.devint) || aerr == 0.0)) {
        double topest = aerr;
        int top = 1;
        double total = result;
        double esttot = aerr;
        int head = 1;
        int nround1 = 0;
        int nround2 = 0;
        double* const lo = w.lo;
        double* const hi = w.hi;
        double* const val = w.val;
        double* const est = w.est;
        for (last = 2; last <= limit; ++last) {
            const int t = top - 1; // 0-based position of the interval to bisect
            const int l = last - 1;
            const double a1 = lo[t];
            const double b1 = 0.5 * (lo[t] + hi[t]);
            const double a2 = b1;
            const double b2 = hi[t];
            const GkEstimate h1 = gk_rule_k<K>(f, a1, b1, eps, tiny);
            const GkEstimate h2 = gk_rule_k<K>(f, a2, b2, eps, tiny);
            count = std::min(count + f.rule_count() + 1, count_cap);

            const double val12 = h1.result + h2.result;
            const double est12 = h1.aerr + h2.aerr;
            esttot = esttot + est12 - topest;
            total = total + val12 - val[t];
            if (h1.devint != h1.aerr && h2.devint != h2.aerr) {
                if (std::fabs(val[t] - val12) <= 0.00001 * std::fabs(val12) &&
                    est12 >= 0.99 * topest)
                    nround1 += 1;
                if (last > 10 && est12 > topest) nround2 += 1;
            }
            val[t] = h1.result;
            val[l] = h2.result;
            bound = std::max(epsabs, epsrel * std::fabs(total));

            if (esttot > bound) {
                // A later condition overrides an earlier one.
                if (nround1 >= 6 || nround2 >= 20) code = ADAPTIVE_ROUNDOFF;
                if (last == limit) code = ADAPTIVE_LIMIT;
                if (std::max(std::fabs(a1), std::fabs(b2)) <=
                    (1.0 + 1000.0 * kf * eps) * (std::fabs(a2) + 10000.0 * tiny))
                    code = ADAPTIVE_PRECISION;
            }

            // The half with the larger error keeps position top.
            if (h2.aerr > h1.aerr) {
                lo[t] = a2;
                lo[l] = a1;
                hi[l] = b1;
                val[t] = h2.result;
                val[l] = h1.result;
                est[t] = h2.aerr;
                est[l] = h1.aerr;
            } else {
                lo[l] = a2;
                hi[t] = b1;
                hi[l] = b2;
                est[t] = h1.aerr;
                est[l] = h2.aerr;
            }
            reorder_errors(limit, last, top, topest, est, w.order, head);
            if (code != ADAPTIVE_OK || esttot <= bound) break;
        }
        if (last > limit) last = limit;
        result = 0.0;
        for (int i = 0; i < last; ++i)
            result += val[i];
        aerr = esttot;
    }

    r.result = result;
    r.aerr = aerr;
    const long long evaluations = (kf != 1) ? (10 * kf + 1) * (2 * count + 1) : 30 * count + 15;
    r.count = static_cast<int>(std::min(evaluations, count_cap));
    r.code = code;
    r.last = last;
    return r;
}

// Adaptive integration of f over [a, b] with rule pair K (1..6), accuracy
// max(epsabs, epsrel*|result|) and at most `limit` subintervals. Besides single() and values() of
// gk_rule_k the integrand provides
//   int rule_count()  evaluations to add to the count after each rule application: 0 for a
//                     plain integrand; for an integrand that is itself an integral, the count of
//                     the last integration it made.
// With c the number of bisections plus all rule_count() additions, the count is (10K+1)(2c+1), or
// 30c+15 for K = 1: for a plain integrand the number of evaluations. A count beyond the largest
// 32-bit integer (an outer integration over many inner ones with a caller's large limit) is
// reported as INT_MAX instead of wrapping around.
template <int K, class Fn>
AdaptiveResult integrate_adaptive_k(Fn& f, double a, double b, double epsabs, double epsrel,
                                    int limit, const AdaptiveLists& w) {
    AdaptiveResult r{0.0, 0.0, 0, ADAPTIVE_INVALID, 0};
    // No list entry exists to write: nothing can be integrated.
    if (limit < 1) return r;
    w.lo[0] = a;
    w.hi[0] = b;
    w.val[0] = 0.0;
    w.est[0] = 0.0;
    w.order[0] = 0;
    if (!adaptive_applies_rules(epsabs, epsrel, limit)) return r;
    const GkEstimate first = gk_rule_k<K>(f, a, b, DMACH(4), DMACH(1));
    return integrate_adaptive_after_first_k<K>(f, a, b, epsabs, epsrel, limit, w, first,
                                               f.rule_count());
}

// The same with the rule pair chosen at run time: key below 1 counts as 1, above 6 as 6.
template <class Fn>
AdaptiveResult integrate_adaptive(Fn& f, double a, double b, double epsabs, double epsrel, int key,
                                  int limit, const AdaptiveLists& w) {
    switch (key <= 1 ? 1 : key >= 6 ? 6 : key) {
    case 1:
        return integrate_adaptive_k<1>(f, a, b, epsabs, epsrel, limit, w);
    case 2:
        return integrate_adaptive_k<2>(f, a, b, epsabs, epsrel, limit, w);
    case 3:
        return integrate_adaptive_k<3>(f, a, b, epsabs, epsrel, limit, w);
    case 4:
        return integrate_adaptive_k<4>(f, a, b, epsabs, epsrel, limit, w);
    case 5:
        return integrate_adaptive_k<5>(f, a, b, epsabs, epsrel, limit, w);
    default:
        return integrate_adaptive_k<6>(f, a, b, epsabs, epsrel, limit, w);
    }
}
