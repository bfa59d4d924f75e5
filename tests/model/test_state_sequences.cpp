// The model record's program-start values and the Open workspace, Settings and Axes sequences.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "model/density_lorentz.h"
#include "model/curve_construction.h"
#include "model/state_sequences.h"
#include "model_fixture.h"

namespace {

// A record of its own (the fixture's is shared), filled with garbage first so that every reset
// has to be done by the code under test.
std::unique_ptr<ModelState> dirty_record() {
    std::unique_ptr<ModelState> m(new ModelState);
    std::memset(m.get(), 0x5a, sizeof(ModelState));
    return m;
}

void open_workspace(ModelState& m) {
    open_workspace_saturation(m);
    open_workspace_reset(m);
    m.HperPixel = 2.0 / 916;
}

TEST(ModelStateLifecycle, ProgramStartZeroesAllButTheSettingsAndPlotCorner) {
    auto m = dirty_record();
    reset_to_program_start(*m);
    EXPECT_EQ(m->Smem, 0.125);
    EXPECT_EQ(m->Amem, 0.5);
    EXPECT_EQ(m->PlotLeft, 67);
    EXPECT_EQ(m->PlotTop, 8);
    EXPECT_EQ(m->density.parameter[kLorentzHc], 0.0);
    EXPECT_EQ(m->density.norm, 0.0);
    EXPECT_EQ(m->Hs, 0.0);
    EXPECT_EQ(m->Ho, 0.0);
    EXPECT_EQ(m->Ncyc, 0);
    EXPECT_EQ(m->CycleMode, 0);
    EXPECT_EQ(m->Ndrawn, 0);
    EXPECT_EQ(m->Hcurve[kCurveSlots - 1], 0.0);
    EXPECT_EQ(m->Brev[kReversalSlots - 1], 0.0);
    set_startup_parameters(*m);
    // The single-precision constants 0.4 and 3.238588, widened.
    EXPECT_EQ(m->density.parameter[kLorentzHc], 0.4000000059604645);
    EXPECT_EQ(m->density.norm, 3.2385880947113037);
}

TEST(ModelStateLifecycle, OpenWorkspaceStartsAtNegativeSaturationWithOnePoint) {
    auto m = dirty_record();
    reset_to_program_start(*m);
    set_startup_parameters(*m);
    open_workspace(*m);
    EXPECT_EQ(m->Hs, 1.0);
    EXPECT_EQ(m->Bs, 1.0);
    EXPECT_EQ(m->Ndrawn, 0);
    EXPECT_EQ(m->Nnew, 0);
    EXPECT_EQ(m->Hcurve[0], -1.0);
    EXPECT_EQ(m->Bcurve[0], -1.0);
    EXPECT_EQ(m->Krev, 0);
    EXPECT_EQ(m->Hrev[0], -1.0);
    EXPECT_EQ(m->Brev[0], -1.0);
    EXPECT_EQ(m->Dir, 1.0);
    EXPECT_EQ(m->dHprev, 3.0);
    EXPECT_EQ(m->Ho, -1.0);
    EXPECT_EQ(m->Hn, -1.0);
    EXPECT_EQ(m->Hcur, -1.0);
    EXPECT_EQ(m->Bcur, -1.0);
    EXPECT_EQ(m->Hmin, -1.0);
    EXPECT_EQ(m->Hmax, 1.0);
    EXPECT_EQ(m->Bmin, -1.0);
    EXPECT_EQ(m->Bmax, 1.0);
    EXPECT_EQ(m->Nmaj, 200);
    EXPECT_EQ(m->dHmaj, 0.02);
    EXPECT_EQ(m->Hmaj[1], -1.0);
    EXPECT_EQ(m->Bmaj[1], -1.0);
}

TEST(ModelStateLifecycle, SecondOpenDiscardsTheHistoryButKeepsTheParameters) {
    auto m = dirty_record();
    reset_to_program_start(*m);
    set_startup_parameters(*m);
    open_workspace(*m);
    right_click(*m, 0.5);
    right_click(*m, 0.0);
    ASSERT_GT(m->Ndrawn, 0);
    ASSERT_EQ(m->Krev, 1);
    m->Smem = 0.3;
    m->Amem = 0.7;
    m->Ncyc = 4;
    m->CycleMode = 2;
    const double Hc = m->density.parameter[kLorentzHc], Kmax = m->density.norm;
    open_workspace(*m);
    EXPECT_EQ(m->Ndrawn, 0);
    EXPECT_EQ(m->Krev, 0);
    EXPECT_EQ(m->Dir, 1.0);
    EXPECT_EQ(m->Hcur, -1.0);
    EXPECT_EQ(m->dHprev, 3.0);
    EXPECT_EQ(m->density.parameter[kLorentzHc], Hc);
    EXPECT_EQ(m->density.norm, Kmax);
    EXPECT_EQ(m->Smem, 0.3);
    EXPECT_EQ(m->Amem, 0.7);
    EXPECT_EQ(m->Ncyc, 4);
    EXPECT_EQ(m->CycleMode, 2);
}

TEST(ModelStateLifecycle, SettingsChooseTheStartPoint) {
    auto m = dirty_record();
    reset_to_program_start(*m);
    set_startup_parameters(*m);
    open_workspace(*m);
    const struct {
        bool start_negative;
        double H, dir; // start point (H, H) and direction
    } cases[] = {{false, 1.0, -1.0}, {true, -1.0, 1.0}};
    for (const auto& c : cases) {
        apply_settings(*m, 0.25, 0.75, c.start_negative);
        EXPECT_EQ(m->Smem, 0.25);
        EXPECT_EQ(m->Amem, 0.75);
        EXPECT_EQ(m->Dir, c.dir);
        EXPECT_EQ(m->dHprev, 3.0 * c.dir);
        EXPECT_EQ(m->Ho, c.H);
        EXPECT_EQ(m->Hrev[0], c.H);
        EXPECT_EQ(m->Brev[0], c.H);
        EXPECT_EQ(m->Hcurve[0], c.H);
        EXPECT_EQ(m->Bcurve[0], c.H);
        EXPECT_EQ(m->Hn, c.H);
        EXPECT_EQ(m->Hcur, c.H);
        EXPECT_EQ(m->Bcur, c.H);
    }
}

TEST(ModelStateLifecycle, MemoryAndAttenuationFactorsChangeNoComputedValue) {
    auto a = dirty_record();
    auto b = dirty_record();
    for (ModelState* m : {a.get(), b.get()}) {
        reset_to_program_start(*m);
        set_startup_parameters(*m);
        open_workspace(*m);
    }
    apply_settings(*b, 0.9, 0.01, true);
    for (ModelState* m : {a.get(), b.get()}) {
        right_click(*m, 0.3);
        right_click(*m, -0.2);
    }
    ASSERT_EQ(a->Ndrawn, b->Ndrawn);
    for (int32_t k = 0; k <= a->Ndrawn; ++k) {
        ASSERT_EQ(a->Hcurve[k], b->Hcurve[k]) << k;
        ASSERT_EQ(a->Bcurve[k], b->Bcurve[k]) << k;
    }
}

TEST(ModelStateLifecycle, AxesAreStoredAsGiven) {
    auto m = dirty_record();
    reset_to_program_start(*m);
    apply_axes(*m, -0.5, 2.0, -3.0, 0.25);
    EXPECT_EQ(m->Hmin, -0.5);
    EXPECT_EQ(m->Hmax, 2.0);
    EXPECT_EQ(m->Bmin, -3.0);
    EXPECT_EQ(m->Bmax, 0.25);
}

} // namespace
