// The two-dimensional quadrature as templates over the integrand and limit functions, so that
// they inline into the Gauss-Kronrod loops; DTWODQ and DT2ODQ are instances of these and give
// bit-identical results. Interface thread only (shared working values, not reentrant).
#pragma once

#include "numerics/dtwodq_messages.h"
#include "numerics/error_facility.h"
#include "numerics/gk_rule.h"
#include "numerics/integrate_adaptive.h"
#include "numerics/quadrature_shared.h"
#include "numerics/quadrature_workspace.h"
#include "numerics/vector_state.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace dtwodq_detail {

// y -> F(x, y) with x fixed at an outer node. Every call of F runs with the user flag of the
// current level on, so that errors raised inside F count as coming from user code. The flag is
// set once around each batch of a rule application rather than around every symmetric pair:
// nothing but F runs between those calls, so nobody can tell, and F's calls stay free of
// anything that would keep them from being evaluated several at a time.
template <class F> struct InnerIntegrand {
    const F& f; // the caller's integrand
    double x;   // the outer node

    double single(double y) {
        E1USR("ON");
        const double v = f(x, y);
        E1USR("OFF");
        return v;
    }
    // The points are independent, so they are evaluated as many at a time as the build's
    // vectors hold; each lane rounds as the scalar code does, so the values keep their bits.
    // Working on a copy of F lets the compiler see that storing a value cannot change F, and
    // so compute the factors that depend on x alone once for the node.
    void values(const double* y, double* fy, int count) {
        E1USR("ON");
        const F fl = f;
        const double xx = x;
#pragma omp simd
        for (int i = 0; i < count; ++i)
            fy[i] = fl(xx, y[i]);
        E1USR("OFF");
    }
    int rule_count() const {
        return 0;
    }
};

// The integral over y from yl to yh of F(x, y), with the tolerances ea and er (the outer ones
// divided by the span) and rule pair K (the outer rule's). The inner lists live in WORK/IWORK and
// start afresh.
template <int K, class F>
double inner_integral(const F& f, double x, double yl, double yh, double ea, double er, int maxsub,
                      double* work, int* iwork) {
    QuadratureShared& s = quadrature_shared;
    InnerIntegrand<F> fy{f, x};
    // Block offsets in the pointer's own width: 3*maxsub need not fit an int.
    const std::ptrdiff_t block = maxsub;
    const AdaptiveLists lists{work, work + block, work + 2 * block, work + 3 * block, iwork};
    const AdaptiveResult r = integrate_adaptive_k<K>(fy, yl, yh, ea, er, maxsub, lists);
    s.inner_count = r.count;
    if (r.code != ADAPTIVE_OK) dt2odq_report_inner(r.code, maxsub, work, iwork);
    return r.result;
}

// An integrand may offer a faster way to apply the inner rules to many outer nodes at once,
// through a member
//     R inner_rules(double eps, double tiny) const
// that the outer integration calls once, with the machine's epsilon and smallest normalised
// number. The record R it returns offers
//     bool usable() const
//         whether it may be used for this integration at all, and
//     void apply(int K, int count, const double* x, const double* a, const double* b,
//                GkEstimate* out) const
//         rule pair K (1..6) applied to the inner integrals over y from a[m] to b[m] of
//         F(x[m], y), m = 0..count-1 (count 1..kInnerRulesMost), estimate m in out[m].
// apply must give every estimate the bits gk_rule_k<K> gives for the same integral with the
// same constants, and raise no errors: the quadrature's results, counts, lists and messages are
// then those of the integrand without the hook. Such an integrand must be pure.
constexpr int kInnerRulesMost = 64;

template <class F, class = void> struct HasInnerRules : std::false_type {};
template <class F>
struct HasInnerRules<F, std::void_t<decltype(std::declval<const F&>().inner_rules(0.0, 0.0))>>
    : std::true_type {};
template <class F> constexpr bool has_inner_rules = HasInnerRules<F>::value;

// What an outer integration of F keeps of the hook: its record, prepared once, or nothing.
struct NoInnerRules {};
template <class F, bool = has_inner_rules<F>> struct InnerRulesOf { using type = NoInnerRules; };
template <class F> struct InnerRulesOf<F, true> {
    using type = decltype(std::declval<const F&>().inner_rules(0.0, 0.0));
};
template <class F> using InnerRulesRecord = typename InnerRulesOf<F>::type;

template <class F> InnerRulesRecord<F> inner_rules_of(const F& f) {
    if constexpr (has_inner_rules<F>)
        return f.inner_rules(DMACH(4), DMACH(1));
    else
        return NoInnerRules{};
}

