// The two rules that maintain the reversal history: recording a reversal and wiping out closed
// minor loops. Interface thread only.
#pragma once

#include "model/model_state.h"

// A change of direction at the curve point (H, B): Dir := -Dir, Krev := Krev + 1,
// Hrev[Krev] := H, Brev[Krev] := B. Returns false and changes nothing when the stack is full
// (Krev is already 1000): the caller must stop.
bool record_reversal(ModelState& m, double H, double B);

// The wiping-out rule at field H. When Krev >= 2 and Dir*Hrev[Krev-1] <= Dir*H the minor loop
// closes: Krev := Krev - 2 and the closure point (h, b) is (Hrev[old Krev-1], everett_integral(h)
// from the new top point); answers true. Otherwise (also for a NaN H, or a Krev beyond the stack)
// answers false and changes nothing. The caller repeats it until it answers false.
bool wipe_out(ModelState& m, double H, double& h, double& b);
