// Curve construction: step choice, reversals, wiping out, the bounds and the mends.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model/curve_construction.h"
#include "model/model_seams.h"
#include "model/preisach.h"
#include "model_fixture.h"
#include "text/output_unit.h"

namespace {

std::vector<std::string> g_lines;

void capture_line(int, const char* line, int length) {
    g_lines.emplace_back(line, length);
}

int g_started = 0;
void count_start() {
    ++g_started;
}

// Captures the standard output unit and restores the defaults and the curve bound afterwards.
class Construction : public ::testing::Test {
  protected:
    void SetUp() override {
        g_lines.clear();
        g_started = 0;
        set_line_sink(capture_line);
        set_construction_started(count_start);
    }
    void TearDown() override {
        set_line_sink(nullptr);
        set_construction_started(nullptr);
        set_curve_bound_for_testing(kCurveBound);
    }
};

TEST_F(Construction, LongMoveTakes300StepsLandingOnHn) {
    ModelState& m = opened_workspace();
    right_click(m, 0.0);
    g_started = 0;
    m.HperPixel = std::ldexp(1.0, -10);
    const int32_t M = m.Ndrawn;
    m.Hn = 0.5;
    construct_to_hn(m);
    EXPECT_EQ(m.met, kMetFinished);
    ASSERT_EQ(m.Nnew, 300);
    EXPECT_EQ(m.dH, 0.5 * (1.0 / 300.0));
    double H = 0.0;
    for (int k = 1; k < 300; ++k) {
        H = H + m.dH;
        EXPECT_EQ(m.Hcurve[M + k], H) << k;
    }
    EXPECT_EQ(m.Hcurve[M + 300], 0.5);
    EXPECT_EQ(m.Hcur, 0.5);
    EXPECT_EQ(m.Bcur, m.Bcurve[M + 300]);
    EXPECT_EQ(g_started, 1);
}

TEST_F(Construction, ShortMoveStepsAboutOnePixel) {
    ModelState& m = opened_workspace();
    right_click(m, 0.0);
    m.HperPixel = std::ldexp(1.0, -7);
    const int32_t M = m.Ndrawn;
    m.Hn = 0.5;
    construct_to_hn(m);
    ASSERT_EQ(m.Nnew, 64);
    EXPECT_EQ(m.dH, std::ldexp(1.0, -7));
    for (int k = 1; k <= 64; ++k)
        EXPECT_EQ(m.Hcurve[M + k], k * std::ldexp(1.0, -7)) << k;
}

TEST_F(Construction, ZeroMoveAppendsTenCopiesOfTheCurrentPoint) {
    ModelState& m = opened_workspace();
    right_click(m, 0.3);
    const int32_t M = m.Ndrawn;
    m.Hn = m.Hcur;
    construct_to_hn(m);
    ASSERT_EQ(m.Nnew, 10);
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(m.Hcurve[M + k], m.Hcurve[M]);
        EXPECT_EQ(m.Bcurve[M + k], m.Bcurve[M]);
    }
}

TEST_F(Construction, GoingBelowTheStartRecordsAReversalAtTheStart) {
    ModelState& m = opened_workspace();
    right_click(m, -1.5);
    EXPECT_EQ(m.Krev, 1);
    EXPECT_EQ(m.Dir, -1.0);
    EXPECT_EQ(m.Hrev[1], -1.0);
    EXPECT_EQ(m.Brev[1], -1.0);
    EXPECT_LT(m.Bcur, -1.0);
}

TEST_F(Construction, ClosedMinorLoopIsWipedOutWithOneClosurePoint) {
    ModelState& m = opened_workspace();
    right_click(m, 0.5);
    const int32_t top = m.Ndrawn;
    right_click(m, 0.0);
    EXPECT_EQ(m.Krev, 1);
    const int32_t M = m.Ndrawn;
    m.Hn = 0.7;
    construct_to_hn(m);
    // The first step records the reversal at 0 (Krev 2), the step past 0.5 wipes the pair out.
    EXPECT_EQ(m.Hrev[2], 0.0);
    EXPECT_EQ(m.Krev, 0);
    commit_new_points(m);
    EXPECT_EQ(m.Dir, 1.0);
    int closures = 0;
    for (int32_t k = M + 1; k <= m.Ndrawn; ++k) {
        if (m.Hcurve[k] != 0.5) continue;
        ++closures;
        // The closure point is the reversal point, bit for bit, and the previous point is below.
        EXPECT_EQ(m.Bcurve[k], m.Bcurve[top]);
        EXPECT_LT(m.Hcurve[k - 1], 0.5);
        EXPECT_GE(m.Hcurve[k + 1], 0.5);
    }
    EXPECT_EQ(closures, 1);
    EXPECT_EQ(m.Ndrawn - M, 301);
    // Back on the limiting ascending branch: the same integral as straight from the start.
    const double end_B = m.Bcur;
    ModelState& fresh = opened_workspace();
    EXPECT_EQ(everett_integral(fresh, 0.7), end_B);
}

