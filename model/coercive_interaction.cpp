// The outer integrands of the coercive-times-interaction terms, as the kernels of
// model/outer_kernels.h.
#include "model/coercive_interaction.h"

#include <cassert>

#include "model/outer_kernels.h"

static_assert(kGradedNodesMost <= kOuterKernelNodesMost, "a rule's nodes go to a kernel at once");

void term_values(const LorentzTerm& t, double lo, double hi, double sign, const GradedRule& rule,
                 double* out, double* scratch) {
    assert(rule.log_runs == 0); // no log-normal feature, no piece in ln h
    // width_i (atan((hi - h) / width_i) - atan((lo + h) / width_i)) / (1 + ((sign h - centre) /
    // width_c)^2).
    const double s = 1.0 / t.width_i;
    const double r = 1.0 / t.width_c;
    const AtanOverLorentz f{t.weight * t.width_i, lo * s, s, hi * s, -s, -t.centre * r, sign * r};
    values(f, rule.x, rule.count, out, scratch);
}

void term_values(const GaussTerm& t, double lo, double hi, double sign, const GradedRule& rule,
                 double* out, double* scratch) {
    if (sign < 0) { // c(-h) = 0 for h >= 0
        for (int i = 0; i < rule.count; ++i)
            out[i] = 0.0;
        return;
    }
    // The interaction's integral is sqrt(pi) / 2 S (erf((hi - h) / S) - erf((lo + h) / S)),
    // S = sqrt(2) width_i.
    const double S = M_SQRT2 * t.width_i;
    const double s = 1.0 / S;
    const ErfOverLogNormal f{
        t.weight * 0.5 * std::sqrt(M_PI) * S, t.centre, t.spread, lo * s, s, hi * s, -s};
    // The nodes in x and those of the log runs, in turn.
    int i = 0;
    for (int r = 0; r <= rule.log_runs; ++r) {
        const int first = r < rule.log_runs ? rule.log_first[r] : rule.count;
        if (first > i) values(f, rule.x + i, first - i, out + i, scratch);
        if (r == rule.log_runs) break;
        const int n = rule.log_nodes[r];
        values_in_ln(f, rule.x + first, rule.t + first, n, out + first, scratch);
        i = first + n;
    }
}
