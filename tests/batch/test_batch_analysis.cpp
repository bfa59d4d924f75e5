// The batch tool's loop analysis, run as a program: metrics, first-order reversal curves, the fit
// of Hc and Bs, and their answers to bad input.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/density_families.h"
#include "model/density_lorentz.h"
#include "model/everett_triangle.h"
#include "model/model_file.h"
#include "tests/batch/tool_run.h"

namespace {

void write_text(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

// "name,value[,value]" lines by name.
std::map<std::string, std::vector<double>> named_values(const std::string& text) {
    std::map<std::string, std::vector<double>> values;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::stringstream cells(line);
        std::string name, cell;
        std::getline(cells, name, ',');
        while (std::getline(cells, cell, ','))
            values[name].push_back(std::strtod(cell.c_str(), nullptr));
    }
    return values;
}

double value(const std::map<std::string, std::vector<double>>& v, const std::string& name,
             size_t column = 0) {
    const auto it = v.find(name);
    if (it == v.end() || it->second.size() <= column) {
        ADD_FAILURE() << "no " << name << " column " << column;
        return std::nan("");
    }
    return it->second[column];
}

// The points of "major" for Hc (the start-up Hc when hc is empty).
std::vector<std::vector<double>> limiting_loop(const std::string& hc) {
    const ToolRun r = hc.empty() ? run_tool({"major"}) : run_tool({"major", "--hc", hc});
    EXPECT_EQ(r.status, 0) << r.err;
    std::string header;
    return csv_rows(r.out, header);
}

std::string to_text(double x) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", x);
    return text;
}

// Density of the model: P(alpha, beta) = Kmax / ((1 + (alpha/Hc - 1/2)^2) (1 + (beta/Hc + 1/2)^2)).
double density(double Kmax, double Hc, double alpha, double beta) {
    const double a = alpha / Hc - 0.5, b = beta / Hc + 0.5;
    return Kmax / ((1.0 + a * a) * (1.0 + b * b));
}

// ---- fit ----

struct FitCase {
    double Hc;        // the Hc of the limiting loop that plays the measured loop
    double noise;     // standard deviation of the added noise, in units of Bs
    double tolerance; // relative tolerance of the fitted Hc and Bs
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << "Hc " << c.Hc << " noise " << c.noise;
}

class BatchFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(BatchFit, RecoversHcAndBsOfALimitingLoopInLaboratoryUnits) {
    const FitCase c = GetParam();
    const double kHs = 800.0, kBs = 1.6; // A/m and T
    std::mt19937 random(17);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::string text = "# a limiting loop scaled to laboratory units\nH (A/m),B (T)\n";
    for (const auto& p : limiting_loop(to_text(c.Hc)))
        text += to_text(p[0] * kHs) + "," + to_text((p[1] + c.noise * normal(random)) * kBs) + "\n";
    const std::string loop = temporary_path("fit_loop.csv");
    const std::string fitted = temporary_path("fit_out.csv");
    write_text(loop, text);
    std::remove(fitted.c_str());

