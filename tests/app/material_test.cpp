// "Open material model...": a model file's density becomes the workspace's, the limiting loop and
// right clicks compute with it, its family and parameters are shown, and Close workspace brings
// the Lorentzian back.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/material.h"
#include "app/measurement.h"
#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "measure/series_reader.h"
#include "model/curve_construction.h"
#include "model/density_lorentz.h"
#include "model/model_file.h"
#include "model/model_state.h"
#include "shell_fixture.h"
#include "tests/support/measured_data.h"
#include "window/graph/file_open.h"
#include "window/kernel/frame.h"
#include "window/kernel/menus.h"
#include "window/kernel/message_box.h"

namespace {

std::string g_open_path;
int answer_open(const char*, char* path, int size) {
    std::snprintf(path, static_cast<size_t>(size), "%s", g_open_path.c_str());
    return 1;
}
std::string g_box;
int record_box(const char* text, const char*, int) {
    g_box = text;
    return kAnswerOk;
}

std::string status_line() {
    QCoreApplication::processEvents();
    return frame() ? frame()->message_label->text().toStdString() : "";
}

class Material : public WorkspaceShellTest {
  protected:
    void SetUp() override {
        WorkspaceShellTest::SetUp();
        set_open_file_answer(answer_open);
        set_message_box_answer(record_box);
        g_box.clear();
    }
    void TearDown() override {
        set_open_file_answer(nullptr);
        set_message_box_answer([](const char*, const char*, int) { return kAnswerNo; });
        WorkspaceShellTest::TearDown();
    }
    void open(const std::string& path) {
        g_open_path = path;
        int32_t state = 0;
        on_open_material(state);
    }
};

// A right click's construction from negative saturation up to H lies on the ascending branch of
// the limiting loop; the loop index of H on its 0.02 grid.
int loop_index(double H) {
    return static_cast<int>(std::lround((H + 1.0) / 0.02)) + 1;
}

TEST_F(Material, GaussModelFileDrivesLoopAndConstruction) {
    const double lorentz_Hc = g_model.density.parameter[kLorentzHc];
    const double lorentz_norm = g_model.density.norm;
    const double lorentz_B = g_model.Bmaj[loop_index(0.3)];

    QTemporaryDir dir;
    ModelFile file;
    file.family = "gauss";
    file.parameters = {0.2, 0.3, 0.05};
    file.field_unit = "T";
    file.moment_unit = "A m^2";
    file.Hs = 1.5;
    file.Bs = 2e-5;
    std::string error;
    const std::string path = (dir.path() + "/gauss.json").toStdString();
    ASSERT_TRUE(model_file_write(file, path, error)) << error;
    open(path);
    ASSERT_TRUE(g_box.empty()) << g_box;
    ASSERT_NE(g_model.density.family, nullptr);
    EXPECT_STREQ(g_model.density.family->name, "gauss");
    EXPECT_EQ(g_model.density.parameter[0], 0.2);
    // The limiting loop is the new density's: saturated at both ends, another shape between.
    const int j = loop_index(0.3);
    EXPECT_NEAR(g_model.Bmaj[1], -1.0, 1e-12);
    EXPECT_GT(std::fabs(g_model.Bmaj[j] - lorentz_B), 1e-3);

    // A right click at 0.3 from negative saturation lands on that loop.
    g_model.Hn = 0.3;
    construct_to_hn(g_model);
    ASSERT_GT(g_model.Nnew, 0);
    const double B = g_model.Bcurve[g_model.Ndrawn + g_model.Nnew];
    EXPECT_NEAR(B, g_model.Bmaj[j], 1e-6);

    const std::string status = status_line();
    EXPECT_NE(status.find("gauss"), std::string::npos) << status;
    EXPECT_NE(status.find("Hc0=0.2"), std::string::npos) << status;

    int32_t state = 0;
    on_close_workspace(state);
    EXPECT_STREQ(g_model.density.family->name, "lorentz");
    EXPECT_EQ(g_model.density.parameter[kLorentzHc], lorentz_Hc);
    EXPECT_EQ(g_model.density.norm, lorentz_norm);
    EXPECT_EQ(status_line(), "");
}

std::vector<MeasuredSeries> read_loop() {
    std::vector<MeasuredSeries> series;
    int64_t skipped = 0;
    std::string error;
    read_series_file(measured_file("micromag_vsm_loop_BB-1.txt"), "", series, skipped, error);
    return series;
}

// A measurement shown over a material model of its own units is scaled by the model's Hs and Bs
// (a model fitted to it then lies on it); of other units, by its own largest values.
TEST_F(Material, MeasurementIsScaledByTheMaterialsSaturation) {
    g_open_path = measured_file("micromag_vsm_loop_BB-1.txt");
    int32_t state = 0;
    on_open_measurement(state);
    ASSERT_TRUE(g_box.empty()) << g_box;
    const double own_H = g_measurement.overlay.field_scale;
    const double own_B = g_measurement.overlay.moment_scale;

    QTemporaryDir dir;
    ModelFile file;
    file.family = "gauss";
    file.parameters = {0.2, 0.3, 0.05};
    file.field_unit = "T";
    file.moment_unit = "A m^2";
    file.Hs = 2.5 * own_H;
    file.Bs = 0.5 * own_B;
    file.reversible.chi = 0.5;
    std::string error;
    const std::string same = (dir.path() + "/same.json").toStdString();
    ASSERT_TRUE(model_file_write(file, same, error)) << error;
    open(same);
    ASSERT_TRUE(g_box.empty()) << g_box;
    EXPECT_EQ(g_measurement.overlay.field_scale, file.Hs);
    EXPECT_EQ(g_measurement.overlay.moment_scale, file.Bs);
    // Less the material's reversible part: what the model's curves compare with.
    const std::vector<MeasuredSeries>& s = read_loop();
    const OverlayCurve& c = g_measurement.overlay.curves.at(0);
    ASSERT_EQ(c.B.size(), s[0].M.size());
    for (size_t i = 0; i < c.B.size(); i += 97)
        EXPECT_NEAR(c.B[i], s[0].M[i] / file.Bs - 0.5 * s[0].H[i] / file.Hs, 1e-12) << i;

    file.field_unit = "Oe";
    const std::string other = (dir.path() + "/other.json").toStdString();
    ASSERT_TRUE(model_file_write(file, other, error)) << error;
    open(other);
    ASSERT_TRUE(g_box.empty()) << g_box;
    EXPECT_EQ(g_measurement.overlay.field_scale, own_H);
    EXPECT_EQ(g_measurement.overlay.moment_scale, own_B);
}

// A file that is no model file: the reader's line in a box, the model as it was.
TEST_F(Material, RefusedFileKeepsTheModel) {
    const double norm = g_model.density.norm;
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/not-a-model.json").toStdString();
    FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("{\"format\": \"something else\"}\n", f);
    std::fclose(f);
    open(path);
    EXPECT_NE(g_box.find("not-a-model.json"), std::string::npos) << g_box;
    EXPECT_STREQ(g_model.density.family->name, "lorentz");
    EXPECT_EQ(g_model.density.norm, norm);
}

} // namespace
