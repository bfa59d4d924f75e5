// Density, normalisation, limiting loop and the reversal-history rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/density_families.h"
#include "model/density_lorentz.h"
#include "model/preisach.h"
#include "numerics/dtwodq.h"
#include "model/reversal_history.h"
#include "model/state_sequences.h"
#include "model_fixture.h"

namespace {

TEST(Preisach, KmaxForStartupHcHasSixDigitsOfTheStartupValue) {
    ModelState& m = opened_workspace();
    compute_kmax(m);
    EXPECT_NEAR(m.density.norm, 3.23859, 0.5e-5);
    EXPECT_NEAR(m.density.norm, kStartupKmax, 1e-6 * kStartupKmax);
}

TEST(Preisach, KmaxNormalisesTheWholeTriangleToTwo) {
    ModelState& m = opened_workspace();
    for (double Hc : {0.05, 0.3, 0.9}) {
        m.density.parameter[kLorentzHc] = Hc;
        compute_kmax(m);
        // With the new Kmax the full swing from -1 to 1 on the ascending branch is 2.
        m.Krev = 0;
        m.Dir = 1.0;
        EXPECT_NEAR(everett_integral(m, 1.0), 1.0, 1e-9) << "Hc = " << Hc;
    }
}

TEST(Preisach, DensityIsSymmetricUnderReflection) {
    const ModelState& m = opened_workspace();
    const double points[][2] = {{0.3, -0.2}, {1.0, -1.0}, {0.7, 0.7},  {-0.25, -0.9},
                                {5.0, 3.0},  {0.0, 0.0},  {1e-3, -2.5}};
    for (const auto& p : points) {
        const double a = p[0], b = p[1];
        EXPECT_EQ(everett_density(m, a, b), everett_density(m, -b, -a)) << a << ", " << b;
        EXPECT_GT(everett_density(m, a, b), 0.0);
    }
    // The peak sits at alpha = Hc/2, beta = -Hc/2 with the value Kmax.
    EXPECT_EQ(everett_density(m, m.density.parameter[kLorentzHc] / 2,
                              -m.density.parameter[kLorentzHc] / 2),
              m.density.norm);
}

TEST(Preisach, MajorLoopPassesZeroAtTheRemanence) {
    const ModelState& m = opened_workspace();
    EXPECT_EQ(m.Hmaj[1], -1.0);
    EXPECT_EQ(m.Bmaj[1], -1.0);
    // Entry 51 is H = 0 up to the rounding of 50 additions of 0.02; entry 151 on the way down.
    EXPECT_NEAR(m.Hmaj[51], 0.0, 1e-14);
    EXPECT_NEAR(m.Bmaj[51], -0.63927, 1e-5);
    EXPECT_NEAR(m.Hmaj[151], 0.0, 1e-14);
    EXPECT_NEAR(m.Bmaj[151], 0.63927, 1e-5);
    EXPECT_NEAR(m.Hmaj[101], 1.0, 1e-14);
    EXPECT_NEAR(m.Bmaj[101], 1.0, 1e-5);
    // Back at -1 the loop closes: the descending half integrates the same full triangle.
    EXPECT_NEAR(m.Bmaj[201], -1.0, 1e-9);
    // The descending half mirrors the ascending one: the triangle from H to 1 is the reflection
    // of the triangle from -1 to -H, and entry k on the way down lies at -H of entry k - 100.
    for (int k = 102; k <= 201; ++k)
        EXPECT_NEAR(m.Bmaj[k], m.Bmaj[101] - 1.0 - m.Bmaj[k - 100], 1e-9) << k;
}

TEST(Preisach, EverettIntegralAtTheTopReversalPointIsItsB) {
    ModelState& m = opened_workspace();
    const double tops[][3] = {{-1.0, -1.0, 1.0}, {0.5, 0.2617, -1.0}, {-0.25, -0.4, 1.0}};
    for (const auto& t : tops) {
        m.Krev = 3;
        m.Hrev[3] = t[0];
        m.Brev[3] = t[1];
        m.Dir = t[2];
        EXPECT_EQ(everett_integral(m, t[0]), t[1]);
    }
}

TEST(Preisach, EverettIntegralFollowsTheBranchDirection) {
    ModelState& m = opened_workspace();
    // Ascending from the start point: B rises; descending from a top at 0.5: B falls.
    const double b_up = everett_integral(m, 0.0);
    EXPECT_NEAR(b_up, -0.63927, 1e-5);
    m.Krev = 1;
    m.Hrev[1] = 1.0;
    m.Brev[1] = 1.0;
    m.Dir = -1.0;
    EXPECT_NEAR(everett_integral(m, 0.0), 0.63927, 1e-5);
    EXPECT_LT(everett_integral(m, 0.5), 1.0);
}

// The same integrals through the routine-pointer entry of the quadrature.
const ModelState* g_pointer_model = nullptr;
double g_pointer_low = 0.0;
double ascending_form(const double& x, const double& y) {
    return everett_density(*g_pointer_model, x, y);
}
double fixed_low(const double&) {
    return g_pointer_low;
}
double identity(const double& x) {
    return x;
}

TEST(Preisach, InlinedIntegralsEqualTheRoutinePointerEntryBitForBit) {
    ModelState& m = opened_workspace();
    g_pointer_model = &m;
    for (double H : {-0.9, -0.3, 0.0, 0.45, 1.0, 1.7}) {
        g_pointer_low = m.Hrev[0];
        double result = 0.0, errest = 0.0;
        DTWODQ(ascending_form, m.Hrev[0], H, fixed_low, identity, 0.0, kEverettErrRel, kEverettRule,
               result, errest);
        EXPECT_EQ(everett_integral(m, H), m.Brev[0] + result) << H;
    }
}

TEST(ReversalHistory, RecordReversalPushesAndTurns) {
    ModelState& m = opened_workspace();
    ASSERT_TRUE(record_reversal(m, 0.5, 0.25));
    EXPECT_EQ(m.Krev, 1);
    EXPECT_EQ(m.Dir, -1.0);
    EXPECT_EQ(m.Hrev[1], 0.5);
    EXPECT_EQ(m.Brev[1], 0.25);
}

TEST(ReversalHistory, RecordReversalRefusesTheSlotPastTheStack) {
    ModelState& m = opened_workspace();
    m.Krev = kReversalSlots - 2;
    ASSERT_TRUE(record_reversal(m, 0.1, 0.2));
    EXPECT_EQ(m.Krev, kReversalSlots - 1);
    const double dir = m.Dir;
    EXPECT_FALSE(record_reversal(m, 0.3, 0.4));
    EXPECT_EQ(m.Krev, kReversalSlots - 1);
    EXPECT_EQ(m.Dir, dir);
    EXPECT_EQ(m.Hrev[kReversalSlots - 1], 0.1);
}

struct WipeCase {
    double dir;      // direction of the current branch
    double extremum; // Hrev[Krev-1]
    double H;        // the field reached
    bool wipes;      // expected answer
};

TEST(ReversalHistory, WipeOutClosesWhenTheOldExtremumIsReached) {
    const WipeCase cases[] = {
        {+1.0, 0.5, 0.4, false},   {+1.0, 0.5, 0.5, true},   {+1.0, 0.5, 0.7, true},
        {-1.0, -0.2, -0.1, false}, {-1.0, -0.2, -0.2, true}, {-1.0, -0.2, -0.9, true},
    };
    for (const WipeCase& c : cases) {
        ModelState& m = opened_workspace();
        // History: start, a reversal at the extremum, then one at the branch start.
        m.Krev = 2;
        m.Hrev[1] = c.extremum;
        m.Brev[1] = c.dir > 0 ? 0.3 : -0.3;
        m.Hrev[2] = c.dir > 0 ? -0.3 : 0.6;
        m.Brev[2] = 0.0;
        m.Dir = c.dir;
        double h = 123.0, b = 456.0;
        EXPECT_EQ(wipe_out(m, c.H, h, b), c.wipes) << c.dir << " " << c.extremum << " " << c.H;
        if (c.wipes) {
            EXPECT_EQ(m.Krev, 0);
            EXPECT_EQ(m.Dir, c.dir);
            EXPECT_EQ(h, c.extremum);
            EXPECT_EQ(b, everett_integral(m, c.extremum));
        } else {
            EXPECT_EQ(m.Krev, 2);
            EXPECT_EQ(h, 123.0);
        }
    }
}

TEST(ReversalHistory, StartAndFirstReversalAreNeverWipedOut) {
    ModelState& m = opened_workspace();
    double h = 0, b = 0;
    EXPECT_FALSE(wipe_out(m, 50.0, h, b));
    m.Krev = 1;
    m.Hrev[1] = 0.5;
    m.Dir = -1.0;
    EXPECT_FALSE(wipe_out(m, -50.0, h, b));
    EXPECT_EQ(m.Krev, 1);
}

TEST(ReversalHistory, FieldThatIsNotANumberWipesNothingOut) {
    for (double dir : {1.0, -1.0}) {
        ModelState& m = opened_workspace();
        m.Krev = 2;
        m.Hrev[1] = 0.5 * dir;
        m.Hrev[2] = -0.1 * dir;
        m.Dir = dir;
        double h = 123.0, b = 456.0;
        EXPECT_FALSE(wipe_out(m, std::nan(""), h, b)) << dir;
        EXPECT_EQ(m.Krev, 2);
        EXPECT_EQ(h, 123.0);
    }
}

TEST(ReversalHistory, TopIndexOutsideTheStackReadsNothing) {
    for (int32_t krev : {kReversalSlots, kReversalSlots + 1, 100000, INT32_MAX, -1, INT32_MIN}) {
        ModelState& m = opened_workspace();
        m.Krev = krev;
        double h = 123.0, b = 456.0;
        EXPECT_FALSE(wipe_out(m, 0.0, h, b)) << krev;
        EXPECT_EQ(m.Krev, krev);
        EXPECT_TRUE(std::isnan(everett_integral(m, 0.5))) << krev;
    }
}

TEST(Preisach, FieldThatIsNotFiniteGivesNaNWithoutIntegrating) {
    ModelState& m = opened_workspace();
    const double inf = std::numeric_limits<double>::infinity();
    for (double dir : {1.0, -1.0}) {
        m.Dir = dir;
        for (double H : {inf, -inf, std::nan("")})
            EXPECT_TRUE(std::isnan(everett_integral(m, H))) << dir << " " << H;
    }
    // The largest finite fields still integrate, to a finite value.
    m.Dir = 1.0;
    EXPECT_TRUE(std::isfinite(everett_integral(m, 1e300)));
}

} // namespace

