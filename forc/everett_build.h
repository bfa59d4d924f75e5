// Building the tabulated Everett function (model/everett_table.h) from measured first-order
// reversal curves: monotone cubics along the curves (Steffen's slopes, GSL), the closure that
// makes it a whole Preisach model between the saturations, and the upper branch of the major loop
// through the curves' reversal points. Pure code; any thread may call it on distinct tables.
#pragma once

#include <string>
#include <vector>

#include "forc/forc_table.h"
#include "model/everett_table.h"

// Builds the table from a finished FORC table (at least two curves): repeated fields of a curve
// become one node with the mean moment; a curve of a single field (a measurement's first) is
// left out. False with one line in error when fewer than two curves with two distinct fields
// remain.
bool everett_table_build(const ForcTable& table, EverettTable& everett, std::string& error);

// Closes the table between the saturations +-Hs (Hs at least every field of the table): every
// curve that ends below Hs runs on to the moment Bs, reached one step between neighbouring
// reversal fields (the widest) below Hs if it ends below that, and held to Hs (a reversal curve
// ends at positive saturation; the blend between two curves reads the lower one up to that step
// below Hs), and, when the lowest reversal field lies above -Hs, a curve reversed at -Hs, the
// lower branch of the major loop, is put first: from -Bs at -Hs through the nodes of the lowest
// measured curve, which a reversal so near negative saturation hardly leaves. Measured curves
// seldom reach saturation, so without this E(Hs, beta) would stop where the measurement stops;
// with it the Preisach model's descent from positive saturation to beta, Bs - 2 E(Hs, beta), is
// the measured upper branch at every reversal field, and E(Hs, -Hs) = Bs.
void everett_table_close(EverettTable& everett, double Hs, double Bs);

// The upper (descending) branch of the major loop through the curves' reversal points.
struct ReversalBranch {
    std::vector<double> M;     // each curve's moment at its reversal field
    std::vector<double> slope; // dM/dHr of the branch there: Steffen's monotone cubic
};

// The branch of the table's reversal points.
void everett_reversal_branch(const EverettTable& everett, ReversalBranch& branch);

// The moment on the upper branch at Hr, along the monotone cubic through the reversal points
// (held at the ends).
double everett_upper_branch(const EverettTable& everett, const ReversalBranch& branch, double Hr);

// The moment on the reversal curve of Hr at H >= Hr, from positive saturation: the upper branch
// at Hr, then 2 E(H, Hr) more.
double everett_forc_moment(const EverettTable& everett, const ReversalBranch& branch, double Hr,
                           double H);