TEST_F(Construction, ZeroMoveKeepsTheDirectionMemory) {
    ModelState& m = opened_workspace();
    right_click(m, 0.5);
    right_click(m, 0.0);
    const double direct = m.Bcur;

    ModelState& z = opened_workspace();
    right_click(z, 0.5);
    const double step = z.dHprev;
    right_click(z, 0.5);
    EXPECT_EQ(z.dHprev, step);
    right_click(z, 0.0);
    EXPECT_EQ(z.Krev, 1);
    EXPECT_EQ(z.Bcur, direct);
    EXPECT_NEAR(z.Bcur, 0.262, 0.001);
}

TEST_F(Construction, FullCurveBufferStopsWithTheMessage) {
    set_curve_bound_for_testing(50);
    ModelState& m = opened_workspace();
    m.Hn = 0.5;
    construct_to_hn(m);
    EXPECT_EQ(m.met, kMetStopped);
    EXPECT_EQ(m.Nnew, 50);
    ASSERT_EQ(g_lines.size(), 1u);
    EXPECT_EQ(g_lines[0], " NT>NXY");
    // Hcur has moved by the step that did not fit.
    EXPECT_EQ(m.Hcur, m.Hcurve[50] + m.dH);
    commit_new_points(m);
    EXPECT_EQ(m.Ndrawn, 50);
    // From now on every construction stops at its first step.
    m.Hn = 0.9;
    construct_to_hn(m);
    EXPECT_EQ(m.met, kMetStopped);
    EXPECT_EQ(m.Nnew, 0);
    EXPECT_EQ(g_lines.size(), 2u);
}

TEST_F(Construction, ClosurePointThatFillsTheBufferStays) {
    ModelState& m = opened_workspace();
    right_click(m, 0.5);
    right_click(m, 0.0);
    const int32_t M = m.Ndrawn;
    right_click(m, 0.7);
    int32_t closure = -1;
    for (int32_t k = M + 1; k <= m.Ndrawn; ++k)
        if (m.Hcurve[k] == 0.5) closure = k;
    ASSERT_GT(closure, M);

    set_curve_bound_for_testing(closure);
    ModelState& s = opened_workspace();
    right_click(s, 0.5);
    right_click(s, 0.0);
    s.Hn = 0.7;
    construct_to_hn(s);
    EXPECT_EQ(s.met, kMetStopped);
    EXPECT_EQ(s.Nnew, closure - M);
    EXPECT_EQ(s.Hcurve[closure], 0.5);
    EXPECT_EQ(s.Bcur, s.Bcurve[closure]);
    EXPECT_EQ(s.Krev, 0);
    EXPECT_EQ(g_lines, std::vector<std::string>{" NT>NXY"});
}

TEST_F(Construction, FullReversalStackStopsWithoutWritingPastIt) {
    ModelState& m = opened_workspace();
    right_click(m, 0.2);
    m.Krev = kReversalSlots - 1;
    m.Hrev[m.Krev] = -0.1;
    m.Brev[m.Krev] = -0.5;
    const double H = m.Hcur, B = m.Bcur, dir = m.Dir;
    const int32_t drawn = m.Ndrawn;
    m.Hn = -0.5;
    construct_to_hn(m);
    EXPECT_EQ(m.met, kMetStopped);
    EXPECT_EQ(m.Nnew, 0);
    EXPECT_EQ(m.Krev, kReversalSlots - 1);
    EXPECT_EQ(m.Dir, dir);
    EXPECT_EQ(m.Hcur, H);
    EXPECT_EQ(m.Bcur, B);
    EXPECT_EQ(g_lines, std::vector<std::string>{std::string(" ") + kReversalsFullMessage});
    commit_new_points(m);
    EXPECT_EQ(m.Ndrawn, drawn);
    // The same direction needs no new reversal and goes on.
    m.Hn = 0.4;
    construct_to_hn(m);
    EXPECT_EQ(m.met, kMetFinished);
}

