// The measured material's model through the Preisach model itself: identified from the
// even-numbered curves of a measured FORC file (copies in tests/data/measured), written to a
// model file and read back, its density drives the model's state with the history rules of every
// density (positive saturation, down to Hr, up along the curve's fields), and predicts the
// odd-numbered curves and the upper branch of the major loop.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/batch/identify_command.h"
#include "forc/forc_drift.h"
#include "forc/forc_from_curves.h"
#include "measure/series_reader.h"
#include "model/curve_construction.h"
#include "model/model_file.h"
#include "model/preisach.h"
#include "model/state_sequences.h"
#include "tests/support/measured_data.h"
#include "largest_field.h"

namespace {

// A workspace opened on density d as the program opens one: Hs = Bs = 1, the norm, the limiting
// loop, negative saturation, the pixel scale of a 1024 x 768 window.
void open_on(ModelState& m, const Density& d) {
    reset_to_program_start(m);
    open_workspace_saturation(m);
    m.density = d;
    compute_kmax(m);
    open_workspace_reset(m);
    m.PlotRight = 983;
    m.PlotBottom = 616;
    m.HperPixel = (m.Hmax - m.Hmin) / (m.PlotRight - m.PlotLeft);
    m.BperPixel = (m.Bmax - m.Bmin) / (m.PlotBottom - m.PlotTop);
}

void move_to(ModelState& m, double Hn) {
    m.Hn = Hn;
    construct_to_hn(m);
    commit_new_points(m);
}

class MeasuredModel : public ::testing::TestWithParam<const char*> {};

TEST_P(MeasuredModel, EvenCurvesPredictTheOddOnesThroughThePreisachModel) {
    const std::string file = GetParam();
    ForcCurves curves;
    std::string error;
    ASSERT_TRUE(read_forc_file(measured_file(file), curves, error)) << error;
    ASSERT_TRUE(forc_correct_drift(curves, error)) << error;
    ForcCurves even, odd;
    for (size_t k = 0; k < curves.curves.size(); ++k)
        (k % 2 == 1 ? even : odd).curves.push_back(curves.curves[k]);
    ForcTable table;
    ASSERT_TRUE(forc_table_from_curves(even, table, error)) << error;
    ModelFile identified;
    ASSERT_TRUE(identify_model(table, "T", "A m2", identified, error)) << error;
    // Each specimen runs as a test of its own, possibly beside another: a file of its own.
    const std::string path =
        ::testing::TempDir() + "measured_model_" + std::to_string(::getpid()) + ".json";
    ASSERT_TRUE(model_file_write(identified, path, error)) << error;
    ModelFile model;
    ASSERT_TRUE(model_file_read(path, model, error)) << error;
    Density density;
    ASSERT_TRUE(model_file_density(model, density, error)) << error;
    const auto m = std::make_unique<ModelState>();
    open_on(*m, density);

    // The moment at the largest field of the file.
    const double M_top = largest_field(curves).M;
    double sum = 0.0, branch_worst = 0.0;
    size_t count = 0;
    for (const ForcCurve& curve : odd.curves) {
        // Only reversals among the identified ones: outside them the model extrapolates.
        if (curve.Hr < table.Hr.front() || curve.Hr > table.Hr.back()) continue;
        open_workspace_reset(*m);
        apply_settings(*m, m->Smem, m->Amem, false);
        move_to(*m, curve.Hr / model.Hs);
        ASSERT_EQ(m->met, kMetFinished);
        branch_worst = std::fmax(branch_worst, std::fabs(m->Bcur * model.Bs - curve.M[0]));
        for (size_t p = 0; p < curve.H.size(); ++p) {
            // Up the curve point by point; a field not above the present one (the reversal point
            // itself) is read where the curve stands.
            const double H = curve.H[p] / model.Hs;
            if (H > m->Hcur) move_to(*m, H);
            ASSERT_EQ(m->met, kMetFinished);
            const double e = m->Bcur * model.Bs - curve.M[p];
            sum += e * e;
            ++count;
        }
    }
    ASSERT_GT(count, 1000u);
    const double rms = std::sqrt(sum / static_cast<double>(count)) / std::fabs(M_top);
    const double branch = branch_worst / std::fabs(M_top);
    std::printf("%s through the Preisach model: odd curves RMS %.4f %%, upper branch worst "
                "%.4f %% of M at the largest field\n",
                file.c_str(), 100 * rms, 100 * branch);
    EXPECT_LE(rms, 0.01);
    EXPECT_LE(branch, 0.02);
}

INSTANTIATE_TEST_SUITE_P(Files, MeasuredModel,
                         ::testing::Values("micromag_agm_forc_conventional.frc",
                                           "micromag_vsm_forc_UB199BF.frc"));

} // namespace
