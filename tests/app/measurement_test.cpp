// "Open measurement...": a measured loop or FORC file drawn over the model in blue, in the SVG
// picture and the legend too; a file the readers refuse is reported and changes nothing.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "app/forc_window.h"
#include "app/measurement.h"
#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "measure/series_reader.h"
#include "model/model_state.h"
#include "shell_fixture.h"
#include "tests/support/measured_data.h"
#include "window/graph/file_open.h"
#include "window/graph/file_save.h"
#include "window/graph/graphics_data.h"
#include "window/kernel/child_window.h"
#include "window/kernel/menus.h"
#include "window/kernel/message_box.h"
#include "window/kernel/units.h"
#include "window/kernel/window_table.h"

namespace {

std::string g_open_path;
int answer_open(const char*, char* path, int size) {
    if (g_open_path.empty()) return 0;
    std::snprintf(path, static_cast<size_t>(size), "%s", g_open_path.c_str());
    return 1;
}
std::string g_save_path;
int answer_save(const char*, const char*, char* path, int size) {
    std::snprintf(path, static_cast<size_t>(size), "%s", g_save_path.c_str());
    return 1;
}
std::string g_box;
int record_box(const char* text, const char*, int) {
    g_box = text;
    return kAnswerOk;
}

// Pixels of the workspace surface in the measurement's blue.
int blue_pixels() {
    ChildWindow* cw = window_for_unit(10);
    if (!cw) return -1;
    std::lock_guard<WindowMutex> hold(cw->lock);
    const QImage image = graphics_of(cw).gfx.surface.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == qRgb(0, 0, 255);
    return n;
}

// The SVG picture's blue polylines (their point counts) and whether the legend names the
// measurement.
struct SvgMeasurement {
    std::vector<int> blue_points;
    bool legend = false;
};
SvgMeasurement read_svg(const std::string& path) {
    SvgMeasurement out;
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return out;
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QStringLiteral("polyline") &&
            xml.attributes().value("stroke") == QStringLiteral("#0000ff"))
            out.blue_points.push_back(static_cast<int>(
                xml.attributes().value("points").toString().split(' ', Qt::SkipEmptyParts).size()));
        else if (xml.name() == QStringLiteral("text") &&
                 xml.readElementText() == QStringLiteral("measurement"))
            out.legend = true;
    }
    return out;
}

class Measurement : public WorkspaceShellTest {
  protected:
    void SetUp() override {
        WorkspaceShellTest::SetUp();
        set_open_file_answer(answer_open);
        set_save_file_answer(answer_save);
        set_message_box_answer(record_box);
        g_box.clear();
    }
    void TearDown() override {
        set_open_file_answer(nullptr);
        set_save_file_answer(nullptr);
        set_message_box_answer([](const char*, const char*, int) { return kAnswerNo; });
        g_open_path.clear();
        WorkspaceShellTest::TearDown();
    }
    void open(const std::string& path) {
        g_open_path = path;
        int32_t state = 0;
        on_open_measurement(state);
    }
};

// A loop file: its points on the normalised axes (the largest |H| and |M| become 1), drawn in
// blue, in the SVG picture with its legend entry; Close workspace forgets it.
TEST_F(Measurement, LoopIsDrawnScaledInBlueAndSavedInTheSvg) {
    EXPECT_EQ(blue_pixels(), 0);
    const std::string path = measured_file("micromag_vsm_loop_BB-1.txt");
    open(path);
    ASSERT_TRUE(g_box.empty()) << g_box;
    ASSERT_EQ(g_measurement.overlay.curves.size(), 1u);
    EXPECT_FALSE(g_measurement.is_forc);

    std::vector<MeasuredSeries> series;
    int64_t skipped = 0;
    std::string error;
    ASSERT_TRUE(read_series_file(path, "", series, skipped, error)) << error;
    const OverlayCurve& c = g_measurement.overlay.curves[0];
    ASSERT_EQ(c.H.size(), series[0].H.size());
    double h_max = 0, b_max = 0;
    for (size_t i = 0; i < c.H.size(); ++i) {
        h_max = std::max(h_max, std::fabs(c.H[i]));
        b_max = std::max(b_max, std::fabs(c.B[i]));
        // Every point divided by the same two scales.
        EXPECT_DOUBLE_EQ(c.H[i] * g_measurement.overlay.field_scale, series[0].H[i]);
        EXPECT_DOUBLE_EQ(c.B[i] * g_measurement.overlay.moment_scale, series[0].M[i]);
    }
    EXPECT_EQ(h_max, 1.0);
    EXPECT_EQ(b_max, 1.0);
    // A loop across the plot: many blue pixels, not a dot.
    EXPECT_GT(blue_pixels(), 500);

    QTemporaryDir dir;
    g_save_path = (dir.path() + "/measured.svg").toStdString();
    int32_t state = 0;
    on_save_svg(state);
    ASSERT_TRUE(g_box.empty()) << g_box;
    const SvgMeasurement svg = read_svg(g_save_path);
    ASSERT_EQ(svg.blue_points.size(), 1u);
    EXPECT_EQ(svg.blue_points[0], static_cast<int>(c.H.size()));
    EXPECT_TRUE(svg.legend);

    on_close_workspace(state);
    EXPECT_TRUE(g_measurement.overlay.curves.empty());
}

