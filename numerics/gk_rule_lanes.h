// One rule pair applied at once to eight inner integrals of a product of two Lorentzians, one
// integral per vector lane, with the bits the one-at-a-time rule gives. Keeps no state; any
// thread.
#pragma once

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

// The number of inner integrals one call handles.
constexpr int kRuleLanes = 8;

// Whether gk_rule_lanes takes this integrand: its numerator must be finite and +0 or positive
// (so are then all its values at finite points, which the lane rule relies on), its scale finite
// and not zero.
bool lorentz_lanes_apply(const LorentzProduct& lp);

// The factor 1 + (x / scale + outer_shift)^2 of an outer node x.
double lorentz_outer_factor(const LorentzProduct& lp, double x);

// Applies rule pair K (1..6) to the inner integrals over y from a[m] to b[m] of the integrand at
// x = x[m], m = 0..count-1 (count 1..kRuleLanes), in the build simd_level() chose, and stores
// estimate m in out[m]: the same bits as gk_rule_k<K> applied to y -> integrand(x[m], y) on
// [a[m], b[m]], with machine epsilon eps and smallest normalised number tiny. Requires
// lorentz_lanes_apply(lp); a group with a node or an end that is not finite runs one value at a
// time. Raises no errors.
void gk_rule_lanes(int K, const LorentzProduct& lp, int count, const double* x, const double* a,
                   const double* b, double eps, double tiny, GkEstimate* out);
