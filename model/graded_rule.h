// The outer rule of the densities whose inner integral is in closed form: a fixed Gauss-Legendre
// rule (GSL's tables) on every piece of a mesh graded geometrically toward the integrand's
// features. Any thread: pure code on the caller's records; the rule's table is made once, on
// first use, by a thread-safe static.
//
// Why no adaptive rule: the integrands are analytic on the real line, and their nearest
// singularities are known, at centre +- i width for each feature (the poles of a Lorentzian, the
// branch points of an arctangent, where an error function turns). The mesh puts every piece
// inside a cell [centre + width 3^k, centre + width 3^(k+1)] (or [centre - width, centre],
// [centre, centre + width]) of every feature, so each singularity lies outside the ellipse of
// convergence with parameter 3.7 around each piece, and kGradedPoints Gauss points integrate
// each piece to about 1e-16 of the integrand's size: no rule application is spent on an estimate
// of the error, and all nodes are known before the first value, so the integrand is evaluated
// as one array by the vector functions (model/vector_math.h).
#pragma once

// A feature of an outer integrand: near `centre` it varies on the scale `width`. A pole or a
// branch point shapes the integrand at every distance; the features of entire factors (a
// Gaussian, an error function) fade: beyond `reach` from the centre the factor is constant to
// 1e-17 of its size, and there the feature cuts nothing.
struct OuterFeature {
    double centre; // where the integrand varies fastest
    double width;  // on what scale, > 0 (0 or less: no feature)
    double reach;  // how far from the centre it needs cells (HUGE_VAL: everywhere)
};

// Gauss points on each piece.
constexpr int kGradedPoints = 14;
// Ratio of the distances of two neighbouring cuts from a feature.
constexpr double kGradedRatio = 3.0;
// Most pieces of one range; a range that needs more (widths below 1e-300 of the range) is cut
// at the first kGradedPiecesMost - 1 cuts of its features only.
constexpr int kGradedPiecesMost = 160;
constexpr int kGradedNodesMost = kGradedPiecesMost * kGradedPoints;

// The nodes and weights of the rule on one range.
struct GradedRule {
    int count;                  // nodes in use
    double x[kGradedNodesMost]; // the nodes, piece by piece, ascending within a piece
    double w[kGradedNodesMost]; // their weights: the integral is sum w[i] f(x[i])
};

// The rule on [lo, hi] (lo < hi, both finite) for `count` features. Sets rule.count to 0 when
// lo >= hi.
void graded_rule(double lo, double hi, const OuterFeature* features, int count, GradedRule& rule);

// sum w[i] f[i] over the rule's nodes.
double graded_sum(const GradedRule& rule, const double* f);