// The inner integrals at the outer nodes x[0..count-1] (count 1..kInnerRulesMost) into
// fx[0..count-1], as count calls of inner_integral give them, their first rule applications
// through the integrand's hook (rules, usable). The limits come first, H(x) before G(x) at each
// node in turn; then the first rule of every node; then each node in turn finishes its
// integration in the shared lists, keeps its count and reports. Requires
// adaptive_applies_rules(ea, er, maxsub), ea and er being the inner tolerances.
template <int K, class F, class G, class H>
void inner_integrals_hooked(const F& f, const InnerRulesRecord<F>& rules, const G& g, const H& h,
                            const double* x, double* fx, int count, double ea, double er,
                            int maxsub, double* work, int* iwork) {
    QuadratureShared& s = quadrature_shared;
    double yl[kInnerRulesMost];
    double yh[kInnerRulesMost];
    for (int m = 0; m < count; ++m) {
        yh[m] = h(x[m]);
        yl[m] = g(x[m]);
    }
    GkEstimate first[kInnerRulesMost];
    E1USR("ON");
    rules.apply(K, count, x, yl, yh, first);
    E1USR("OFF");

    const std::ptrdiff_t block = maxsub;
    const AdaptiveLists lists{work, work + block, work + 2 * block, work + 3 * block, iwork};
    for (int m = 0; m < count; ++m) {
        InnerIntegrand<F> fy{f, x[m]};
        const AdaptiveResult r = integrate_adaptive_after_first_k<K>(
            fy, yl[m], yh[m], ea, er, maxsub, lists, first[m], fy.rule_count());
        s.inner_count = r.count;
        if (r.code != ADAPTIVE_OK) dt2odq_report_inner(r.code, maxsub, work, iwork);
        fx[m] = r.result;
    }
}

// x -> inner integral at x; at every node H(x) first, then G(x), then the inner integration.
// When the integrand offers the inner-rule hook, groups of nodes run their first inner rules
// through it, with the same results to the bit.
template <int K, class F, class G, class H> struct OuterIntegrand {
    const F& f;                // the caller's integrand
    const G& g;                // lower y-limit
    const H& h;                // upper y-limit
    int maxsub;                // list length of every inner integration
    double* work;              // inner lists, 4*maxsub
    int* iwork;                // inner ordering, maxsub
    double ea;                 // absolute tolerance of every inner integration: the outer one
                               // over the span
    double er;                 // relative tolerance of every inner integration: likewise
    InnerRulesRecord<F> rules; // inner_rules_of(f)

    double at(double x) {
        const double yh = h(x);
        const double yl = g(x);
        return inner_integral<K>(f, x, yl, yh, ea, er, maxsub, work, iwork);
    }
    double single(double x) { return at(x); }
    // With the hook the centre joins the first group of nodes instead of running alone; it
    // still comes first, so the inner integrations finish in the same order.
    void centre_and_values(double c, const double* x, double* fc, double* fx, int count) {
        if (!hooked()) {
            *fc = single(c);
            values(x, fx, count);
            return;
        }
        double nodes[1 + 2 * GkPair<K>::n];
        double inner[1 + 2 * GkPair<K>::n];
        nodes[0] = c;
        for (int i = 0; i < count; ++i)
            nodes[1 + i] = x[i];
        hooked_values(nodes, inner, 1 + count);
        *fc = inner[0];
        for (int i = 0; i < count; ++i)
            fx[i] = inner[1 + i];
    }
    // Whether the inner rules run through the integrand's hook.
    bool hooked() const {
        if constexpr (has_inner_rules<F>)
            return rules.usable() && adaptive_applies_rules(ea, er, maxsub);
        return false;
    }
    // The inner integrals at count nodes, as many at a time as the hook takes; requires
    // hooked().
    void hooked_values(const double* x, double* fx, int count) {
        if constexpr (has_inner_rules<F>)
            for (int i = 0; i < count; i += kInnerRulesMost)
                inner_integrals_hooked<K>(f, rules, g, h, x + i, fx + i,
                                          std::min(kInnerRulesMost, count - i), ea, er, maxsub,
                                          work, iwork);
    }
    void values(const double* x, double* fx, int count) {
        if (hooked()) {
            hooked_values(x, fx, count);
            return;
        }
        for (int i = 0; i < count; ++i)
            fx[i] = at(x[i]);
    }
    // The outer count carries the count of the last inner integration.
    int rule_count() const { return quadrature_shared.inner_count; }
};

