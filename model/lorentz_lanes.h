// The Lorentzian density's fast inner rules: one rule pair applied at once to eight inner
// integrals of a product of two Lorentzians, one integral per vector lane, with the bits the
// one-at-a-time rule gives. The only code of the program built for particular instruction sets,
// chosen at one point (the record's `level`). Keeps no state; any thread.
#pragma once

#include "model/simd_level.h"
#include "numerics/gk_rule.h"

// An integrand of the form
//     numerator / ((1 + (x / scale + outer_shift)^2) * (1 + (y / scale + inner_shift)^2)),
// x the outer and y the inner variable, evaluated exactly in that order of operations (a - c is
// a + (-c), and the product of the two factors does not depend on their order), so that an
// integrand object can hand its parameters to the lane rule and still be the same function to
// the bit. scale must be finite and non-zero.
struct LorentzProduct {
    double scale;       // common divisor of both variables
    double numerator;   // the integrand's value where both squares vanish
    double outer_shift; // added to x / scale
    double inner_shift; // added to y / scale
};

// The number of inner integrals in a group: one vector of lanes.
constexpr int kRuleLanes = 8;

// The most inner integrals one call of lorentz_rule_lanes takes: eight groups.
constexpr int kRuleLanesMost = 8 * kRuleLanes;

// Whether lorentz_rule_lanes takes this integrand: its numerator must be finite and +0 or positive
// (so are then all its values at finite points, which the lane rule relies on), its scale finite
// and not zero.
bool lorentz_lanes_apply(const LorentzProduct& lp);

// The factor 1 + (x / scale + outer_shift)^2 of an outer node x.
double lorentz_outer_factor(const LorentzProduct& lp, double x);

// One integration's worth of what the lane rule needs besides the points: the integrand, the
// machine's constants and what the vector builds derive from them, worked out once by
// lorentz_lanes_prepare so that no rule application starts with a division (each would wait for
// the divider to finish the previous application's quotients). Invariants: `fused` only when
// `level` is a vector build and |scale| lies in the range the exact quotient covers, and then
// inverse = RN(1 / scale) and inverse_tail = RN((1 - scale inverse) inverse), else both 0;
// floor_from = RN(tiny / RN(50 eps)), the threshold of gk_error_estimate's rounding floor.
struct LorentzLanes {
    LorentzProduct lp;   // the integrand
    double eps;          // machine epsilon
    double tiny;         // smallest normalised number
    double floor_from;   // estimates of |f| above this have the floor 50 eps absint
    SimdLevel level;     // the build simd_level() chose when prepared
    bool fused;          // whether the vector builds may replace divisions by lp.scale
    double inverse;      // z, RN(1 / lp.scale), when fused
    double inverse_tail; // zl, about 1 / lp.scale - z, when fused
};

// The record for integrand lp with machine epsilon eps and smallest normalised number tiny, in
// the build simd_level() chooses now.
LorentzLanes lorentz_lanes_prepare(const LorentzProduct& lp, double eps, double tiny);

// Applies rule pair K (1..6) to the inner integrals over y from a[m] to b[m] of the integrand at
// x = x[m], m = 0..count-1 (count 1..kRuleLanesMost), in the build ll was prepared for, and stores
// estimate m in out[m]: the same bits as gk_rule_k<K> applied to y -> integrand(x[m], y) on
// [a[m], b[m]] with ll's machine constants. Requires lorentz_lanes_apply(ll.lp); a group with a
// node or an end that is not finite runs one value at a time. Raises no errors.
void lorentz_rule_lanes(int K, const LorentzLanes& ll, int count, const double* x, const double* a,
                        const double* b, GkEstimate* out);

// The quadrature's inner-rule hook for a Lorentz-product integrand (see
// numerics/dtwodq_template.h): the record prepared once per outer integration.
struct LorentzInnerRules {
    LorentzLanes ll; // the integrand and constants, prepared

    bool usable() const { return lorentz_lanes_apply(ll.lp); }
    void apply(int K, int count, const double* x, const double* a, const double* b,
               GkEstimate* out) const {
        lorentz_rule_lanes(K, ll, count, x, a, b, out);
    }
};
