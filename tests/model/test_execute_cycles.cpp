// Execute: single moves, cyclic alteration, spiral approach, and the leg count.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/curve_construction.h"
#include "model/execute_cycles.h"
#include "model/model_seams.h"
#include "model_fixture.h"
#include "text/output_unit.h"

namespace {

std::vector<double> g_leg_ends;
std::vector<int32_t> g_leg_met;
int g_finished = 0;
void* g_finished_context = nullptr;
int g_output_lines = 0;

void record_leg(ModelState& m) {
    g_leg_ends.push_back(m.Hcur);
    g_leg_met.push_back(m.met);
    commit_new_points(m);
}

void record_finish(ModelState&, void* context) {
    ++g_finished;
    g_finished_context = context;
}

void count_line(int, const char*, int) {
    ++g_output_lines;
}

class Execute : public ::testing::Test {
  protected:
    void SetUp() override {
        g_leg_ends.clear();
        g_leg_met.clear();
        g_finished = 0;
        g_finished_context = nullptr;
        g_output_lines = 0;
        set_leg_draw(record_leg);
        set_execute_finished(record_finish);
        set_line_sink(count_line);
    }
    void TearDown() override {
        set_leg_draw(nullptr);
        set_execute_finished(nullptr);
        set_line_sink(nullptr);
        set_curve_bound_for_testing(kCurveBound);
    }
    // Runs Execute from Hcur with the dialog's values.
    static void run(ModelState& m, double Hn, int32_t mode, int32_t Ncyc) {
        m.Hn = Hn;
        m.CycleMode = mode;
        m.Ncyc = Ncyc;
        execute_cycles(m, &m);
    }
};

TEST(LegCount, TwoLegsPerCycleInSixtyFourBits) {
    const struct {
        int32_t Ncyc;
        int64_t legs;
    } cases[] = {
        {0, 1}, {1, 2}, {2, 4}, {-3, -6}, {INT32_MAX, 4294967294LL}, {INT32_MIN, -4294967296LL}};
    for (const auto& c : cases)
        EXPECT_EQ(leg_count(c.Ncyc), c.legs) << c.Ncyc;
}

TEST(SpiralLegEnd, OvershootsThenEndsExactlyOnTarget) {
    const double e3 = static_cast<float>(std::exp(-3.0));
    EXPECT_NEAR(spiral_leg_end(0.0, 1.0, 1, 2), 1.0 + (std::exp(-1.5) - 0.5 * e3), 1e-15);
    EXPECT_NEAR(spiral_leg_end(0.0, 1.0, 1, 2), 1.198, 0.001);
    EXPECT_EQ(spiral_leg_end(0.0, 1.0, 2, 2), 1.0);
    // Downwards the first leg undershoots, the second comes back above.
    EXPECT_LT(spiral_leg_end(1.0, 0.0, 1, 4), 0.0);
    EXPECT_GT(spiral_leg_end(1.0, 0.0, 2, 4), 0.0);
    // The amplitude shrinks from leg to leg.
    for (int64_t I = 1; I < 9; ++I)
        EXPECT_GT(std::fabs(spiral_leg_end(0.0, 1.0, I, 10) - 1.0),
                  std::fabs(spiral_leg_end(0.0, 1.0, I + 1, 10) - 1.0))
            << I;
}

TEST_F(Execute, CyclicAlterationRunsTwoLegsPerCycle) {
    ModelState& m = opened_workspace();
    right_click(m, 0.2);
    run(m, 0.8, 1, 2);
    EXPECT_EQ(g_leg_ends, (std::vector<double>{0.8, 0.2, 0.8, 0.2}));
    EXPECT_EQ(m.Hn, 0.2);
    EXPECT_EQ(m.Ncyc, 0);
    EXPECT_EQ(m.CycleMode, 0);
    EXPECT_EQ(m.Nnew, 0);
    EXPECT_EQ(g_finished, 1);
    EXPECT_EQ(g_finished_context, &m);
}

TEST_F(Execute, SingleMoveModeWithCyclesAlternatesToo) {
    ModelState& m = opened_workspace();
    run(m, 0.5, 0, 1);
    EXPECT_EQ(g_leg_ends, (std::vector<double>{0.5, -1.0}));
}

TEST_F(Execute, NoCyclesIsOneMoveInEitherMode) {
    for (int32_t mode : {0, 1, 2}) {
        g_leg_ends.clear();
        ModelState& m = opened_workspace();
        run(m, 0.25, mode, 0);
        EXPECT_EQ(g_leg_ends, std::vector<double>{0.25}) << mode;
        EXPECT_EQ(m.Hn, 0.25);
    }
}

TEST_F(Execute, SpiralApproachEndsExactlyOnTarget) {
    ModelState& m = opened_workspace();
    right_click(m, 0.0);
    run(m, 1.0, 2, 1);
    ASSERT_EQ(g_leg_ends.size(), 2u);
    EXPECT_NEAR(g_leg_ends[0], 1.198, 0.001);
    EXPECT_EQ(g_leg_ends[0], spiral_leg_end(0.0, 1.0, 1, 2));
    EXPECT_EQ(g_leg_ends[1], 1.0);
    EXPECT_EQ(m.Hn, 1.0);
}

TEST_F(Execute, NegativeCyclesRunNoLeg) {
    for (int32_t Ncyc : {-1, -3, INT32_MIN}) {
        ModelState& m = opened_workspace();
        right_click(m, 0.1);
        const int32_t drawn = m.Ndrawn;
        run(m, 0.9, 1, Ncyc);
        EXPECT_TRUE(g_leg_ends.empty());
        EXPECT_EQ(m.Ndrawn, drawn);
        EXPECT_EQ(m.Hn, 0.1);
        EXPECT_EQ(m.Ncyc, 0);
    }
    EXPECT_EQ(g_finished, 3);
}

TEST_F(Execute, LargestCycleCountRunsUntilTheBufferIsFull) {
    set_curve_bound_for_testing(2000);
    for (int32_t mode : {1, 2}) {
        g_leg_met.clear();
        ModelState& m = opened_workspace();
        m.HperPixel = 10.0; // every leg is shorter than a pixel: 10 steps each
        run(m, 0.5, mode, INT32_MAX);
        EXPECT_EQ(m.met, kMetStopped);
        EXPECT_EQ(m.Ndrawn, 2000);
        // Every leg but the last finished; the series ended with the leg that hit the bound.
        ASSERT_GT(g_leg_met.size(), 100u) << mode;
        EXPECT_EQ(g_leg_met.back(), kMetStopped);
        g_leg_met.pop_back();
        for (int32_t met : g_leg_met)
            EXPECT_EQ(met, kMetFinished);
        EXPECT_EQ(m.Hn, m.Hcur);
    }
    EXPECT_EQ(g_output_lines, 2);
}

TEST_F(Execute, SpiralDeeperThanTheReversalStackStops) {
    ModelState& m = opened_workspace();
    right_click(m, 0.0);
    m.HperPixel = 10.0;
    // 1002 legs: every leg after the first nests one reversal deeper; the last needs slot 1001.
    run(m, 1.0, 2, 501);
    EXPECT_EQ(m.met, kMetStopped);
    EXPECT_EQ(m.Krev, kReversalSlots - 1);
    EXPECT_EQ(g_leg_ends.size(), 1002u);
    EXPECT_EQ(g_output_lines, 1);
    EXPECT_EQ(m.Hcur, m.Hcurve[m.Ndrawn]);
    EXPECT_EQ(m.Hn, m.Hcur);
}

} // namespace

