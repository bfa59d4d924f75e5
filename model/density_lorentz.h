// The Lorentzian density with its one parameter Hc, the model's first family and its default:
// P(alpha, beta) = Kmax / ((1 + (alpha/Hc - 0.5)^2) (1 + (beta/Hc + 0.5)^2)), integrated by the
// two-dimensional adaptive quadrature. The record and value are pure (any thread); its pieces
// run the quadrature and are interface-thread only.
#pragma once

#include "model/density.h"

// Relative tolerance of every integral: 0.01 as a single-precision constant, widened.
constexpr double kEverettErrRel = static_cast<double>(0.01f);
// Gauss-Kronrod pair of every integral: 30-point Gauss with 61-point Kronrod.
constexpr int kEverettRule = 6;

// The index of Hc among the family's parameters.
constexpr int kLorentzHc = 0;

extern const DensityFamily kLorentzFamily;

// The Lorentzian with parameter Hc and normalisation factor Kmax.
Density lorentz_density(double Hc, double Kmax);
