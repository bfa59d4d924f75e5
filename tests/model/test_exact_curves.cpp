// How far the model's B is from the exact Everett integrals, over seeded mouse-like histories at
// every accepted Hc, and against the exact curves kept with the reference data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "model/density_lorentz.h"
#include "exact_everett.h"
#include "model/curve_construction.h"
#include "model/execute_cycles.h"
#include "model/preisach.h"
#include "model/state_sequences.h"
#include "model_fixture.h"
#include "numerics/dtwodq_template.h"
#include "tests/support/reference_data.h"
#include "text/output_unit.h"

namespace {

std::vector<std::string> g_lines;
void capture_line(int, const char* line, int length) {
    g_lines.emplace_back(line, length);
}

// Open workspace with the given Hc, from negative or positive saturation.
ModelState& workspace(double Hc, bool start_negative) {
    ModelState& m = opened_workspace(Hc);
    if (!start_negative) apply_settings(m, m.Smem, m.Amem, false);
    return m;
}

void execute(ModelState& m, double Hn, int32_t Ncyc, int32_t mode) {
    m.Hn = Hn;
    m.Ncyc = Ncyc;
    m.CycleMode = mode;
    execute_cycles(m, nullptr);
}

// A user's session: right clicks at pixel positions up to |H| = 2, cyclic Executes and spirals
// (whose first legs overshoot), from the seed.
void mouse_like_history(ModelState& m, uint32_t seed) {
    std::mt19937 rng(seed);
    auto uniform = [&rng](double lo, double hi) { return lo + (hi - lo) * (rng() % 100001) / 1e5; };
    const double pixel = m.HperPixel;
    for (int action = 0; action < 7; ++action) {
        const uint32_t kind = rng() % 10;
        const double target = std::round(uniform(-2.0, 2.0) / pixel) * pixel;
        if (kind < 6)
            right_click(m, target);
        else if (kind < 8)
            execute(m, target / 2, 1 + static_cast<int32_t>(rng() % 3), 1);
        else
            execute(m, uniform(-0.5, 0.5), 1 + static_cast<int32_t>(rng() % 3), 2);
    }
}

// Out to the largest accepted fields and back into the plot, both ways.
void far_moves(ModelState& m) {
    for (const double H : {1000.0, -0.3, 0.2, -1000.0, 0.1})
        right_click(m, H);
}

// The largest |B - B_exact| over the drawn curve, and where it is.
struct Worst {
    double error = 0.0;
    double H = 0.0;
    size_t index = 0;
};

std::ostream& operator<<(std::ostream& out, const Worst& w) {
    return out << w.error << " at point " << w.index << " (H = " << w.H << ")";
}

Worst largest_error(const ModelState& m, bool start_negative) {
    const std::vector<double> H = drawn_H(m);
    const std::vector<double> B = drawn_B(m);
    const ExactDensity d{m.density.parameter[kLorentzHc],
                         m.density.parameter[kLorentzHc] == kStartupHc
                             ? m.density.norm
                             : exact_kmax(m.density.parameter[kLorentzHc])};
    const std::vector<double> exact = exact_curve(d, H, B[0], start_negative ? 1 : -1);
    Worst w;
    for (size_t i = 0; i < B.size(); ++i) {
        const double e = std::fabs(B[i] - exact[i]);
        if (!(e <= w.error)) w = Worst{e, H[i], i};
    }
    return w;
}

// The largest |B - B_exact| allowed with fields within |H| <= 2: 1e-9 at every accepted Hc (at
// and above kLorentzClosedBelowHc from the two-dimensional quadrature with the triangles cut at
// the peaks, below it from the closed-form inner integral).
double bound_for(double) {
    return 1e-9;
}
// With moves out to |H| = 1000: the two-dimensional quadrature's own tolerance, and 1e-9 where
// the inner integral is in closed form.
double far_bound_for(double Hc) {
    return Hc < kLorentzClosedBelowHc ? 1e-9 : 1e-2;
}

// The largest |B| over the drawn curve beyond the larger of 1 and the exact curve's own |B|
// there (the exact B passes 1 far beyond the saturation field, by the density's tail).
double largest_excess(const ModelState& m, bool start_negative) {
    const std::vector<double> H = drawn_H(m);
    const std::vector<double> B = drawn_B(m);
    const ExactDensity d{m.density.parameter[kLorentzHc],
                         exact_kmax(m.density.parameter[kLorentzHc])};
    const std::vector<double> exact = exact_curve(d, H, B[0], start_negative ? 1 : -1);
    double excess = 0.0;
    for (size_t i = 0; i < B.size(); ++i)
        excess = std::fmax(excess, std::fabs(B[i]) - std::fmax(1.0, std::fabs(exact[i])));
    return excess;
}

// Captures the standard output unit, where the quadrature would report.
class ExactCurves : public ::testing::TestWithParam<double> {
  protected:
    void SetUp() override {
        g_lines.clear();
        set_line_sink(capture_line);
    }
    void TearDown() override { set_line_sink(nullptr); }
};

// Seeded histories from both saturations, one with moves to +-1000 where the parameter asks for
// it; no message from the quadrature on any of them.
TEST_P(ExactCurves, MouseLikeHistoriesStayWithinTheirBounds) {
    const double Hc = GetParam();
    const bool with_far_moves = Hc == kStartupHc || Hc == 0.001;
    for (uint32_t seed = 1; seed <= (with_far_moves ? 3u : 2u); ++seed) {
        const bool start_negative = seed != 2;
        const bool far = seed == 3;
        ModelState& m = workspace(Hc, start_negative);
        if (far)
            far_moves(m);
        else
            mouse_like_history(m, seed * 7919u + static_cast<uint32_t>(Hc * 1e4));
        ASSERT_GE(m.Ndrawn, 1000);
        const Worst w = largest_error(m, start_negative);
        EXPECT_LE(w.error, far ? far_bound_for(Hc) : bound_for(Hc)) << "seed " << seed << ": " << w;
        // Where the inner integral is in closed form, B never passes saturation by more than
        // the exact curve does.
        if (Hc < kLorentzClosedBelowHc) {
            EXPECT_LE(largest_excess(m, start_negative), 1e-12) << "seed " << seed;
        }
    }
    EXPECT_TRUE(g_lines.empty()) << g_lines.front();
}

INSTANTIATE_TEST_SUITE_P(AcceptedHc, ExactCurves,
                         ::testing::Values(0.5, kStartupHc, 0.12, 0.05, 0.02, 0.01, 0.005, 0.002,
                                           0.001));

// The steps of an exact reference file, from its first line: "# Hc = X, ..., steps: to:H to:H".
struct ExactFile {
    double Hc = 0.0;
    std::vector<double> targets;
};

ExactFile parse_steps(const std::string& comment) {
    ExactFile f;
    f.Hc = std::strtod(comment.c_str() + comment.find("Hc = ") + 5, nullptr);
    for (size_t at = comment.find("to:"); at != std::string::npos; at = comment.find("to:", at + 3))
        f.targets.push_back(std::strtod(comment.c_str() + at + 3, nullptr));
    return f;
}

// The exact curves kept with the reference data: the same H values bit for bit, B within the
// bound of its Hc; and Kmax against the exact normalisation.
TEST(ExactReference, CurvesAndKmaxAreMetWithinTheirBounds) {
    for (const char* name : {"hc0.4_wipe_out.csv", "hc0.05_minor_loops.csv", "hc0.02_moves.csv",
                             "hc0.01_moves.csv", "hc0.001_moves.csv"}) {
        const ReferenceTable ref = read_reference(std::string("exact/") + name);
        ASSERT_TRUE(ref.ok) << "cannot read " << reference_file(std::string("exact/") + name);
        const ExactFile steps = parse_steps(ref.comment);
        ASSERT_FALSE(steps.targets.empty()) << name;
        ModelState& m =
            workspace(steps.Hc == static_cast<double>(0.4f) ? kStartupHc : steps.Hc, true);
        for (const double H : steps.targets)
            right_click(m, H);
        const std::vector<double> H = drawn_H(m);
        const std::vector<double> B = drawn_B(m);
        ASSERT_EQ(H.size(), ref.cols[0].size()) << name;
        for (size_t i = 0; i < H.size(); ++i) {
            ASSERT_EQ(H[i], ref.cols[0][i]) << name << " point " << i;
            ASSERT_LE(std::fabs(B[i] - ref.cols[1][i]), bound_for(m.density.parameter[kLorentzHc]))
                << name << " point " << i;
        }
    }
    const ReferenceTable kmax = read_reference("exact/kmax_exact.csv");
    ASSERT_TRUE(kmax.ok) << "cannot read " << reference_file("exact/kmax_exact.csv");
    for (size_t i = 0; i < kmax.cols[0].size(); ++i) {
        const double Hc = kmax.cols[0][i];
        if (Hc < 0.001) continue; // below the accepted range
        ModelState& m = workspace(kStartupHc, true);
        m.density.parameter[kLorentzHc] = Hc;
        compute_kmax(m);
        EXPECT_LE(std::fabs(m.density.norm / kmax.cols[1][i] - 1.0), bound_for(Hc))
            << "Hc = " << Hc;
    }
}

// A triangle of exactly 8 Hc is one quadrature call, bit for bit, and so is a wider one that no
// peak crosses (a peak on its end does not); a little wider with a peak inside is cut. Every one,
// in both forms, with reversed limits and of zero span, is close to the exact integral.
TEST(ExactReference, EightHcIsTheWidestUncutTriangle) {
    const double Hc = 0.125; // 8 Hc = 1 and the peak fields +-1/16 exactly
    ModelState& m = workspace(Hc, true);
    const ExactDensity d{Hc, m.density.norm};
    const double tiny = 0x1p-20;
    struct Case {
        int Dir;       // branch direction: ascending form from a, or descending form to a
        double a;      // the branch start
        double H;      // the field
        bool one_call; // computed by one quadrature call
    };
    const Case cases[] = {
        {1, -0.5, 0.5, true},          {1, -0.5, 0.5 + tiny, false}, {-1, 0.5, -0.5, true},
        {-1, 0.5, -0.5 - tiny, false}, {1, -0.0625, 0.9375, true},   {1, 0.0625, 1.5, true},
        {-1, 1.5, 0.0625, true},       {1, 0.5, -1.0, false},        {-1, -0.5, 1.0, false},
        {1, 0.3, 0.3, true},           {1, -1000.0, 1000.0, false},  {-1, 1000.0, -1000.0, false}};
    for (const Case& c : cases) {
        m.Krev = 0;
        m.Hrev[0] = c.a;
        m.Brev[0] = 0.0;
        m.Dir = c.Dir;
        const double B = everett_integral(m, c.H);
        const double exact =
            c.Dir > 0 ? exact_ascending(d, c.a, c.H) : -exact_descending(d, c.H, c.a);
        EXPECT_NEAR(B, exact, std::fabs(c.H) > 2 ? far_bound_for(Hc) : 1e-9)
            << c.a << " -> " << c.H;
        if (!c.one_call) continue;
        auto ascending = [&m](const double& x, const double& y) {
            return everett_density(m, x, y);
        };
        auto descending = [&m](const double& x, const double& y) {
            return everett_density(m, y, x);
        };
        auto identity = [](const double& x) { return x; };
        double R = 0.0;
        double errest = 0.0;
        if (c.Dir > 0) {
            const double a = c.a;
            dtwodq_t(
                ascending, c.a, c.H, [a](const double&) { return a; }, identity, 0.0,
                kEverettErrRel, kEverettRule, R, errest);
        } else {
            const double b = c.a;
            dtwodq_t(
                descending, c.H, c.a, identity, [b](const double&) { return b; }, 0.0,
                kEverettErrRel, kEverettRule, R, errest);
        }
        EXPECT_EQ(B, c.Dir * R) << c.a << " -> " << c.H;
    }
    EXPECT_TRUE(g_lines.empty());
}

} // namespace
