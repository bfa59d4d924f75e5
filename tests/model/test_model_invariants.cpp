// The debug-build invariant checks: reported in builds without NDEBUG, silent in release builds,
// and the release clamp follows either way. Every test of this executable that drives the model
// into an impossible state on purpose runs with the recording routine installed here.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/model_invariants.h"
#include "model/preisach.h"
#include "model_fixture.h"

namespace {

std::string g_last_rule;
int g_reports = 0;

void record_rule(const char* rule) {
    g_last_rule = rule;
    ++g_reports;
}

// Installed before any test runs: the clamp tests must reach the clamp, not abort.
const bool g_installed = (set_invariant_failure(record_rule), true);

TEST(ModelInvariants, BrokenKrevIsReportedInDebugBuildsAndClampedAlways) {
    ASSERT_TRUE(g_installed);
    ModelState& m = opened_workspace();
    m.Krev = kReversalSlots;
    g_reports = 0;
    EXPECT_TRUE(std::isnan(everett_integral(m, 0.5)));
#ifdef NDEBUG
    EXPECT_EQ(g_reports, 0);
#else
    EXPECT_EQ(g_reports, 1);
    EXPECT_EQ(g_last_rule, "0 <= Krev < kReversalSlots");
#endif
}

} // namespace
