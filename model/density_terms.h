// The density families written as coercive-times-interaction terms (model/coercive_interaction.h):
// the Lorentzian product, the rock-magnetic Gaussian and the mixtures of two of either. Their
// records, the index of each parameter, and the terms of a member. Any thread: pure code.
#pragma once

#include "model/coercive_interaction.h"
#include "model/density.h"

// "lorentz2": P = norm / ((1 + ((h - Hc0) / dHc)^2) (1 + (u / dHu)^2)).
constexpr int kLorentz2Hc0 = 0; // coercive field of the peak, in Hs (>= 0)
constexpr int kLorentz2Dhc = 1; // half-width in the coercive field, in Hs (> 0)
constexpr int kLorentz2Dhu = 2; // half-width in the interaction field, in Hs (> 0)
extern const DensityFamily kLorentz2Family;

// "gauss": P = norm exp(-(ln(h / Hc0))^2 / (2 s^2)) / h * exp(-u^2 / (2 dHu^2)) for h > 0.
constexpr int kGaussHc0 = 0; // median coercive field, in Hs (> 0)
constexpr int kGaussS = 1;   // standard deviation of ln h (> 0)
constexpr int kGaussDhu = 2; // standard deviation of the interaction field, in Hs (> 0)
extern const DensityFamily kGaussFamily;

// "lorentz2-mix" and "gauss-mix": w times the first member plus (1 - w) times the second, each
// member scaled to unit mass over the half-plane alpha >= beta, so w is the first population's
// share of the saturation moment (up to what lies beyond the saturation field). Parameters: w,
// then the three of the first member, then the three of the second.
constexpr int kMixWeight = 0;
constexpr int kMixFirst = 1;
constexpr int kMixSecond = 4;
extern const DensityFamily kLorentz2MixFamily;
extern const DensityFamily kGaussMixFamily;

// The family of a mixture's two members (kLorentz2Family, kGaussFamily); null for a family that
// is not one of the mixtures.
const DensityFamily* mixture_member(const DensityFamily& mixture);

// The mass over the half-plane of a member of the Lorentzian-product or Gaussian family with
// parameters p (three), unscaled: a mixture weighs its members' triangles computed with norm 1
// by w / mass and (1 - w) / mass.
double member_mass(const DensityFamily& member, const double* p);

// The mass over the half-plane of one member's unscaled term.
double lorentz_term_mass(const LorentzTerm& t);
double gauss_term_mass(const GaussTerm& t);

// The term of a member whose three parameters start at p, with weight 1.
LorentzTerm lorentz_term(const double* p);
GaussTerm gauss_term(const double* p);