    const ToolRun r = run_tool({"fit", "--loop", loop, "--out", fitted});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, ""); // R^2 >= 0.99: no warning
    const auto v = named_values(r.out);
    const double Hc = value(v, "Hc"), Bs = value(v, "Bs");
    EXPECT_NEAR(Hc / c.Hc, 1.0, c.tolerance);
    EXPECT_NEAR(Bs / kBs, 1.0, c.tolerance);
    EXPECT_NEAR(value(v, "Hs"), kHs, 1e-12 * kHs);
    EXPECT_LE(value(v, "limiting_loops"), 300.0);
    EXPECT_GE(value(v, "r_squared"), c.noise == 0.0 ? 1.0 - 1e-12 : 0.99);
    // Side by side: the measured loop's coercive field and the fitted loop's agree.
    EXPECT_NEAR(value(v, "coercive_field_mean", 1) / value(v, "coercive_field_mean", 0), 1.0,
                c.noise == 0.0 ? 1e-6 : 0.05);

    // The written loop is the limiting loop of the fitted Hc in the data's units.
    std::string header;
    const auto written = csv_rows(read_file(fitted), header);
    const auto model = limiting_loop(to_text(Hc));
    EXPECT_EQ(header, "H,B");
    ASSERT_EQ(written.size(), model.size());
    for (size_t i = 0; i < model.size(); ++i) {
        EXPECT_NEAR(written[i][0], model[i][0] * value(v, "Hs"), 1e-12 * kHs) << i;
        EXPECT_NEAR(written[i][1], model[i][1] * Bs, 1e-12 * kBs) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(RoundTrip, BatchFit,
                         ::testing::Values(FitCase{0.05, 0.0, 0.001}, FitCase{0.2, 0.0, 0.001},
                                           FitCase{0.4, 0.0, 0.001}, FitCase{0.7, 0.0, 0.001},
                                           FitCase{0.05, 0.01, 0.02}, FitCase{0.2, 0.01, 0.02},
                                           FitCase{0.4, 0.01, 0.02}, FitCase{0.7, 0.01, 0.02}));

TEST(BatchFitPoorly, AnswersTheBestValueWithAWarning) {
    // A loop run clockwise, rising above where it falls: no limiting loop of the model does.
    std::string text = "H,B\n";
    for (int i = 0; i <= 100; ++i) {
        const double H = i <= 50 ? -1 + i / 25.0 : 1 - (i - 50) / 25.0;
        text += to_text(H) + "," + to_text(H + (i <= 50 ? 0.2 : -0.2) * (1 - H * H)) + "\n";
    }
    const std::string loop = temporary_path("poor_loop.csv");
    write_text(loop, text);
    const ToolRun r = run_tool({"fit", "--loop", loop});
    EXPECT_EQ(r.status, 0);
    const double r_squared = value(named_values(r.out), "r_squared");
    EXPECT_LT(r_squared, 0.99);
    EXPECT_NE(r.err.find("warning"), std::string::npos);
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
}

// ---- metrics ----

// The branch through points [first, last] of a loop, linearly interpolated at H (the points'
// fields in order, rising or falling).
double branch_at(const std::vector<std::vector<double>>& p, size_t first, size_t last, double H) {
    for (size_t i = first; i < last; ++i) {
        const double a = p[i][0], b = p[i + 1][0];
        if ((H - a) * (H - b) <= 0.0) return p[i][1] + (H - a) * (p[i + 1][1] - p[i][1]) / (b - a);
    }
    return std::nan("");
}

struct MetricsCase {
    const char* name; // shown in listings
    std::string hc;   // --hc, or "" for the start-up Hc and Kmax
};

void PrintTo(const MetricsCase& c, std::ostream* os) {
    *os << c.name;
}

class BatchMetrics : public ::testing::TestWithParam<MetricsCase> {};

TEST_P(BatchMetrics, OfTheLimitingLoopMatchAFineGridComputation) {
    const MetricsCase c = GetParam();
    const ToolRun r = c.hc.empty() ? run_tool({"metrics"}) : run_tool({"metrics", "--hc", c.hc});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto v = named_values(r.out);
    const auto p = limiting_loop(c.hc);
    ASSERT_EQ(p.size(), 201u);

    // The same points read from a file give the same numbers, digit for digit.
    const std::string file = temporary_path("metrics_loop.csv");
    write_text(file, (c.hc.empty() ? run_tool({"major"}) : run_tool({"major", "--hc", c.hc})).out);
    EXPECT_EQ(run_tool({"metrics", "--loop", file}).out, r.out);

    // A fine grid over the branches: points 0..100 rise, 100..200 fall.
    const int n = 200000;
    double area = 0.0, previous_gap = 0.0;
    double coercive[2] = {std::nan(""), std::nan("")};
    double previous[2] = {0.0, 0.0};
    for (int i = 0; i <= n; ++i) {
        const double H = -1.0 + 2.0 * i / n;
        const double B[2] = {branch_at(p, 0, 100, H), branch_at(p, 100, 200, H)};
        ASSERT_FALSE(std::isnan(B[0]) || std::isnan(B[1])) << H;
        const double gap = B[1] - B[0];
        if (i > 0) area += 0.5 * (gap + previous_gap) * (2.0 / n);
        for (int k = 0; k < 2; ++k) {
            if (i > 0 && std::isnan(coercive[k]) && previous[k] * B[k] <= 0.0)
                coercive[k] = H - (2.0 / n) * B[k] / (B[k] - previous[k]);
            previous[k] = B[k];
        }
        previous_gap = gap;
    }
    EXPECT_NEAR(value(v, "loop_area"), area, 1e-8);
    EXPECT_NEAR(value(v, "coercive_field_ascending"), coercive[0], 1e-12);
    EXPECT_NEAR(value(v, "coercive_field_descending"), coercive[1], 1e-12);
    EXPECT_NEAR(value(v, "remanence_ascending"), branch_at(p, 0, 100, 0.0), 1e-15);
    EXPECT_NEAR(value(v, "remanence_descending"), branch_at(p, 100, 200, 0.0), 1e-15);
    EXPECT_EQ(value(v, "field_max"), p[100][0]);
    EXPECT_EQ(value(v, "induction_at_field_max"), p[100][1]);
    EXPECT_EQ(value(v, "field_min"), p[0][0]);
    EXPECT_EQ(value(v, "induction_at_field_min"), p[0][1]);
    EXPECT_EQ(value(v, "points"), 201.0);

    // Mirror symmetry: P(alpha, beta) = P(-beta, -alpha) makes the falling branch the rising one
    // turned through 180 degrees, lowered by the shortfall of the top point below B = 1 (the
    // start-up Kmax, rounded to single precision, leaves 9e-8; a computed Kmax none).
    const double shortfall = 1.0 - value(v, "induction_at_field_max");
    EXPECT_NEAR(value(v, "remanence_ascending") + value(v, "remanence_descending"), -shortfall,
                1e-9);
    EXPECT_LE(
        std::fabs(value(v, "coercive_field_ascending") + value(v, "coercive_field_descending")),
        std::fabs(shortfall) + 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Loops, BatchMetrics,
                         ::testing::Values(MetricsCase{"startup", ""},
                                           MetricsCase{"computed_kmax", "0.4"},
                                           MetricsCase{"narrow", "0.05"}));

// ---- forc ----

struct ForcDensityCase {
    const char* sf;   // the smoothing factor given
    double clearance; // nodes compared lie this many steps from the grid's edges and from H = Hr
    double tolerance; // largest difference from P/2, as a fraction of the peak of P/2
};

void PrintTo(const ForcDensityCase& c, std::ostream* os) {
    *os << "SF " << c.sf;
}

class BatchForcDensity : public ::testing::TestWithParam<ForcDensityCase> {};

// SF 1 fits a quadratic to the 3 x 3 nodes around each node: its mixed term is the central
// difference, exact to a few tenths of a percent on this grid. SF 3 smooths over seven nodes,
// which flattens the peak a little.
TEST_P(BatchForcDensity, DistributionIsHalfTheModelDensity) {
    const ForcDensityCase c = GetParam();
    const double Hc = 0.4;
    const double Kmax = std::strtod(run_tool({"kmax", "--hc", "0.4"}).out.c_str(), nullptr);
    const ToolRun r =
        run_tool({"forc", "--hc", "0.4", "--reversals", "50", "--density", "--sf", c.sf});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string header;
    const auto rows = csv_rows(r.out, header);
    EXPECT_EQ(header, "Hr,H,B,rho");
    EXPECT_EQ(rows.size(), 50u * 51u / 2u); // curve i holds the fields from Hr_i up
    double peak = 0.0;
    for (const auto& row : rows)
        peak = std::fmax(peak, 0.5 * density(Kmax, Hc, row[1], row[0]));
    const double step = 2.0 / 49.0;
    const double keep = c.clearance * step;
    int compared = 0;
    for (const auto& row : rows) {
        // An empty last cell (no estimate there) leaves the row one short.
        const double Hr = row[0], H = row[1], rho = row.size() > 3 ? row[3] : std::nan("");
        if (std::fabs(Hr) > 1.0 - keep || std::fabs(H) > 1.0 - keep || H - Hr < keep) continue;
        ASSERT_FALSE(std::isnan(rho)) << Hr << " " << H;
        EXPECT_NEAR(rho, 0.5 * density(Kmax, Hc, H, Hr), c.tolerance * peak) << Hr << " " << H;
        ++compared;
    }
    EXPECT_GT(compared, 700);
}

INSTANTIATE_TEST_SUITE_P(Smoothing, BatchForcDensity,
                         ::testing::Values(ForcDensityCase{"1", 1.5, 0.02},
                                           ForcDensityCase{"3", 3.5, 0.05}));

TEST(BatchForc, CurvesRunFromTheFallingLimitingBranchUpToSaturation) {
    // Reversal fields and grid fields 0.02 apart: the fields of the limiting loop.
    const ToolRun r = run_tool({"forc", "--hc", "0.4", "--reversals", "101"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string header;
    const auto rows = csv_rows(r.out, header);
    EXPECT_EQ(header, "Hr,H,B");
    const auto loop = limiting_loop("0.4");
    ASSERT_EQ(rows.size(), 101u * 102u / 2u);
    size_t row = 0;
    for (int i = 0; i <= 100; ++i) {
        // The reversal point lies on the falling branch (loop point 200 - i).
        EXPECT_NEAR(rows[row][0], loop[200 - i][0], 1e-14);
        EXPECT_EQ(rows[row][1], rows[row][0]);
        EXPECT_NEAR(rows[row][2], loop[200 - i][1], 1e-9) << i;
        row += 101 - i;
    }
    // The curve of Hr = -1 is the rising branch.
    for (int j = 0; j <= 100; ++j)
        EXPECT_NEAR(rows[j][2], loop[j][1], 1e-9) << j;
    // The last curve is the point of positive saturation, where every curve ends.
    EXPECT_NEAR(rows.back()[2], loop[100][1], 1e-9);

    // Reversal fields between the grid's fields: each curve starts at its own reversal point.
    const ToolRun off = run_tool({"forc", "--hc", "0.4", "--reversals", "3", "--points", "4"});
    ASSERT_EQ(off.status, 0) << off.err;
    const auto off_rows = csv_rows(off.out, header);
    const std::vector<std::vector<double>> fields = {
        {-1, -1}, {-1, -1.0 / 3}, {-1, 1.0 / 3}, {-1, 1}, {0, 0}, {0, 1.0 / 3}, {0, 1}, {1, 1}};
    ASSERT_EQ(off_rows.size(), fields.size());
    for (size_t k = 0; k < fields.size(); ++k) {
        EXPECT_NEAR(off_rows[k][0], fields[k][0], 1e-15) << k;
        EXPECT_NEAR(off_rows[k][1], fields[k][1], 1e-15) << k;
    }
}

// ---- bad input ----

struct BadCase {
    const char* name;              // shown in listings
    const char* file;              // content of the loop file, or nullptr for no file
    std::vector<std::string> args; // "LOOP" stands for the loop file's path
    bool fit_only = false;         // metrics assembles this loop; only fit refuses it
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

class BatchBadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(BatchBadInput, ExitsTwoWithOneLineAndWritesNothing) {
    const BadCase c = GetParam();
    const std::string loop = temporary_path("bad_loop.csv");
    const std::string out = temporary_path("bad_out.csv");
    std::remove(loop.c_str());
    if (c.file) write_text(loop, c.file);
    write_text(out, "kept\n");
    std::vector<std::vector<std::string>> runs;
    std::vector<std::string> args;
    for (const std::string& a : c.args)
        args.push_back(a == "LOOP" ? loop : a);
    runs.push_back(args);
    if (c.file) {
        // A bad file is refused by metrics and by fit alike.
        if (!c.fit_only) runs.push_back({"metrics", "--loop", loop});
        runs.push_back({"fit", "--loop", loop, "--out", out});
    }
    for (const auto& run : runs) {
        const ToolRun r = run_tool(run);
        EXPECT_EQ(r.status, 2) << run[0];
        EXPECT_EQ(r.out, "") << run[0];
        ASSERT_FALSE(r.err.empty()) << run[0];
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << run[0] << ": " << r.err;
        EXPECT_EQ(read_file(out), "kept\n") << run[0];
    }
}

const std::string kLongLine = "0," + std::string(300, '1') + "\n";

INSTANTIATE_TEST_SUITE_P(
    Files, BatchBadInput,
    ::testing::Values(
        BadCase{"empty", "", {"metrics", "--loop", "LOOP"}},
        BadCase{"comments_only", "# nothing\nH,B\n", {"metrics", "--loop", "LOOP"}},
        BadCase{
            "text_in_a_column", "H,B\n-1,-1\n0,x\n1,1\n0,0.5\n-1,-1\n", {"fit", "--loop", "LOOP"}},
        BadCase{"nan", "-1,-1\n0,nan\n1,1\n0,0.5\n-1,-0.9\n", {"fit", "--loop", "LOOP"}},
        BadCase{"infinite", "-1,-1\n0,-0.5\ninf,1\n0,0.5\n-1,-0.9\n", {"fit", "--loop", "LOOP"}},
        BadCase{
            "beyond_double", "-1,-1\n0,-0.5\n1,1e999\n0,0.5\n-1,-0.9\n", {"fit", "--loop", "LOOP"}},
        BadCase{
            "three_columns", "-1,-1,0\n0,-0.5\n1,1\n0,0.5\n-1,-0.9\n", {"fit", "--loop", "LOOP"}},
        BadCase{"line_too_long", kLongLine.c_str(), {"metrics", "--loop", "LOOP"}},
        BadCase{"three_points", "-1,-1\n1,1\n-1,-0.9\n", {"metrics", "--loop", "LOOP"}},
        BadCase{"one_branch", "-1,-1\n-0.5,-0.5\n0,0.1\n0.5,0.5\n1,1\n", {"fit", "--loop", "LOOP"}},
        BadCase{"repeated_field",
                "-1,-1\n0,-0.5\n0,-0.4\n1,1\n0,0.5\n-1,-0.9\n",
                {"fit", "--loop", "LOOP"},
                true},
        BadCase{"unsorted",
                "-1,-1\n0.5,-0.5\n0,-0.2\n1,1\n0,0.5\n-1,-0.9\n",
                {"fit", "--loop", "LOOP"}},
        BadCase{"no_B_crossing", "-1,0.1\n0,0.2\n1,1\n0,0.5\n-1,0.2\n", {"fit", "--loop", "LOOP"}},
        BadCase{"no_H_crossing",
                "0.1,-1\n0.5,0.5\n1,1\n0.5,0.6\n0.2,-0.9\n",
                {"fit", "--loop", "LOOP"}}));

INSTANTIATE_TEST_SUITE_P(
    Arguments, BatchBadInput,
    ::testing::Values(
        BadCase{"missing_file", nullptr, {"metrics", "--loop", "LOOP"}},
        BadCase{"fit_without_loop", nullptr, {"fit", "--out", "x.csv"}},
        BadCase{"hc_and_loop", nullptr, {"metrics", "--hc", "0.4", "--loop", "LOOP"}},
        BadCase{"fit_with_hc", nullptr, {"fit", "--hc", "0.4", "--loop", "LOOP"}},
        BadCase{"no_reversals", nullptr, {"forc", "--hc", "0.4"}},
        BadCase{"negative_reversals", nullptr, {"forc", "--reversals", "-5"}},
        BadCase{"zero_reversals", nullptr, {"forc", "--reversals", "0"}},
        BadCase{"one_reversal", nullptr, {"forc", "--reversals", "1"}},
        BadCase{"many_reversals", nullptr, {"forc", "--reversals", "1001"}},
        BadCase{"absurd_reversals", nullptr, {"forc", "--reversals", "1e12"}},
        BadCase{"zero_points", nullptr, {"forc", "--reversals", "5", "--points", "0"}},
        BadCase{"absurd_points", nullptr, {"forc", "--reversals", "5", "--points", "99999999999"}},
        BadCase{
            "density_with_a_value", nullptr, {"forc", "--reversals", "5", "--density", "yes"}}));

// ---- long files ----

// Largest resident size of the waited-for child processes so far, in kilobytes.
long children_max_rss() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

// A loop of count points, half rising and half falling.
void write_long_loop(const std::string& path, int count) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const int half = count / 2;
    for (int i = 0; i < half; ++i) {
        const double H = -1.0 + 2.0 * i / (half - 1);
        std::fprintf(f, "%.9g,%.9g\n", H, std::tanh(4.0 * (H - 0.3)));
    }
    for (int i = 0; i < half; ++i) {
        const double H = 1.0 - 2.0 * (i + 0.5) / half;
        std::fprintf(f, "%.9g,%.9g\n", H, std::tanh(4.0 * (H + 0.3)));
    }
    std::fclose(f);
}

TEST(BatchLongFile, IsReadAsAStreamInBoundedMemory) {
    const std::string small = temporary_path("small_loop.csv");
    const std::string large = temporary_path("large_loop.csv");
    write_long_loop(small, 10000);
    write_long_loop(large, 1000000);
    const ToolRun small_fit = run_tool({"fit", "--loop", small});
    ASSERT_EQ(small_fit.status, 0) << small_fit.err;
    const long small_rss = children_max_rss();
    const ToolRun large_fit = run_tool({"fit", "--loop", large});
    ASSERT_EQ(large_fit.status, 0) << large_fit.err;
    const long large_rss = children_max_rss();
    std::remove(large.c_str());
    // Keeping the million points would take 16 MB; streaming takes nothing more.
    EXPECT_LT(large_rss - small_rss, 4 * 1024) << small_rss << " kB, then " << large_rss << " kB";
    // The same loop, sampled a hundred times more finely, fits the same Hc.
    EXPECT_NEAR(value(named_values(large_fit.out), "Hc"), value(named_values(small_fit.out), "Hc"),
                1e-3);
}

} // namespace

// ---- forc --measured ----

// Reversal curves as "Hr,H,M" lines: n curves on a grid of step 0.1, M = tanh of the field.
std::string forc_columns(int n) {
    std::string text = "Hr,H,M\n";
    for (int i = 0; i < n; ++i) {
        const double Hr = -1.0 + 0.1 * i;
        for (int j = i; j < n; ++j) {
            const double H = -1.0 + 0.1 * j;
            text += to_text(Hr) + "," + to_text(H) + "," + to_text(std::tanh(2 * H + Hr)) + "\n";
        }
    }
    return text;
}

class BatchForcBadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(BatchForcBadInput, ExitsTwoWithOneLineAndDrawsNothing) {
    const BadCase c = GetParam();
    const std::string file = temporary_path("bad_forc.csv");
    const std::string picture = temporary_path("bad_forc.png");
    write_text(file, c.file);
    std::remove(picture.c_str());
    std::vector<std::string> args = {"forc", "--measured", file};
    args.insert(args.end(), c.args.begin(), c.args.end());
    for (bool draw : {false, true}) {
        std::vector<std::string> run = args;
        if (draw) run.insert(run.end(), {"--picture", picture});
        const ToolRun r = run_tool(run);
        EXPECT_EQ(r.status, 2) << draw;
        EXPECT_EQ(r.out, "") << draw;
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_EQ(read_file(picture), "");
    }
}

const std::string kGoodForc = forc_columns(12);

INSTANTIATE_TEST_SUITE_P(
    Files, BatchForcBadInput,
    ::testing::Values(BadCase{"one_curve", "Hr,H,M\n0,0,1\n0,0.1,2\n0,0.2,3\n0,0.3,4\n", {}},
                      BadCase{"one_point_curves", "0,0,1\n0.1,0.1,1\n0.2,0.2,1\n0.3,0.3,1\n", {}},
                      BadCase{"reversal_above_its_curve",
                              "0,0,1\n0,0.1,2\n0.5,0.1,1\n0.5,0.2,2\n0.6,0.6,1\n0.6,0.7,2\n",
                              {}},
                      BadCase{"nan", "0,0,1\n0,0.1,nan\n0.1,0.1,1\n0.1,0.2,2\n", {}},
                      BadCase{"infinite", "0,0,1\n0,inf,1\n0.1,0.1,1\n0.1,0.2,2\n", {}},
                      BadCase{"text", "0,0,1\n0,x,1\n0.1,0.1,1\n0.1,0.2,2\n", {}},
                      BadCase{"no_calibration_for_drift", kGoodForc.c_str(), {"--drift"}},
                      BadCase{"sf_too_large_for_the_grid", kGoodForc.c_str(), {"--sf", "6"}},
                      BadCase{"sf_zero", kGoodForc.c_str(), {"--sf", "0"}},
                      BadCase{"measured_with_hc", kGoodForc.c_str(), {"--hc", "0.4"}}));

// A regular grid of curves with gaps (every third curve missing) still gives a distribution
// and a picture; the columns M = tanh(2 H + Hr) have rho = -1/2 d2M/(dHr dH) in closed form.
TEST(BatchForcMeasured, ColumnsWithGapsGiveTheDistributionAndAPicture) {
    std::string text = "Hr,H,M\n";
    const double step = 0.02;
    for (int i = 0; i < 100; ++i) {
        if (i % 3 == 2) continue;
        const double Hr = -1.0 + step * i;
        for (int j = i; j < 100; ++j) {
            const double H = -1.0 + step * j;
            text += to_text(Hr) + "," + to_text(H) + "," + to_text(std::tanh(2 * H + Hr)) + "\n";
        }
    }
    const std::string file = temporary_path("gaps_forc.csv");
    write_text(file, text);
    const ToolRun r = run_tool({"forc", "--measured", file, "--sf", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string header;
    std::stringstream in(r.out);
    std::string line, rest;
    while (std::getline(in, line))
        if (line.empty() || line[0] != '#') rest += line + "\n";
    const auto rows = csv_rows(rest, header);
    EXPECT_EQ(header, "Hr,H,Bc,Bu,rho");
    int compared = 0;
    for (const auto& row : rows) {
        const double Hr = row[0], H = row[1];
        EXPECT_NEAR(row[2], 0.5 * (H - Hr), 1e-12);
        EXPECT_NEAR(row[3], 0.5 * (H + Hr), 1e-12);
        // d2/dHr dH tanh(x) with x = 2H + Hr is 2 tanh''(x) = -4 tanh(x) / cosh(x)^2.
        if (H - Hr < 0.2 || H > 0.8 || Hr < -0.8) continue;
        const double x = 2 * H + Hr;
        const double expected = 2.0 * std::tanh(x) / (std::cosh(x) * std::cosh(x));
        EXPECT_NEAR(row[4], expected, 0.03) << Hr << " " << H;
        ++compared;
    }
    EXPECT_GT(compared, 500);

    const std::string picture = temporary_path("gaps_forc.png");
    std::remove(picture.c_str());
    const ToolRun drawn = run_tool({"forc", "--measured", file, "--picture", picture});
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_EQ(read_file(picture).substr(1, 3), "PNG");
}

// The model's FORCs (the tool's answer to forc_args, 100 curves over [-1, 1]), each moment with
// 0.5 % seeded noise of its own size, read back as measured columns: the distribution's peak lies
// within one grid step of the density's (alpha_peak, beta_peak) in each of H and Hr, and its
// value within 5 % of P/2 there (P_peak).
void expect_noisy_forcs_peak_at(const std::vector<std::string>& forc_args, double alpha_peak,
                                double beta_peak, double P_peak, const std::string& name) {
    const ToolRun curves = run_tool(forc_args);
    ASSERT_EQ(curves.status, 0) << curves.err;
    std::string header;
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.005);
    std::string text = "Hr,H,M\n";
    const auto rows = csv_rows(curves.out, header);
    ASSERT_EQ(rows.size(), 100u * 101u / 2u);
    for (const auto& row : rows)
        text += to_text(row[0]) + "," + to_text(row[1]) + "," +
                to_text(row[2] * (1.0 + noise(random))) + "\n";
    const std::string file = temporary_path(name + ".csv");
    const std::string picture = temporary_path(name + ".svg");
    write_text(file, text);
    const ToolRun r = run_tool({"forc", "--measured", file, "--picture", picture});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto v = named_values(r.out);
    const double step = 2.0 / 99.0;
    EXPECT_NEAR(value(v, "step_Hr"), step, 1e-12);
    EXPECT_NEAR(value(v, "sf"), 3, 0);
    const double Bc = value(v, "peak_Bc"), Bu = value(v, "peak_Bu");
    // Within one step of the measured grid in each of H = Bu + Bc and Hr = Bu - Bc.
    EXPECT_NEAR(Bu + Bc, alpha_peak, step);
    EXPECT_NEAR(Bu - Bc, beta_peak, step);
    EXPECT_NEAR(value(v, "peak_rho") / (P_peak / 2), 1.0, 0.05);
    EXPECT_EQ(read_file(picture).substr(0, 5), "<?xml");
}

// The one-parameter Lorentzian (forc --hc 0.2) peaks at alpha = Hc/2, beta = -Hc/2
// (Bc = Hc/2, Bu = 0) with P = Kmax.
TEST(BatchForcMeasured, NoisyModelCurvesPeakWhereTheDensityPeaks) {
    const double Kmax = std::strtod(run_tool({"kmax", "--hc", "0.2"}).out.c_str(), nullptr);
    expect_noisy_forcs_peak_at({"forc", "--hc", "0.2", "--reversals", "100"}, 0.1, -0.1, Kmax,
                               "noisy_model_forc");
}

// The Lorentzian product of a model file (Hs = 1, Bs = 1) peaks at h = Hc0, u = 0, i.e.
// alpha = Hc0, beta = -Hc0, with P the density's norm there. Its widths (0.15 in both fields,
// about seven grid steps) keep the flattening by SF 3 smoothing to a few percent.
TEST(BatchForcMeasured, NoisyCurvesOfALorentzianProductPeakWhereItsDensityPeaks) {
    const double Hc0 = 0.3, dHc = 0.15, dHu = 0.15;
    Density d{find_density_family("lorentz2"), {Hc0, dHc, dHu}, 1.0, nullptr};
    ASSERT_NE(d.family, nullptr);
    density_normalise(d, 1.0);
    const double P_peak = density_value(d, Hc0, -Hc0);
    ASSERT_TRUE(std::isfinite(P_peak) && P_peak > 0.0);
    const std::string model = temporary_path("noisy_lorentz2_model.json");
    write_text(model, "{\"format\": \"hysteresis-model\", \"version\": 1, \"family\": "
                      "\"lorentz2\", \"parameters\": {\"Hc0\": " +
                          to_text(Hc0) + ", \"dHc\": " + to_text(dHc) +
                          ", \"dHu\": " + to_text(dHu) +
                          "}, \"units\": {\"H\": \"T\", \"B\": \"A m^2\"}, \"Hs\": 1, "
                          "\"Bs\": 1, \"reversible\": {}}");
    expect_noisy_forcs_peak_at({"forc", "--model", model, "--reversals", "100"}, Hc0, -Hc0, P_peak,
                               "noisy_lorentz2_forc");
}

// ---- identify ----

// The model's own curves (Hc = 0.2, fields already in units of Hs = 1) give back the model: Bs,
// the moment between the saturations, is 1; read back from the model file, the measured density
// integrates triangles as the Lorentzian does, and its differenced value at the peak
// (alpha = Hc/2, beta = -Hc/2) is Kmax.
TEST(BatchIdentify, ModelCurvesGiveBackTheDensity) {
    const ToolRun curves = run_tool({"forc", "--hc", "0.2", "--reversals", "100"});
    ASSERT_EQ(curves.status, 0) << curves.err;
    const double Kmax = std::strtod(run_tool({"kmax", "--hc", "0.2"}).out.c_str(), nullptr);
    std::string header;
    std::string text = "Hr,H,M\n";
    for (const auto& row : csv_rows(curves.out, header))
        text += to_text(row[0]) + "," + to_text(row[1]) + "," + to_text(row[2]) + "\n";
    const std::string file = temporary_path("identify_curves.csv");
    const std::string path = temporary_path("identify_model.json");
    write_text(file, text);
    std::remove(path.c_str());
    const ToolRun r = run_tool({"identify", "--forc", file, "--out", path});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto v = named_values(r.out);
    EXPECT_NEAR(value(v, "Hs"), 1.0, 1e-12);
    EXPECT_NEAR(value(v, "Bs"), 1.0, 1e-9);
    // The curve reversed at +Hs is a single point and carries no Everett values.
    EXPECT_EQ(value(v, "table_curves"), 99);

    ModelFile model;
    std::string error;
    ASSERT_TRUE(model_file_read(path, model, error)) << error;
    EXPECT_EQ(model.family, "measured");
    Density measured;
    ASSERT_TRUE(model_file_density(model, measured, error)) << error;
    const Density lorentz = lorentz_density(0.2, Kmax);
    const struct {
        TriangleForm form;
        double a, b;
    } triangles[] = {
        {TriangleForm::ascending, -1.0, 1.0},   {TriangleForm::ascending, -0.3, 0.4},
        {TriangleForm::descending, -0.05, 0.6}, {TriangleForm::descending, -0.7, 0.2},
        {TriangleForm::ascending, 0.1, 0.13},
    };
    for (const auto& t : triangles)
        EXPECT_NEAR(everett_triangle(measured, t.form, t.a, t.b),
                    everett_triangle(lorentz, t.form, t.a, t.b), 2e-3)
            << t.a << " .. " << t.b;
    EXPECT_NEAR(density_value(measured, 0.1, -0.1) / Kmax, 1.0, 0.05);

    // The batch commands compute with it as with any model file: its reversal curves are the
    // Lorentzian's.
    const ToolRun lorentz_forc = run_tool({"forc", "--hc", "0.2", "--reversals", "15"});
    const ToolRun measured_forc = run_tool({"forc", "--model", path, "--reversals", "15"});
    ASSERT_EQ(measured_forc.status, 0) << measured_forc.err;
    std::string header_measured;
    const auto want = csv_rows(lorentz_forc.out, header);
    const auto got = csv_rows(measured_forc.out, header_measured);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i][1], want[i][1]);
        EXPECT_NEAR(got[i][2], want[i][2], 2e-3) << "Hr " << got[i][0] << " H " << got[i][1];
    }
}

TEST(BatchIdentify, BadInputWritesNoModel) {
    const std::string file = temporary_path("identify_bad.csv");
    const std::string model = temporary_path("identify_bad.json");
    write_text(file, "Hr,H,M\n0,0,1\n0,0.1,2\n0,0.2,3\n0,0.3,4\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"identify", "--forc", file, "--out", model},
             {"identify", "--forc", file},
             {"identify", "--out", model},
             {"identify", "--forc", file, "--out", model, "--drift", "--no-drift"},
             {"identify", "--forc", file, "--out", model, "--sf", "2"}}) {
        std::remove(model.c_str());
        const ToolRun r = run_tool(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_EQ(read_file(model), "");
    }
}
