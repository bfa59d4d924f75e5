// The FORC distribution's known answer on the model's own curves, the drift correction and the
// table's refusals of curves that cannot carry a distribution.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/batch/batch_common.h"
#include "app/batch/forc_command.h"
#include "forc/forc_distribution.h"
#include "forc/forc_drift.h"
#include "forc/forc_from_curves.h"
#include "forc/forc_regression.h"
#include "forc/forc_table.h"

namespace {

// The model's reversal curves for Hc on an n x n grid of [-1, 1], each from its reversal point.
ForcCurves model_curves(double Hc, int32_t n, double& Kmax) {
    static ModelState m;
    batch_set_parameter(m, Hc);
    Kmax = m.density.norm;
    ForcCurves curves;
    std::vector<double> B(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        ForcCurve c;
        c.Hr = forc_grid_field(n, i);
        int32_t first = 0;
        while (first < n - 1 && forc_grid_field(n, first) < c.Hr)
            ++first;
        double B_reversal = 0.0;
        compute_forc_curve(m, c.Hr, n, first, B.data(), B_reversal);
        if (forc_grid_field(n, first) != c.Hr) {
            c.H.push_back(c.Hr);
            c.M.push_back(B_reversal);
        }
        for (int32_t j = first; j < n; ++j) {
            c.H.push_back(forc_grid_field(n, j));
            c.M.push_back(B[static_cast<size_t>(j)]);
        }
        curves.curves.push_back(c);
    }
    return curves;
}

// The Lorentzian density of the model peaks at alpha = Hc/2, beta = -Hc/2 with the value Kmax, so
// the distribution peaks at H = Hc/2, Hr = -Hc/2 with Kmax / 2. 100 curves, each moment with 0.5 %
// seeded noise of its own size, smoothed with SF 3. (Over fifty seeds the peak's place stays
// within 0.85 steps and its value within 0.951 to 1.025 of Kmax / 2.)
TEST(ForcKnownAnswer, PeakOfNoisyModelCurvesLiesWhereTheDensityPeaks) {
    const double Hc = 0.2;
    double Kmax = 0.0;
    ForcCurves curves = model_curves(Hc, 100, Kmax);
    std::mt19937 random(2024);
    std::normal_distribution<double> noise(0.0, 0.005);
    for (ForcCurve& c : curves.curves)
        for (double& M : c.M)
            M *= 1.0 + noise(random);
    ForcTable table;
    std::string error;
    ASSERT_TRUE(forc_table_from_curves(curves, table, error)) << error;
    ASSERT_TRUE(forc_check_smoothing(table, 3, error)) << error;
    ForcGrid grid;
    forc_distribution_fields(table, 3, grid);
    ForcPeak peak;
    forc_grid_peak(grid, -HUGE_VAL, forc_peak_reach(table, 3, grid), peak);
    ASSERT_TRUE(peak.found);
    EXPECT_NEAR(peak.x, Hc / 2, grid.dx);
    EXPECT_NEAR(peak.y, -Hc / 2, grid.dy);
    EXPECT_NEAR(peak.rho / (Kmax / 2), 1.0, 0.05);
}

// A drift of the sensitivity, seen by the calibration points, is taken out of every point.
TEST(ForcDrift, ScalingSeenByTheCalibrationIsUndone) {
    ForcCurves curves;
    const int n = 5, points = 4;
    // The factor drifts linearly with the measurement's progress: calibration k at step
    // k (points + 1), point p of curve k at step k (points + 1) + p + 1.
    const auto factor = [&](int step) { return 1.0 + 0.002 * step; };
    for (int k = 0; k < n; ++k) {
        ForcCurve c;
        c.has_calibration = true;
        c.Hcal = 1.0;
        c.Mcal = 2.0 * factor(k * (points + 1));
        c.Hr = -1.0 + 0.1 * k;
        for (int p = 0; p < points; ++p) {
            c.H.push_back(c.Hr + 0.1 * p);
            c.M.push_back((0.5 + p) * factor(k * (points + 1) + p + 1));
        }
        curves.curves.push_back(c);
    }
    std::string error;
    ASSERT_TRUE(forc_correct_drift(curves, error)) << error;
    for (int k = 0; k + 1 < n; ++k)
        for (int p = 0; p < points; ++p)
            EXPECT_NEAR(curves.curves[k].M[p], 0.5 + p, 1e-12) << k << " " << p;
    curves.curves[2].has_calibration = false;
    EXPECT_FALSE(forc_correct_drift(curves, error));
    EXPECT_NE(error.find("curve 3"), std::string::npos) << error;
}

struct TableCase {
    const char* name;                      // shown in listings
    std::vector<std::vector<double>> rows; // per curve: Hr, then H, M pairs
    const char* words;                     // part of the refusal
};

void PrintTo(const TableCase& c, std::ostream* os) {
    *os << c.name;
}

class ForcTableRefusal : public ::testing::TestWithParam<TableCase> {};

TEST_P(ForcTableRefusal, RefusesWithOneLine) {
    const TableCase c = GetParam();
    ForcTable table;
    for (const auto& row : c.rows) {
        std::vector<double> H, M;
        for (size_t i = 1; i + 1 < row.size(); i += 2) {
            H.push_back(row[i]);
            M.push_back(row[i + 1]);
        }
        forc_table_add_curve(table, row[0], H.data(), M.data(), H.size());
    }
    std::string error;
    EXPECT_FALSE(forc_table_finish(table, error));
    EXPECT_NE(error.find(c.words), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
}

const double kNaN = std::nan("");

INSTANTIATE_TEST_SUITE_P(
    Curves, ForcTableRefusal,
    ::testing::Values(
        TableCase{"one_curve", {{0.0, 0.0, 1.0, 0.1, 1.1, 0.2, 1.2}}, "only one"},
        TableCase{"one_point_curve",
                  {{0.0, 0.0, 1.0}, {0.1, 0.1, 1.0, 0.2, 1.1}, {0.2, 0.2, 1.0, 0.3, 1.1}},
                  "single point"},
        TableCase{"reversal_above_curve",
                  {{0.0, 0.0, 1.0, 0.1, 1.1}, {0.5, 0.1, 1.0, 0.2, 1.1}},
                  "above the curve"},
        TableCase{"nan_moment", {{0.0, 0.0, 1.0, 0.1, kNaN}, {0.1, 0.1, 1.0, 0.2, 1.1}}, "finite"},
        TableCase{"infinite_field",
                  {{0.0, 0.0, 1.0, HUGE_VAL, 1.0}, {0.1, 0.1, 1.0, 0.2, 1.1}},
                  "finite"}));

// A smoothing factor whose neighbourhood is wider than the grid is refused.
TEST(ForcSmoothing, FactorTooLargeForTheGridIsRefused) {
    double Kmax = 0.0;
    const ForcCurves curves = model_curves(0.4, 8, Kmax);
    ForcTable table;
    std::string error;
    ASSERT_TRUE(forc_table_from_curves(curves, table, error)) << error;
    EXPECT_TRUE(forc_check_smoothing(table, 3, error)) << error;
    EXPECT_FALSE(forc_check_smoothing(table, 4, error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
}

} // namespace
