// The FORC diagrams of the measured FORC files (copies in tests/data/measured): the peak that the
// regression finds agrees with an independent estimate, box-averaged central differences on the
// curves interpolated to a regular grid; and the pictures are written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "forc/forc_distribution.h"
#include "forc/forc_drift.h"
#include "forc/forc_from_curves.h"
#include "forc/everett_build.h"
#include "forc/forc_regression.h"
#include "measure/series_reader.h"
#include "picture/forc_diagram.h"
#include "tests/support/measured_data.h"
#include "largest_field.h"

namespace {

// The moment of curve c at field H by linear interpolation; NaN outside the curve.
double moment_at(const ForcCurve& c, double H) {
    if (c.H.empty() || H < c.H.front() || H > c.H.back()) return std::nan("");
    const auto it = std::upper_bound(c.H.begin(), c.H.end(), H);
    if (it == c.H.end()) return c.M.back();
    const size_t k = static_cast<size_t>(it - c.H.begin());
    if (k == 0) return c.M.front();
    const double t = (H - c.H[k - 1]) / (c.H[k] - c.H[k - 1]);
    return c.M[k - 1] + t * (c.M[k] - c.M[k - 1]);
}

struct Peak {
    double Bc = 0, Bu = 0, rho = 0;
};

// The independent estimate: curves (sorted by Hr) interpolated at a regular H grid of step h,
// mixed central differences between neighbouring curves, averaged over (2 sf + 1)^2 cells; the
// largest value at Bc >= clearance.
Peak box_average_peak(std::vector<ForcCurve> curves, double h, int sf, double clearance) {
    std::sort(curves.begin(), curves.end(),
              [](const ForcCurve& a, const ForcCurve& b) { return a.Hr < b.Hr; });
    double low = curves.front().Hr, high = low;
    for (const ForcCurve& c : curves)
        high = std::max(high, c.H.back());
    const int columns = static_cast<int>((high - low) / h) + 1;
    const int rows = static_cast<int>(curves.size());
    std::vector<double> M(static_cast<size_t>(rows) * columns);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j)
            M[static_cast<size_t>(i) * columns + j] = moment_at(curves[i], low + j * h);
    // d[i][j]: -1/2 mixed difference of the cell between curves i, i + 1 and fields j, j + 1.
    std::vector<double> d(static_cast<size_t>(rows) * columns, std::nan(""));
    for (int i = 0; i + 1 < rows; ++i)
        for (int j = 0; j + 1 < columns; ++j) {
            const auto at = [&](int r, int c) { return M[static_cast<size_t>(r) * columns + c]; };
            const double mixed = at(i + 1, j + 1) - at(i + 1, j) - at(i, j + 1) + at(i, j);
            d[static_cast<size_t>(i) * columns + j] =
                -0.5 * mixed / ((curves[i + 1].Hr - curves[i].Hr) * h);
        }
    Peak best;
    for (int i = sf; i + sf + 1 < rows; ++i)
        for (int j = sf; j + sf + 1 < columns; ++j) {
            double sum = 0;
            int n = 0;
            for (int a = -sf; a <= sf; ++a)
                for (int b = -sf; b <= sf; ++b) {
                    const double v = d[static_cast<size_t>(i + a) * columns + j + b];
                    if (!std::isfinite(v)) goto next;
                    sum += v;
                    ++n;
                }
            {
                const double Hr = 0.5 * (curves[i].Hr + curves[i + 1].Hr);
                const double H = low + (j + 0.5) * h;
                const double Bc = 0.5 * (H - Hr);
                if (Bc >= clearance && sum / n > best.rho) best = {Bc, 0.5 * (H + Hr), sum / n};
            }
        next:;
        }
    return best;
}

struct MeasuredCase {
    const char* file; // the copy in tests/data/measured
    int curves;       // reversal curves the file holds
};

void PrintTo(const MeasuredCase& c, std::ostream* os) {
    *os << c.file;
}

class ForcMeasured : public ::testing::TestWithParam<MeasuredCase> {};

