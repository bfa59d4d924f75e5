// The Everett function of a material tabulated on its first-order reversal curves: for a curve
// reversed at beta and measured at alpha, E(alpha, beta) = (M(beta, alpha) - M(beta, beta)) / 2,
// with a cubic Hermite along each curve (nodes and slopes given) and a blend between
// neighbouring curves at equal distance from their reversal. It is the measured material's
// whole Preisach model: the family "measured" (model/density_measured.h) integrates a triangle
// by looking it up here. The table is built from measured curves in forc/everett_build.h and kept
// in model files. Pure code; any thread may call it on distinct or unchanging tables.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The tabulated Everett function, fields and moments in the units of the measurement.
// Invariants (everett_table_check): at least two curves, Hr strictly ascending; curve k owns the
// nodes first[k] .. first[k + 1] - 1 of H, M and slope, at least two, H strictly ascending there;
// every value finite.
struct EverettTable {
    std::vector<double> Hr;    // reversal field of each curve (beta)
    std::vector<size_t> first; // index of each curve's first node; one more entry at the end
    std::vector<double> H;     // fields of the nodes (alpha), curve after curve
    std::vector<double> M;     // moments at the nodes
    std::vector<double> slope; // dM/dH at the nodes: the curve is the cubic Hermite through them
};

// Whether the table keeps its invariants; one line in why if not.
bool everett_table_check(const EverettTable& everett, std::string& why);

// The moment of curve k at H along its cubic, held at its ends outside its fields.
double everett_curve_moment(const EverettTable& everett, size_t k, double H);

// The cubic Hermite through the nodes x[0..n-1] (strictly ascending, n >= 2), y, with the slopes
// at x, evaluated at `at` and held at the end values outside [x[0], x[n-1]].
double everett_hermite(const double* x, const double* y, const double* slope, size_t n, double at);

// E(alpha, beta): 0 for alpha <= beta; beta outside the reversal fields is held at the nearest.
// Between the curves of reversal fields Hr_k <= beta <= Hr_k+1 it blends, linearly in beta,
// each curve's E at the same distance alpha - beta from its own reversal, so that E vanishes on
// the line alpha = beta as it must.
double everett_value(const EverettTable& everett, double alpha, double beta);