namespace {

// The rising half of the limiting loop as drawn: entries 1..101 with the fine points before each
// entry.
void drawn_rising_half(const ModelState& m, std::vector<double>& H, std::vector<double>& B) {
    H = {m.Hmaj[1]};
    B = {m.Bmaj[1]};
    int i = 0;
    for (int k = 2; k <= 101; ++k) {
        for (; i < m.Nfine && m.Kfine[i] < k; ++i) {
            H.push_back(m.Hfine[i]);
            B.push_back(m.Bfine[i]);
        }
        H.push_back(m.Hmaj[k]);
        B.push_back(m.Bmaj[k]);
    }
}

// A curve from negative saturation to Hs lies on the drawn rising half within two pixels of B.
void expect_curve_on_drawn_loop(ModelState& m, const std::vector<double>& H,
                                const std::vector<double>& B) {
    right_click(m, m.Hs);
    size_t j = 1;
    for (int p = 0; p <= m.Ndrawn; ++p) {
        const double h = m.Hcurve[p];
        while (j + 1 < H.size() && H[j] < h)
            ++j;
        const double t = (h - H[j - 1]) / (H[j] - H[j - 1]);
        const double drawn = B[j - 1] + t * (B[j] - B[j - 1]);
        ASSERT_NEAR(m.Bcurve[p], drawn, 2.0 * m.BperPixel) << "at H = " << h;
    }
}

} // namespace

