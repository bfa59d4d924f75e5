// The model against the curves of the independent implementation.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "model/density_lorentz.h"
#include "model/curve_construction.h"
#include "model/execute_cycles.h"
#include "model/preisach.h"
#include "model/state_sequences.h"
#include "model_fixture.h"
#include "tests/support/reference_data.h"

namespace {

constexpr double kAgreement = 1e-13;
// Agreement with an exact value where the model integrates with the inner integral in closed form.
constexpr double kClosedFormAgreement = 1e-12;

void expect_matches_reference(const std::vector<double>& H, const std::vector<double>& B,
                              const std::string& file) {
    const ReferenceTable ref = read_reference(file);
    ASSERT_TRUE(ref.ok) << "cannot read " << file << " at " << reference_file(file);
    ASSERT_EQ(ref.cols.size(), 2u);
    ASSERT_EQ(H.size(), ref.cols[0].size()) << file;
    for (size_t i = 0; i < H.size(); ++i) {
        ASSERT_LE(relative_difference(H[i], ref.cols[0][i]), kAgreement) << file << " H row " << i;
        ASSERT_LE(relative_difference(B[i], ref.cols[1][i]), kAgreement) << file << " B row " << i;
    }
}

TEST(Reference, KmaxForEveryHc) {
    const ReferenceTable ref = read_reference("kmax.csv");
    ASSERT_TRUE(ref.ok);
    ASSERT_GE(ref.cols[0].size(), 5u);
    ModelState& m = opened_workspace();
    for (size_t i = 0; i < ref.cols[0].size(); ++i) {
        m.density.parameter[kLorentzHc] = ref.cols[0][i];
        compute_kmax(m);
        // Below kLorentzClosedBelowHc the reference row is the exact value, met to the
        // closed-form path's accuracy rather than to an equal order of sums.
        const double bound =
            ref.cols[0][i] < kLorentzClosedBelowHc ? kClosedFormAgreement : kAgreement;
        EXPECT_NEAR(m.density.norm / ref.cols[1][i], 1.0, bound)
            << "Hc = " << m.density.parameter[kLorentzHc];
    }
}

TEST(Reference, MajorLoop) {
    ModelState& m = opened_workspace();
    std::vector<double> H(m.Hmaj + 1, m.Hmaj + 202);
    std::vector<double> B(m.Bmaj + 1, m.Bmaj + 202);
    expect_matches_reference(H, B, "major_loop_hc0.4.csv");
}

struct CurveCase {
    const char* file;
    std::function<void(ModelState&)> steps;
};

// Names the case after its reference file in test listings.
void PrintTo(const CurveCase& c, std::ostream* os) {
    *os << c.file;
}

void execute(ModelState& m, double Hn, int mode, int Ncyc) {
    m.Hn = Hn;
    m.CycleMode = mode;
    m.Ncyc = Ncyc;
    execute_cycles(m, nullptr);
}

class ReferenceCurve : public ::testing::TestWithParam<CurveCase> {};

TEST_P(ReferenceCurve, CurveBufferEqualsReference) {
    ModelState& m = opened_workspace();
    GetParam().steps(m);
    expect_matches_reference(drawn_H(m), drawn_B(m), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(Steps, ReferenceCurve,
                         ::testing::Values(CurveCase{"curve_wipe_out.csv",
                                                     [](ModelState& m) {
                                                         right_click(m, 0.5);
                                                         right_click(m, 0.0);
                                                         right_click(m, 0.7);
                                                     }},
                                           CurveCase{"curve_cycles.csv",
                                                     [](ModelState& m) {
                                                         right_click(m, 0.2);
                                                         execute(m, 0.8, 1, 2);
                                                     }},
                                           CurveCase{"curve_spiral.csv",
                                                     [](ModelState& m) {
                                                         right_click(m, 0.0);
                                                         execute(m, 1.0, 2, 1);
                                                     }},
                                           CurveCase{"curve_zero_step.csv",
                                                     [](ModelState& m) {
                                                         right_click(m, 0.5);
                                                         right_click(m, 0.5);
                                                         right_click(m, 0.0);
                                                     }},
                                           CurveCase{"curve_start_positive.csv", [](ModelState& m) {
                                                         apply_settings(m, m.Smem, m.Amem, false);
                                                         right_click(m, -0.3);
                                                         right_click(m, 0.4);
                                                     }}));

} // namespace
