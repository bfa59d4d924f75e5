// Execute of the reversal dialog: a single move, a cyclic alteration or a gradual spiral approach
// to Hn, as a series of constructions (legs), each drawn when it ends. Interface thread only.
#pragma once

#include <cstdint>

#include "model/model_state.h"

// Number of legs for Ncyc cycles: 2*Ncyc in 64 bits (never overflows), 1 for Ncyc = 0; a
// negative Ncyc gives a negative count and no leg runs.
int64_t leg_count(int32_t Ncyc);

// Field at the end of spiral leg I of numC, from H0 towards Hend:
// Hend - s*|D|*(exp((-3*I)/numC) - (I/numC)*e3), with s = +-1 alternating (single precision,
// -1 at the first leg when D >= 0) and e3 = exp(-3) in single precision; exactly Hend at the
// last leg.
double spiral_leg_end(double H0, double Hend, int64_t I, int64_t numC);

// Runs the legs by CycleMode (0 or 1: alternate between Hn and Hcur as they were, 2: spiral),
// calling draw_leg(m) after each leg and stopping the series when a leg stops (met = 2, or 1 for
// the user's Stop). At the end, whatever happened: Hn := Hcur, Ncyc := 0, CycleMode := 0, then
// notify_execute_finished(m, ui_context) for the interface's part.
void execute_cycles(ModelState& m, void* ui_context);
