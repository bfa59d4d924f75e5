// The drawn curve as comma-separated text: what "Save results..." writes and the batch tool prints.
// Pure formatting; any thread, given a model record nobody writes meanwhile.
#pragma once

#include "model/model_state.h"

#include <string>

// Appends to out: comment lines beginning with "#" that give Hc, Kmax, the
// start state and the number of points, the header line "H,B", then one
// line "H,B" per point of the drawn curve, indices 0..Ndrawn, every number
// with 17 significant digits (enough to read back the exact double) and a
// decimal point whatever the process's locale.
void format_curve_csv(const ModelState& m, std::string& out);

// The same header and point lines for any list of points (count points of
// H and B); the comment lines come from m.
void format_points_csv(const ModelState& m, const double* H, const double* B, int count,
                       std::string& out);

// Only the header line "H,B" and the point lines, without comments (the
// batch tool's output).
void format_point_lines(const double* H, const double* B, int count, std::string& out);