// The drawn limiting loop (entries with their fine points between) follows the density's peaks at
// every accepted Hc: a curve from saturation lies on it, within two pixels of B, and near the peak
// fields its steps are at most Hc/4; at the start-up Hc it has no fine points.
TEST(Preisach, TheDrawnLimitingLoopFollowsAnyHc) {
    for (double Hc : {kStartupHc, 0.05, 0.01, 0.001}) {
        SCOPED_TRACE(testing::Message() << "Hc = " << Hc);
        ModelState& m = opened_workspace(Hc);
        if (Hc == kStartupHc) {
            EXPECT_EQ(m.Nfine, 0);
        }
        std::vector<double> H, B;
        drawn_rising_half(m, H, B);
        for (size_t j = 1; j < H.size(); ++j) {
            ASSERT_LT(H[j - 1], H[j]);
            if (std::fabs(H[j] - 0.5 * Hc) < 4.0 * Hc) {
                EXPECT_LE(H[j] - H[j - 1], 0.25 * Hc * 1.0001);
            }
        }
        expect_curve_on_drawn_loop(m, H, B);
    }
}

// So does the limiting loop of every family's narrow members, whose branches switch within a few
// thousandths of Hs: the drawn loop takes fine points where they bend.
TEST(Preisach, TheDrawnLimitingLoopOfANarrowFamilyMemberFollowsItsBends) {
    struct Member {
        const char* family;
        std::vector<double> parameters;
    };
    const Member members[] = {
        {"lorentz2", {0.05, 0.002, 0.002}},
        {"gauss", {0.05, 0.04, 0.002}},
        {"lorentz2-mix", {0.5, 0.02, 0.002, 0.002, 0.2, 0.003, 0.002}},
        {"gauss-mix", {0.5, 0.02, 0.05, 0.002, 0.2, 0.03, 0.002}},
    };
    for (const Member& member : members) {
        SCOPED_TRACE(member.family);
        ModelState& m = opened_workspace();
        m.density = Density{find_density_family(member.family), {}, 1.0, nullptr};
        for (size_t k = 0; k < member.parameters.size(); ++k)
            m.density.parameter[k] = member.parameters[k];
        ASSERT_EQ(m.density.family->check(m.density.parameter), nullptr);
        compute_kmax(m);
        open_workspace_reset(m);
        std::vector<double> H, B;
        drawn_rising_half(m, H, B);
        expect_curve_on_drawn_loop(m, H, B);
    }
}
