// A density family is a record and a file: a uniform density on the square |alpha|, |beta| <= w,
// defined here alone, runs through normalisation, the limiting loop and a reversal history with
// wiping out, and every B equals its Everett integral in closed form.
#include "model/density.h"
#include "model/everett_triangle.h"
#include "model/preisach.h"
#include "model/state_sequences.h"
#include "model_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

double half_width(const Density& d) {
    return d.parameter[0];
}

bool inside(const Density& d, double v) {
    return -half_width(d) <= v && v <= half_width(d);
}

double value(const Density& d, double alpha, double beta) {
    return inside(d, alpha) && inside(d, beta) ? d.norm : 0.0;
}

int no_peaks(const Density&, double*) {
    return 0;
}

double no_width(const Density&) {
    return 0.0;
}

// The length of the inner range at x within the square, times the density: linear in x between
// the fields where a limit meets an edge of the square or the other limit (it jumps at the edges),
// so the midpoint rule on those pieces is exact.
double inner_length(const Density& d, double x, const PieceLimits& y) {
    if (!inside(d, x)) return 0.0;
    const double w = half_width(d);
    const double lo = std::clamp(y.lower_is_x ? x : y.lower, -w, w);
    const double hi = std::clamp(y.upper_is_x ? x : y.upper, -w, w);
    return std::max(0.0, hi - lo) * d.norm;
}

double piece(const Density& d, TriangleForm, double x0, double x1, const PieceLimits& y) {
    const double w = half_width(d);
    std::vector<double> knots = {x0, x1};
    for (double k : {-w, w, y.lower, y.upper})
        if ((x0 < k && k < x1) || (x1 < k && k < x0)) knots.push_back(k);
    std::sort(knots.begin(), knots.end());
    double sum = 0.0;
    for (size_t i = 0; i + 1 < knots.size(); ++i) {
        const double a = knots[i], b = knots[i + 1];
        sum += (b - a) * inner_length(d, 0.5 * (a + b), y);
    }
    return x1 >= x0 ? sum : -sum;
}

int no_bends(const Density&, double*, double* width) {
    *width = 0.0;
    return 0;
}

const DensityParameter kParameters[] = {{"w", "half-width of the square, in units of Hs"}};
const DensityFamily kUniformSquare = {
    "square",    "uniform on a square",
    "norm",      1,
    kParameters, value,
    no_peaks,    no_width,
    no_bends,    piece,
    nullptr,
};

// The ascending and descending branches of the limiting loop in closed form, norm = 1/w^2.
double rising(double w, double H) {
    const double h = std::clamp(H, -w, w);
    return -1.0 + (h + w) * (h + w) / (2.0 * w * w);
}

} // namespace

TEST(DensityFamily, AFamilyOfItsOwnGivesItsClosedFormCurves) {
    const double w = 0.6;
    ModelState& m = opened_workspace();
    m.density = Density{&kUniformSquare, {w}, 0.0, nullptr};
    compute_kmax(m);
    EXPECT_NEAR(m.density.norm, 1.0 / (w * w), 1e-14);
    open_workspace_reset(m);
    for (int k = 1; k <= 201; ++k) {
        const double H = m.Hmaj[k];
        // The loop's descending half is the rising one turned about the origin.
        const double expected = k <= 101 ? rising(w, H) : -rising(w, -H);
        EXPECT_NEAR(m.Bmaj[k], expected, 1e-13) << "entry " << k << " at H = " << H;
    }
    // Up to 0.3, down to -0.2 (a minor loop inside the square), then up past 0.3: the reversal
    // pair is wiped out and the curve is back on the limiting loop.
    const double rise_03 = rising(w, 0.3);
    const struct {
        double Hn;
        double B;
    } steps[] = {
        {0.3, rise_03},
        {-0.2, rise_03 - 0.5 * 0.5 / (2.0 * w * w)},
        {0.1, rise_03 - 0.5 * 0.5 / (2.0 * w * w) + 0.3 * 0.3 / (2.0 * w * w)},
        {0.5, rising(w, 0.5)},
        {0.9, 1.0},
    };
    for (const auto& s : steps) {
        right_click(m, s.Hn);
        EXPECT_EQ(m.Hcur, s.Hn);
        EXPECT_NEAR(m.Bcur, s.B, 1e-13) << "after the move to " << s.Hn;
    }
}
