// Everett integrals of the Lorentzian density to about 1e-14, and B over a curve's history with
// them: the yardstick for the model's quadrature. Test code only; any thread.
#pragma once

#include <vector>

// The density's parameters.
struct ExactDensity {
    double Hc;   // half-width of both Lorentz factors, peaks at alpha = Hc/2 and beta = -Hc/2
    double Kmax; // normalisation factor
};

// The model's two integral forms, with the same orientation rules as the program (b < a
// integrates with reversed outer limits): ascending x = alpha from a to b, y = beta from a to x;
// descending x = beta from a to b, y = alpha from x to b. The inner integral is in closed form
// (a difference of arctangents), the outer one by an adaptive Gauss-Kronrod rule with
// breakpoints at the peaks and at geometrically growing distances from them.
double exact_ascending(const ExactDensity& d, double a, double b);
double exact_descending(const ExactDensity& d, double a, double b);

// 2 / (integral of the density with Kmax = 1 over -1 <= beta <= alpha <= 1).
double exact_kmax(double Hc);

// B at every point of a curve H[0..n-1] that starts at (H[0], B0) with the branch direction dir0
// (+1 rising, -1 falling), by the history rules of the model: a change of the field's direction
// records a reversal at the previous point, a field that reaches the extremum recorded before the
// current branch's start closes that minor loop (the start and first reversal are never wiped
// out), and B = B(branch start) + Dir * (integral over the triangle to H).
std::vector<double> exact_curve(const ExactDensity& d, const std::vector<double>& H, double B0,
                                int dir0);
