// The Everett function of a material tabulated on its measured first-order reversal curves: for a
// curve reversed at beta and measured at alpha, E(alpha, beta) = (M(beta, alpha) - M(beta,
// beta)) / 2, with a monotone cubic along each curve and a blend between neighbouring curves at
// equal distance from their reversal. With it the classical Preisach model computes any history
// of the material; here the reversal curves it predicts. Pure code; any thread may call it on
// distinct tables.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "forc/forc_table.h"

// The tabulated Everett function. Invariants after everett_table_build: Hr ascending; curve k
// owns the nodes first[k] .. first[k + 1] - 1 of H, M and slope, H strictly ascending there.
struct EverettTable {
    std::vector<double> Hr;         // reversal field of each curve (beta)
    std::vector<size_t> first;      // index of each curve's first node; one more entry at the end
    std::vector<double> H;          // fields of the nodes (alpha), curve after curve
    std::vector<double> M;          // moments at the nodes (repeated fields averaged)
    std::vector<double> slope;      // dM/dH at the nodes: Steffen's monotone cubic (GSL)
    std::vector<double> M_reversal; // each curve's moment at its reversal field: the upper
                                    // (descending) branch of the major loop
    std::vector<double> slope_reversal; // dM/dHr of that branch at the reversal fields
};

// Builds the table from a finished FORC table (at least two curves). False with one line in
// error when a curve has fewer than two distinct fields.
bool everett_table_build(const ForcTable& table, EverettTable& everett, std::string& error);

// The moment of curve k at H along its monotone cubic, held at its ends outside its fields.
double everett_curve_moment(const EverettTable& everett, size_t k, double H);

// E(alpha, beta): 0 for alpha <= beta; beta outside the reversal fields is held at the nearest.
// Between the curves of reversal fields Hr_k <= beta <= Hr_k+1 it blends, linearly in beta,
// each curve's E at the same distance alpha - beta from its own reversal, so that E vanishes on
// the line alpha = beta as it must.
double everett_value(const EverettTable& everett, double alpha, double beta);

// The moment on the upper branch of the major loop at Hr, along the monotone cubic through the
// curves' reversal points (held at the ends). Measured curves seldom run up to saturation, so the
// branch comes from the reversal points rather than from E of the whole field range.
double everett_upper_branch(const EverettTable& everett, double Hr);

// The moment the Preisach model gives on the reversal curve of Hr at H >= Hr, from positive
// saturation: the upper branch at Hr, then 2 E(H, Hr) more.
double everett_forc_moment(const EverettTable& everett, double Hr, double H);
