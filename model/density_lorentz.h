// The Lorentzian density with its one parameter Hc, the model's first family and its default:
// P(alpha, beta) = Kmax / ((1 + (alpha/Hc - 0.5)^2) (1 + (beta/Hc + 0.5)^2)), integrated by the
// two-dimensional adaptive quadrature, and below Hc = kLorentzClosedBelowHc with the inner
// integral in closed form (arctangents) and the graded outer rule of model/graded_rule.h. The
// record and value are pure (any thread); its pieces run the quadrature and are interface-thread
// only.
#pragma once

#include "model/density.h"

// Relative tolerance of every integral: 0.01 as a single-precision constant, widened.
constexpr double kEverettErrRel = static_cast<double>(0.01f);
// Gauss-Kronrod pair of every integral: 30-point Gauss with 61-point Kronrod.
constexpr int kEverettRule = 6;

// Below this Hc the two-dimensional quadrature's error exceeds 1e-9 in B even with the triangles
// cut at the peaks; there every piece is integrated with its inner integral in closed form, to
// about 1e-13. At and above it every value keeps the bits of the two-dimensional quadrature.
constexpr double kLorentzClosedBelowHc = 0.05;

// The index of Hc among the family's parameters.
constexpr int kLorentzHc = 0;

extern const DensityFamily kLorentzFamily;

// The Lorentzian with parameter Hc and normalisation factor Kmax.
Density lorentz_density(double Hc, double Kmax);
