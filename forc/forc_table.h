// First-order reversal curves gathered into one table for the distribution's regression: curves
// sorted by reversal field, points sorted by field, and the typical field steps of the
// measurement. Pure data and procedures; any thread may call them on distinct tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The curves of one FORC measurement (or computation), in the units of its source.
// Invariants after forc_table_finish succeeded: Hr ascending; curve k owns the points
// first[k] .. first[k + 1] - 1 of H and M, with H ascending inside a curve; every value finite.
struct ForcTable {
    std::vector<double> Hr;    // reversal field of each curve
    std::vector<size_t> first; // index of each curve's first point; one more entry at the end
    std::vector<double> H;     // fields of all points, curve after curve
    std::vector<double> M;     // moments of all points, in the same order
    double step_Hr = 0.0;      // median spacing of neighbouring reversal fields, > 0
    double step_H = 0.0;       // median spacing of neighbouring fields along a curve, > 0
    bool finished = false;     // forc_table_finish succeeded
};

// Appends one curve: its reversal field and count points (H[i], M[i]), the reversal point
// included when the curve holds it. Checks nothing; forc_table_finish does.
void forc_table_add_curve(ForcTable& table, double Hr, const double* H, const double* M,
                          size_t count);

// Sorts the curves and their points, works out the steps and checks that the table can carry a
// distribution: at least two curves, finite values, no curve of a single point except the one of
// the highest reversal field (a measurement's first curve, which ends where it starts), no field
// more than half a step below its curve's reversal field, and distinct reversal fields and fields
// to measure steps by. On failure returns false with one line (no line end) in error, naming
// the curve by its position in the order added (1 for the first).
bool forc_table_finish(ForcTable& table, std::string& error);

// Number of curves.
inline size_t forc_table_curves(const ForcTable& table) {
    return table.Hr.size();
}
