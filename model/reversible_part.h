// The reversible part of a material's moment: a straight slope and a saturating term with the
// slow (1/H) approach to saturation of the Langevin function. Any thread: pure arithmetic.
#pragma once

#include "model/model_file.h"

// L(x) = coth x - 1/x, by its series near 0 where the difference cancels.
double langevin(double x);

// B_rev(H) = chi H + amplitude L(H / field), model units.
double reversible_moment(const ReversiblePart& r, double H);
