// The outer rule of the densities whose inner integral is in closed form: a fixed Gauss-Legendre
// rule (GSL's tables) on every piece of a mesh graded toward the integrand's features. Any
// thread: pure code on the caller's records; the rules' tables are made once, on first use, by a
// thread-safe static.
//
// Why no adaptive rule: the integrands are analytic on the real line and the features that limit
// a polynomial rule are known. A pole or a logarithmic branch point at centre +- i width (of a
// Lorentzian, an arctangent) is approached by pieces a third of their distance from it and left
// by pieces that triple; each then lies in a cell [centre + width 3^k, centre + width 3^(k+1)]
// (or within a width of the centre), whose ellipse of convergence keeps the singularity outside
// at parameter 3.7 or more. A Gaussian or an error function is entire, but its tail steepens with
// the distance, so it is covered by pieces of a fixed length up to where it has faded to 1e-17
// of its size, and a log-normal by pieces of a fixed ratio of their ends, in ln x. Then a dozen
// Gauss points integrate each piece to about 1e-14 of the integrand's size: no rule application is
// spent on an estimate of the error, and all nodes are known before the first value, so the
// integrand is evaluated as one array by the vector functions (model/vector_math.h).
#pragma once

// What a feature of an outer integrand is.
enum class FeatureKind {
    pole,       // a pole or branch point at centre +- i width; shapes the integrand everywhere
    gaussian,   // an entire factor that turns on the scale of width, within [from, to]
    log_normal, // a factor Gaussian in ln x, within [from, to] (from > 0); its pieces that no
                // other feature bounds take their nodes evenly in ln x
};

// A feature of an outer integrand: where and on what scale a polynomial rule must follow it.
struct OuterFeature {
    FeatureKind kind;
    double centre; // pole: the singularity's real part
    double width;  // pole: its distance from the real line; gaussian: the longest piece;
                   // log_normal: the largest ratio of a piece's ends, > 1. 0 or less: no feature
    double from;   // gaussian and log_normal: where the factor starts to matter
    double to;     // ... and where it stops; outside, the feature leaves the pieces free
};

// Gauss points on each piece: enough for an integrand whose nearest singularities are poles and
// logarithmic branch points (arctangents) to reach 1e-13 of its size, and for one whose features
// are Gaussians (entire, but growing off the real line), which needs two more.
constexpr int kGradedPolePoints = 12;
constexpr int kGradedGaussPoints = 14;
constexpr int kGradedPointsMost = 14;
// Most pieces of one range; a range that needs more (widths below 1e-300 of the range) is cut
// at the first kGradedPiecesMost - 1 cuts of its features only.
constexpr int kGradedPiecesMost = 160;
constexpr int kGradedNodesMost = kGradedPiecesMost * kGradedPointsMost;

// A piece [a, b] with b / a above this, of a log-normal and no other feature, is integrated in
// ln x: the singularity at x = 0 that bounds such pieces to a third of their distance from it in
// x lies at -infinity in ln x, where the factor is a Gaussian of ln x.
constexpr double kLogSpacedRatio = 3.0;
// ... also within a gaussian feature's range up to this share of its longest piece, where such
// a piece then ends.
constexpr double kLogSpacedGaussianShare = 1.0 / 12.0;

// The nodes and weights of the rule on one range. Pieces of a log-normal taken in ln x keep their
// weights in ln x, since the integrand there is best written as x f(x), where the log-normal's 1/x
// cancels and its exponent needs no logarithm: the integral is the sum of w[i] f(x[i]) over the
// nodes outside the log runs and of w[i] x[i] f(x[i]) over the nodes in them. Log runs are
// maximal runs of adjacent pieces taken in ln x, in ascending order, apart from each other.
struct GradedRule {
    int count;                        // nodes in use
    double x[kGradedNodesMost];       // the nodes, piece by piece, ascending
    double w[kGradedNodesMost];       // their weights, in x or (in a log run) in ln x
    double t[kGradedNodesMost];       // ln x[i] at the nodes of the log runs; unset elsewhere
    int log_runs;                     // log runs in use
    int log_first[kGradedPiecesMost]; // the first node of each log run
    int log_nodes[kGradedPiecesMost]; // its count of nodes (> 0)
};

// The rule of `points` (1..kGradedPointsMost) Gauss points a piece on [lo, hi] (lo < hi, both
// finite) for `count` features. Sets rule.count to 0 when lo >= hi.
void graded_rule(double lo, double hi, const OuterFeature* features, int count, int points,
                 GradedRule& rule);

// sum w[i] f[i] over the rule's nodes (f[i] being x[i] f(x[i]) in the log runs).
double graded_sum(const GradedRule& rule, const double* f);