TEST_F(Construction, NonFiniteMoveStopsBeforeAnyPoint) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // From, to: not a number, infinite, and a difference that overflows.
    const double cases[][2] = {{-1.0, nan}, {-1.0, inf}, {-1.0, -inf}, {1.7e308, -1.7e308}};
    for (const auto& c : cases) {
        ModelState& m = opened_workspace();
        m.Hcur = m.Hcurve[0] = m.Hrev[0] = c[0];
        m.Hn = c[1];
        construct_to_hn(m);
        EXPECT_EQ(m.met, kMetStopped) << c[1];
        EXPECT_EQ(m.Nnew, 0) << c[1];
        EXPECT_EQ(m.Hcur, c[0]) << c[1];
    }
    EXPECT_EQ(g_lines.size(), 4u);
}

TEST_F(Construction, HugeFiniteHnStaysInBounds) {
    ModelState& m = opened_workspace();
    m.Hn = 1e300;
    construct_to_hn(m);
    EXPECT_EQ(m.Nnew, 300);
    EXPECT_EQ(m.Hcur, 1e300);
    commit_new_points(m);
    EXPECT_EQ(m.Ndrawn, 300);
}

} // namespace

namespace {

TEST_F(Construction, AnyPixelScaleGivesABoundedStepCount) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // Scale (equal or reversed axes, a degenerate plot, no redraw yet) and the steps it gives.
    const struct {
        double HperPixel;
        int32_t steps;
    } cases[] = {{0.0, 300}, {-0.01, 300}, {nan, 300}, {inf, 10}, {1e-300, 300}, {0.4, 10}};
    for (const auto& c : cases) {
        ModelState& m = opened_workspace();
        m.HperPixel = c.HperPixel;
        m.Hn = -0.9;
        construct_to_hn(m);
        EXPECT_EQ(m.met, kMetFinished) << c.HperPixel;
        EXPECT_EQ(m.Nnew, c.steps) << c.HperPixel;
        EXPECT_EQ(m.Hcur, -0.9) << c.HperPixel;
    }
}

} // namespace

namespace {

TEST_F(Construction, DrawnCountOutsideTheBufferStopsWithoutWriting) {
    for (int32_t drawn : {INT32_MAX, kCurveBound + 1, -1, INT32_MIN}) {
        g_lines.clear();
        ModelState& m = opened_workspace();
        m.Ndrawn = drawn;
        m.Hcurve[0] = 0.125; // a stand-in start point that must survive
        m.Bcurve[0] = -0.75;
        m.Hn = 0.5;
        construct_to_hn(m);
        EXPECT_EQ(m.met, kMetStopped) << drawn;
        EXPECT_EQ(m.Nnew, 0) << drawn;
        EXPECT_EQ(m.Hcurve[0], 0.125) << drawn;
        EXPECT_EQ(m.Bcurve[0], -0.75) << drawn;
        EXPECT_EQ(g_lines, std::vector<std::string>{" NT>NXY"}) << drawn;
    }
}

TEST_F(Construction, CommitNeverCarriesNdrawnPastTheBound) {
    const struct {
        int32_t drawn, fresh; // Ndrawn and Nnew before the commit
        int32_t expected;     // Ndrawn after it
    } cases[] = {{10, 5, 15},
                 {10, INT32_MAX, kCurveBound},
                 {kCurveBound - 1, 2, kCurveBound},
                 {kCurveBound, 7, kCurveBound},
                 {-3, 5, -3},
                 {10, -4, 10}};
    for (const auto& c : cases) {
        ModelState& m = opened_workspace();
        m.Ndrawn = c.drawn;
        m.Nnew = c.fresh;
        commit_new_points(m);
        EXPECT_EQ(m.Ndrawn, c.expected) << c.drawn << " + " << c.fresh;
        EXPECT_EQ(m.Nnew, 0);
    }
}

} // namespace
