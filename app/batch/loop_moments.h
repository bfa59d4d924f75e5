// The least-squares comparison of a measured loop with the model's limiting loop, reduced to sums
// over the intervals of the limiting loop's nodes: a file of any length is read once and every
// trial Hc then costs one limiting loop. Any one thread per record.
#pragma once

#include <cstdint>

#include "model/model_state.h"

// Nodes of one branch of the limiting loop (entries 1..101 rising, 101..201 falling).
constexpr int kBranchNodes = 101;

// Sums of one branch, by the interval k (nodes k and k+1) that a point falls in. Between its
// nodes the limiting loop is the straight segment the program draws, so its value at a point
// with fraction t of the interval is (1 - t) B_k + t B_k+1, and every sum of squares is a
// combination of these per-interval sums.
struct BranchMoments {
    double node[kBranchNodes];   // normalised fields of the nodes, increasing
    double n[kBranchNodes - 1];  // number of points
    double t[kBranchNodes - 1];  // sum of t
    double tt[kBranchNodes - 1]; // sum of t^2
    double y[kBranchNodes - 1];  // sum of the measured B
    double yt[kBranchNodes - 1]; // sum of B t
};

// Both branches and the totals of the measured induction.
struct LoopMoments {
    BranchMoments branch[2]; // indexed by kAscending, kDescending (app/batch/loop_metrics.h)
    double H_scale;          // the data's field unit: its largest |H|, the model's Hs
    int64_t count;           // points added
    double sum_y;            // sum of the measured B
    double sum_yy;           // sum of the measured B^2
};

// The best Bs for one limiting loop and how well it fits.
struct LoopFit {
    double Bs;        // induction scale minimising the squared residuals (closed form)
    double sse;       // sum of the squared residuals at that Bs, never negative
    double rms;       // sqrt(sse / count)
    double r_squared; // 1 - sse / (sum of squared deviations of B from its mean)
};

// Starts empty sums on the node fields of m's limiting loop (Hmaj, which depends on no
// parameter), for data whose fields are H_scale times the normalised ones.
void loop_moments_begin(LoopMoments& moments, const ModelState& m, double H_scale);

// Adds the measured point (H, B) of the branch (kAscending or kDescending). A field beyond the
// outermost nodes extends the outermost interval.
void loop_moments_add(LoopMoments& moments, int branch, double H, double B);

// The fit of m's limiting loop (Bmaj) to the added points.
LoopFit loop_moments_fit(const LoopMoments& moments, const ModelState& m);