template <int K, class F, class G, class H>
AdaptiveResult outer_integral(const F& f, double A, double B, const G& g, const H& h, int maxsub,
                              const AdaptiveLists& lists, double* work, int* iwork) {
    const QuadratureShared& s = quadrature_shared;
    OuterIntegrand<K, F, G, H> fx{f,
                                  g,
                                  h,
                                  maxsub,
                                  work,
                                  iwork,
                                  s.outer_errabs / s.span,
                                  s.outer_errrel / s.span,
                                  inner_rules_of(f)};
    return integrate_adaptive_k<K>(fx, A, B, quadrature_shared.outer_errabs,
                                   quadrature_shared.outer_errrel, maxsub, lists);
}

} // namespace dtwodq_detail

// F is callable as double(const double& x, const double& y); G and H as double(const double& x).
// Arguments, results and diagnostics are those of DT2ODQ (numerics/dtwodq.h). When F offers the
// inner-rule hook, F, G and H must be pure (a value may not depend on earlier calls): they are
// then called in another order than otherwise, with the same results to the bit.
template <class F, class G, class H>
void dt2odq_t(const F& f, const double& A, const double& B, const G& g, const H& h,
              const double& ERRABS, const double& ERRREL, const int& IRULE, double& RESULT,
              double& ERREST, const int& MAXSUB, int& NCALLS, int& NSUBS, double* XLEFT,
              double* XRIGHT, double* SUBRES, double* SUBERR, int* IORDER, double* WORK,
              int* IWORK) {
    using namespace dtwodq_detail;
    // The caller may come straight from toolkit code that left the upper AVX halves in use; the
    // rule loops below are SSE code that would run several times slower in that state.
    clear_upper_vector_state();
    E1PSH("DT2ODQ");
    dt2odq_check_arguments(MAXSUB, IRULE, ERRABS, ERRREL);
    if (N1RTY(0) == 0) {
        QuadratureShared& s = quadrature_shared;
        s.span = std::fabs(B - A);
        s.outer_errabs = 0.5 * ERRABS;
        s.outer_errrel = 0.5 * ERRREL;
        if (s.span == 0.0) {
            // The empty interval: its integral is 0 exactly, and the inner tolerances (divided
            // by the span) would be meaningless.
            RESULT = 0.0;
            ERREST = 0.0;
            NCALLS = 0;
            NSUBS = 0;
        } else {
            const AdaptiveLists lists{XLEFT, XRIGHT, SUBRES, SUBERR, IORDER};
            AdaptiveResult r;
            switch (IRULE) {
            case 1:
                r = outer_integral<1>(f, A, B, g, h, MAXSUB, lists, WORK, IWORK);
                break;
            case 2:
                r = outer_integral<2>(f, A, B, g, h, MAXSUB, lists, WORK, IWORK);
                break;
            case 3:
                r = outer_integral<3>(f, A, B, g, h, MAXSUB, lists, WORK, IWORK);
                break;
            case 4:
                r = outer_integral<4>(f, A, B, g, h, MAXSUB, lists, WORK, IWORK);
                break;
            case 5:
                r = outer_integral<5>(f, A, B, g, h, MAXSUB, lists, WORK, IWORK);
                break;
            default:
                r = outer_integral<6>(f, A, B, g, h, MAXSUB, lists, WORK, IWORK);
                break;
            }
            RESULT = r.result;
            ERREST = r.aerr;
            NCALLS = r.count;
            NSUBS = r.last;
            if (r.code != ADAPTIVE_OK) dt2odq_report_outer(r.code, MAXSUB, XLEFT, XRIGHT, IORDER);
        }
    }
    E1POP("DT2ODQ");
}

// Arguments, results and diagnostics are those of DTWODQ (numerics/dtwodq.h).
template <class F, class G, class H>
void dtwodq_t(const F& f, const double& A, const double& B, const G& g, const H& h,
              const double& ERRABS, const double& ERRREL, const int& IRULE, double& RESULT,
              double& ERREST) {
    E1PSH("DTWODQ");
    QuadratureWorkspace ws;
    if (!obtain_workspace(ws)) {
        E1MES(kErrorTerminal, -1, " ");
        set_message_int(1, kDtwodqMaxsub);
        E1MES(kErrorTerminal, 2,
              "The required storage cannot be allocated.  The workspace allocation is based on "
              "MAXSUB = %(I1).");
    } else {
        int ncalls = 0;
        int nsubs = 0;
        dt2odq_t(f, A, B, g, h, ERRABS, ERRREL, IRULE, RESULT, ERREST, kDtwodqMaxsub, ncalls, nsubs,
                 ws.xleft, ws.xright, ws.subres, ws.suberr, ws.iorder, ws.work, ws.iwork);
    }
    release_workspace(ws);
    E1POP("DTWODQ");
}