TEST_P(ForcMeasured, PeakAgreesWithBoxAveragedDifferencesAndPicturesAreWritten) {
    const MeasuredCase c = GetParam();
    ForcCurves curves;
    std::string error;
    ASSERT_TRUE(read_forc_file(measured_file(c.file), curves, error)) << error;
    ASSERT_TRUE(forc_correct_drift(curves, error)) << error;
    ForcTable table;
    ASSERT_TRUE(forc_table_from_curves(curves, table, error)) << error;
    EXPECT_EQ(static_cast<int>(forc_table_curves(table)), c.curves);
    const int sf = 3;
    ForcGrid grid;
    forc_distribution_coercive(table, sf, 400, grid);
    const double clearance = forc_ridge_clearance(table, sf);
    ForcPeak peak;
    forc_grid_peak(grid, clearance, forc_peak_reach(table, sf, grid), peak);
    ASSERT_TRUE(peak.found);
    const Peak found = {peak.x, peak.y, peak.rho};
    const Peak independent = box_average_peak(curves.curves, table.step_H, sf, clearance);
    const double step = std::max(table.step_H, table.step_Hr);
    std::printf("%s: peak Bc %.2f mT Bu %.2f mT rho %.4g; box average Bc %.2f mT Bu %.2f mT "
                "rho %.4g\n",
                c.file, 1e3 * found.Bc, 1e3 * found.Bu, found.rho, 1e3 * independent.Bc,
                1e3 * independent.Bu, independent.rho);
    EXPECT_NEAR(found.Bc, independent.Bc, 2 * step);
    EXPECT_NEAR(found.Bu, independent.Bu, 2 * step);
    EXPECT_NEAR(found.rho / independent.rho, 1.0, 0.15);

    ForcDiagramText text;
    text.title = c.file;
    text.sf = sf;
    text.axis_scale = 1000;
    text.axis_unit = "mT";
    text.scale_from = clearance;
    for (const char* ending : {".png", ".svg"}) {
        // Each file runs as a test of its own, possibly beside another: pictures of its own.
        const std::string path =
            ::testing::TempDir() + "forc_diagram_" + std::to_string(::getpid()) + ending;
        std::remove(path.c_str());
        ASSERT_TRUE(write_forc_diagram(path, grid, text, error)) << error;
        std::FILE* f = std::fopen(path.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        char head[8] = {};
        EXPECT_GT(std::fread(head, 1, sizeof head, f), 4u);
        std::fclose(f);
        EXPECT_EQ(std::string(head, 4), ending[1] == 'p' ? "\x89PNG" : "<?xm") << path;
    }
}

// The Everett function tabulated on the even-numbered curves predicts the odd-numbered ones (RMS
// at most 1 % of the moment at the largest field) and the upper branch of the major loop, the
// locus of the reversal points (every point within 2 %).
TEST_P(ForcMeasured, EverettFunctionOfEvenCurvesPredictsTheOddOnes) {
    const MeasuredCase c = GetParam();
    ForcCurves curves;
    std::string error;
    ASSERT_TRUE(read_forc_file(measured_file(c.file), curves, error)) << error;
    ASSERT_TRUE(forc_correct_drift(curves, error)) << error;
    ForcCurves even, odd;
    for (size_t k = 0; k < curves.curves.size(); ++k)
        (k % 2 == 1 ? even : odd).curves.push_back(curves.curves[k]);
    ForcTable table;
    ASSERT_TRUE(forc_table_from_curves(even, table, error)) << error;
    EverettTable everett;
    ASSERT_TRUE(everett_table_build(table, everett, error)) << error;
    ReversalBranch upper;
    everett_reversal_branch(everett, upper);
    // The moment at the largest field of the file.
    const double M_top = largest_field(curves).M;
    double sum = 0.0, branch_worst = 0.0;
    size_t count = 0;
    for (const ForcCurve& curve : odd.curves) {
        if (curve.Hr < everett.Hr.front() || curve.Hr > everett.Hr.back()) continue;
        for (size_t p = 0; p < curve.H.size(); ++p) {
            const double e = everett_forc_moment(everett, upper, curve.Hr, curve.H[p]) - curve.M[p];
            sum += e * e;
            ++count;
        }
        branch_worst = std::max(
            branch_worst,
            std::fabs(everett_forc_moment(everett, upper, curve.Hr, curve.Hr) - curve.M[0]));
    }
    ASSERT_GT(count, 1000u);
    const double rms = std::sqrt(sum / static_cast<double>(count)) / std::fabs(M_top);
    const double branch = branch_worst / std::fabs(M_top);
    std::printf(
        "%s: odd curves RMS %.4f %%, upper branch worst %.4f %% of M at the largest field\n",
        c.file, 100 * rms, 100 * branch);
    EXPECT_LE(rms, 0.01);
    EXPECT_LE(branch, 0.02);
}

INSTANTIATE_TEST_SUITE_P(Files, ForcMeasured,
                         ::testing::Values(MeasuredCase{"micromag_agm_forc_conventional.frc", 120},
                                           MeasuredCase{"micromag_vsm_forc_UB199BF.frc", 140}));

} // namespace
