// A new curve from the present point: what lets the user go on once the curve buffer is full.
// Interface thread only (like every user of ModelState).
#pragma once

#include "model/model_state.h"

// Starts a new curve at the last stored point: it becomes the curve's first point (index 0) and
// the points before it are dropped from the buffer; Ndrawn := Nnew := 0. Hcur, Bcur := that point
// (a construction stopped by the full buffer leaves Hcur one step beyond it). The reversal
// history, the direction and every other field stay, so the next construction goes on exactly as
// it would have without the restart. Ndrawn outside 0..kCurveBound is taken as kCurveBound.
void restart_curve_at_present_point(ModelState& m);
