// The Preisach model on the model's density: normalisation, limiting loop and the Everett
// integrals that give B on the current branch of the reversal history.
// Interface thread only: the integrals may run the non-reentrant two-dimensional quadrature.
#pragma once

#include "model/model_state.h"

// The density P(alpha, beta) of m.
double everett_density(const ModelState& m, double alpha, double beta);

// The density's normalisation factor (the Lorentzian's Kmax) for the saturation field of m:
// norm := 1, then norm := 2 / (ascending integral over -Hs <= beta <= alpha <= Hs).
void compute_kmax(ModelState& m);

// Fills Hmaj[2..201] and Bmaj[2..201]: the ascending half up to H = -Hs + 100 dHmaj (H
// accumulated by repeated addition), then the descending half from the top point back down,
// integrated up to the exact +Hs. Entry 1 (-Hs, -Bs) is the caller's. Where the step dHmaj
// exceeds a quarter of the density's peak width (a small Hc), also the fine points between the
// entries near the peak fields (ModelState::Hfine), a quarter width apart.
void compute_major_loop(ModelState& m);

// B at field H on the current branch: Brev[Krev] + Dir * (integral over the triangle between
// Hrev[Krev] and H), ascending form while Dir > 0, descending form otherwise. NaN, without any
// integration, for a non-finite H or a Krev outside the reversal stack.
double everett_integral(const ModelState& m, double H);