namespace {

int g_asks = 0;     // times the construction asked whether to stop
int g_stop_at = 0;  // the ask that answers yes (from 1)
bool stop_on_ask() {
    return ++g_asks >= g_stop_at;
}

// The user's Stop at a given step of a long Execute: the series ends there, the points stored
// before it stay and are drawn, and the field is left on the last of them.
TEST_F(Execute, StopEndsTheSeriesAtTheStepItCameKeepingThePoints) {
    // Within the first two legs, which wipe out nothing: one point per step.
    for (int stop_at : {1, 2, 301, 450}) {
        ModelState& m = opened_workspace();
        g_leg_ends.clear();
        g_leg_met.clear();
        g_asks = 0;
        g_stop_at = stop_at;
        set_stop_check(stop_on_ask);
        run(m, 0.6, kCycleAlternating, 1000000);
        set_stop_check(nullptr);
        // One ask per step: every step before the one stopped is in the curve.
        EXPECT_EQ(g_asks, stop_at) << stop_at;
        EXPECT_EQ(m.Ndrawn, stop_at - 1) << stop_at;
        ASSERT_FALSE(g_leg_met.empty());
        EXPECT_EQ(g_leg_met.back(), kMetInterrupted) << stop_at;
        EXPECT_EQ(m.Hcur, m.Hcurve[m.Ndrawn]) << stop_at;
        EXPECT_EQ(m.Bcur, m.Bcurve[m.Ndrawn]) << stop_at;
        EXPECT_EQ(m.Hn, m.Hcur) << stop_at;
        EXPECT_EQ(g_finished, 1) << stop_at;
        g_finished = 0;
        // The next construction goes on from there as if the stopped one had ended at that point.
        right_click(m, 0.9);
        EXPECT_EQ(m.met, kMetFinished) << stop_at;
        EXPECT_EQ(m.Hcur, 0.9) << stop_at;
    }
}

} // namespace
