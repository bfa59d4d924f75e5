// The Preisach model with a Lorentzian distribution: density, normalisation, limiting loop and
// the Everett integrals that give B on the current branch of the reversal history.
// Interface thread only: every integral runs the non-reentrant two-dimensional quadrature.
#pragma once

#include "model/model_state.h"

// Relative tolerance of every integral: 0.01 as a single-precision constant, widened.
constexpr double kEverettErrRel = static_cast<double>(0.01f);
// Gauss-Kronrod pair of every integral: 30-point Gauss with 61-point Kronrod.
constexpr int kEverettRule = 6;

// Density P(alpha, beta) = Kmax / ((1 + (alpha/Hc - 0.5)^2) (1 + (beta/Hc + 0.5)^2)) with the
// Hc and Kmax of m.
double everett_density(const ModelState& m, double alpha, double beta);

// Kmax := 1, then Kmax := 2 / (ascending integral of the density over -Hs <= beta <= alpha <= Hs).
void compute_kmax(ModelState& m);

// Fills Hmaj[2..201] and Bmaj[2..201]: the ascending half up to H = -Hs + 100 dHmaj (H
// accumulated by repeated addition), then the descending half from the top point back down,
// integrated up to the exact +Hs. Entry 1 (-Hs, -Bs) is the caller's.
void compute_major_loop(ModelState& m);

// B at field H on the current branch: Brev[Krev] + Dir * (integral over the triangle between
// Hrev[Krev] and H), ascending form while Dir > 0, descending form otherwise. NaN, without any
// integration, for a non-finite H or a Krev outside the reversal stack.
double everett_integral(const ModelState& m, double H);