// A measured FORC file: every reversal curve drawn, and kept for the FORC diagram.
TEST_F(Measurement, ForcFileDrawsEveryCurve) {
    open(measured_file("micromag_vsm_forc_UB199BF.frc"));
    ASSERT_TRUE(g_box.empty()) << g_box;
    ASSERT_TRUE(g_measurement.is_forc);
    EXPECT_GT(g_measurement.forc.curves.size(), 10u);
    EXPECT_EQ(g_measurement.overlay.curves.size(), g_measurement.forc.curves.size());
    EXPECT_GT(blue_pixels(), 500);
}

// "FORC diagram...": grayed for a loop, and for a FORC file a child window showing the very
// picture the command-line tool writes; the workspace stays the window drawn on.
TEST_F(Measurement, ForcDiagramWindowShowsThePictureTheToolWrites) {
    const auto grayed = [] {
        return menu_item_flags(kFileMenu, app_menu_item(AppCommand::forc_diagram)) & 1;
    };
    EXPECT_EQ(grayed(), 1);
    open(measured_file("micromag_vsm_loop_BB-1.txt"));
    EXPECT_EQ(grayed(), 1);
    const std::string path = measured_file("micromag_vsm_forc_UB199BF.frc");
    open(path);
    ASSERT_TRUE(g_box.empty()) << g_box;
    EXPECT_EQ(grayed(), 0);
    int32_t state = 0;
    on_forc_diagram(state);
    ASSERT_TRUE(g_box.empty()) << g_box;
    EXPECT_EQ(current_window_handle(), window_handle_for_unit(10));

    ForcGrid grid;
    ForcDiagramText text;
    std::string error;
    ASSERT_TRUE(measured_forc_diagram(g_measurement.forc, path, grid, text, error)) << error;
    EXPECT_EQ(text.title, "micromag_vsm_forc_UB199BF.frc");
    QTemporaryDir dir;
    const std::string png = (dir.path() + "/diagram.png").toStdString();
    ASSERT_TRUE(write_forc_diagram(png, grid, text, error)) << error;
    const QImage written =
        QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(written.isNull());
    QImage shown;
    {
        ChildWindow* cw = window_for_unit(kForcDiagramUnit);
        ASSERT_NE(cw, nullptr);
        std::lock_guard<WindowMutex> hold(cw->lock);
        shown = graphics_of(cw).gfx.surface.convertToFormat(QImage::Format_RGB32);
    }
    ASSERT_EQ(shown.size(), written.size());
    EXPECT_EQ(shown, written);

    on_close_workspace(state);
    EXPECT_EQ(window_for_unit(kForcDiagramUnit), nullptr);
}

// A file no reader takes: the reader's line in a box; the measurement shown stays.
TEST_F(Measurement, RefusedFileIsReportedAndKeepsTheShownMeasurement) {
    open(measured_file("micromag_vsm_loop_BB-1.txt"));
    ASSERT_TRUE(g_box.empty()) << g_box;
    const int before = blue_pixels();
    QTemporaryDir dir;
    const std::string empty = (dir.path() + "/empty.txt").toStdString();
    QFile f(QString::fromStdString(empty));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    open(empty);
    EXPECT_NE(g_box.find("empty.txt"), std::string::npos) << g_box;
    EXPECT_EQ(g_box.find('\n'), std::string::npos) << g_box;
    EXPECT_EQ(g_measurement.overlay.source, measured_file("micromag_vsm_loop_BB-1.txt"));
    EXPECT_EQ(blue_pixels(), before);
}

// The item is enabled with the workspace and grayed without it.
TEST_F(Measurement, ItemFollowsTheWorkspace) {
    const int item = app_menu_item(AppCommand::open_measurement);
    ASSERT_GE(item, 0);
    EXPECT_EQ(menu_item_flags(kFileMenu, item) & 1, 0);
    int32_t state = 0;
    on_close_workspace(state);
    EXPECT_EQ(menu_item_flags(kFileMenu, app_menu_item(AppCommand::open_measurement)) & 1, 1);
}

} // namespace
