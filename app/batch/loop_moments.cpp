// The sums that compare a measured loop with a limiting loop in least squares.
#include "app/batch/loop_moments.h"

#include <cmath>

#include "app/batch/loop_metrics.h"

namespace {

// Entry of the limiting loop (1..201) that is node k of the branch, nodes in increasing field.
int loop_entry(int branch, int k) {
    return branch == kAscending ? 1 + k : 2 * kBranchNodes - 1 - k;
}

// The interval k with node[k] <= h < node[k+1], clamped to the outermost intervals.
int interval_of(const BranchMoments& b, double h) {
    const int last = kBranchNodes - 2;
    const double step = (b.node[last + 1] - b.node[0]) / (kBranchNodes - 1);
    double guess = std::floor((h - b.node[0]) / step);
    if (!(guess >= 0.0)) guess = 0.0;
    if (guess > last) guess = last;
    int k = static_cast<int>(guess);
    // The nodes are sums of rounded steps: the guess may be one interval off.
    while (k > 0 && h < b.node[k])
        --k;
    while (k < last && h >= b.node[k + 1])
        ++k;
    return k;
}

} // namespace

void loop_moments_begin(LoopMoments& moments, const ModelState& m, double H_scale) {
    moments = LoopMoments{};
    moments.H_scale = H_scale;
    for (int branch : {kAscending, kDescending})
        for (int k = 0; k < kBranchNodes; ++k)
            moments.branch[branch].node[k] = m.Hmaj[loop_entry(branch, k)];
}

void loop_moments_add(LoopMoments& moments, int branch, double H, double B) {
    BranchMoments& b = moments.branch[branch];
    const double h = H / moments.H_scale;
    const int k = interval_of(b, h);
    const double t = (h - b.node[k]) / (b.node[k + 1] - b.node[k]);
    b.n[k] += 1.0;
    b.t[k] += t;
    b.tt[k] += t * t;
    b.y[k] += B;
    b.yt[k] += B * t;
    ++moments.count;
    moments.sum_y += B;
    moments.sum_yy += B * B;
}

LoopFit loop_moments_fit(const LoopMoments& moments, const ModelState& m) {
    // With model values u = (1 - t) B_k + t B_k+1: sum u^2 and sum y u over every point.
    double uu = 0.0, yu = 0.0;
    for (int branch : {kAscending, kDescending}) {
        const BranchMoments& b = moments.branch[branch];
        for (int k = 0; k < kBranchNodes - 1; ++k) {
            if (b.n[k] == 0.0) continue;
            const double p = m.Bmaj[loop_entry(branch, k)];
            const double q = m.Bmaj[loop_entry(branch, k + 1)];
            const double one_minus_t_sq = b.n[k] - 2.0 * b.t[k] + b.tt[k];
            const double t_one_minus_t = b.t[k] - b.tt[k];
            uu += p * p * one_minus_t_sq + 2.0 * p * q * t_one_minus_t + q * q * b.tt[k];
            yu += p * (b.y[k] - b.yt[k]) + q * b.yt[k];
        }
    }
    LoopFit fit{};
    fit.Bs = uu > 0.0 ? yu / uu : 0.0;
    // Rounding may leave a tiny negative sum; a NaN must stay visible.
    const double sse = moments.sum_yy - fit.Bs * yu;
    fit.sse = sse < 0.0 ? 0.0 : sse;
    const double n = static_cast<double>(moments.count);
    fit.rms = n > 0.0 ? std::sqrt(fit.sse / n) : 0.0;
    const double total = moments.sum_yy - moments.sum_y * moments.sum_y / n;
    fit.r_squared = total > 0.0 ? 1.0 - fit.sse / total : 0.0;
    return fit;
}
