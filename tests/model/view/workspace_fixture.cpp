// The headless 1024 x 768 workspace window of the plot and mouse tests.
#include "workspace_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "model/model_state.h"
#include "model/mouse_interaction.h"
#include "model/plot.h"
#include "model/state_sequences.h"
#include "window/graph/fonts.h"
#include "window/graph/graphics.h"
#include "window/graph/graphics_data.h"
#include "window/graph/mouse.h"
#include "window/graph/surface_ops.h"
#include "window/kernel/child_window.h"
#include "window/kernel/menus.h"
#include "window/kernel/units.h"

namespace {

constexpr int kWorkspaceUnit = 10;
constexpr int kScratchUnit = 11;
constexpr const char kFont[] = "T'COURIER'h14w9";

// The model right after Open workspace (the limiting loop computed once for all tests).
std::unique_ptr<ModelState> g_opened;

// Gives the unit's window a surface of the test size, whatever the screen is.
ChildWindow* open_sized_window(int unit, const char* title) {
    if (open_window_unit(unit, title) != 1) return nullptr;
    ChildWindow* cw = window_for_unit(unit);
    if (cw == nullptr) return nullptr;
    std::lock_guard<std::mutex> hold(cw->lock);
    graphics_of(cw).gfx.requested_width = kSurfaceWidth;
    graphics_of(cw).gfx.requested_height = kSurfaceHeight;
    if (cw->configured) surface_reset(graphics_of(cw).gfx, kSurfaceWidth, kSurfaceHeight, 32);
    return cw;
}

QImage copy_surface(ChildWindow* cw) {
    std::lock_guard<std::mutex> hold(cw->lock);
    return graphics_of(cw).gfx.surface.copy();
}

} // namespace

void WorkspaceTest::SetUpTestSuite() {
    if (g_opened) return;
    g_opened = std::make_unique<ModelState>();
    reset_to_program_start(*g_opened);
    set_startup_parameters(*g_opened);
    open_workspace_saturation(*g_opened);
    open_workspace_reset(*g_opened);
}

void WorkspaceTest::SetUp() {
    std::memcpy(&g_model, g_opened.get(), sizeof(ModelState));
    ASSERT_EQ(insert_menu_item(1, 3, 1, "Save results...", menu_nothing), 1);
    window = open_sized_window(kWorkspaceUnit, "Hysteresis modeling workspace");
    ASSERT_NE(window, nullptr);
    init_fonts();
    ASSERT_GT(set_font(kFont, static_cast<int>(sizeof(kFont) - 1)), 0);
    WindowConfig config = {};
    ASSERT_NE(get_window_config(config), 0);
    ASSERT_EQ(config.width, kSurfaceWidth);
    ASSERT_EQ(config.height, kSurfaceHeight);
    set_plot_surface(g_model, config.width, config.height);
    redraw_plot(g_model);
    register_mouse_event(kWorkspaceUnit, kWorkspaceMouseMask, on_mouse_event);
}

void WorkspaceTest::TearDown() {
    close_window_unit(kWorkspaceUnit, nullptr);
    delete_menu_item(1, 3);
}

QImage WorkspaceTest::snapshot() const {
    QImage image = copy_surface(window);
    // VIEW_DUMP=folder keeps every snapshot as a picture, for looking at a failure.
    if (const char* dump = std::getenv("VIEW_DUMP"))
        image.save(QString(dump) + "/" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png");
    return image;
}

QImage WorkspaceTest::reference_text(const std::string& text, int x, int y) {
    ChildWindow* scratch = open_sized_window(kScratchUnit, "reference");
    if (scratch == nullptr) return QImage();
    init_fonts();
    set_font(kFont, static_cast<int>(sizeof(kFont) - 1));
    set_viewport(0, 0, kSurfaceWidth - 1, kSurfaceHeight - 1);
    set_color(15);
    draw_rectangle(kShapeFill, 0, 0, kSurfaceWidth - 1, kSurfaceHeight - 1);
    set_color(0);
    PixelPoint previous;
    move_to(static_cast<int16_t>(x), static_cast<int16_t>(y), previous);
    draw_text(text.data(), static_cast<int>(text.size()));
    QImage image = copy_surface(scratch);
    close_window_unit(kScratchUnit, nullptr);
    // Back to the workspace as the current window.
    set_current_window(window_for_unit(kWorkspaceUnit));
    return image;
}

uint32_t rgb_at(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

int count_colour(const QImage& image, uint32_t rgb, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = std::max(0, y1); y <= std::min(image.height() - 1, y2); ++y)
        for (int x = std::max(0, x1); x <= std::min(image.width() - 1, x2); ++x)
            if (rgb_at(image, x, y) == rgb) ++n;
    return n;
}

void expect_text_at(const QImage& plot, const std::string& text, int x, int y, int x1, int y1,
                    int x2, int y2) {
    const QImage reference = WorkspaceTest::reference_text(text, x, y);
    ASSERT_FALSE(reference.isNull());
    // The text's cells (9 x 14 pixels each) and a margin, cut to the given rectangle.
    const int left = std::max({0, x - 2, x1});
    const int top = std::max({0, y - 2, y1});
    const int right = std::min({kSurfaceWidth - 1, x + 9 * static_cast<int>(text.size()) + 2, x2});
    const int bottom = std::min({kSurfaceHeight - 1, y + 15, y2});
    int glyph_pixels = 0, missing = 0, extra = 0;
    for (int py = top; py <= bottom; ++py)
        for (int px = left; px <= right; ++px) {
            const bool ref_black = rgb_at(reference, px, py) == kBlack;
            const bool plot_black = rgb_at(plot, px, py) == kBlack;
            if (ref_black) ++glyph_pixels;
            if (ref_black && !plot_black) ++missing;
            if (!ref_black && plot_black) ++extra;
        }
    if (text.find_first_not_of(' ') != std::string::npos) {
        EXPECT_GT(glyph_pixels, 0) << "\"" << text << "\" draws nothing";
    }
    EXPECT_EQ(missing, 0) << "\"" << text << "\" at " << x << "," << y;
    EXPECT_EQ(extra, 0) << "\"" << text << "\" at " << x << "," << y;
}
