// The public drawing operations on a real child window of the frame.
#include "graph_test_util.h"
#include "window/graph/fonts.h"
#include "window/graph/graphics.h"
#include "window/graph/text_window.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QFontInfo>
#include <QMdiSubWindow>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

namespace {

constexpr uint32_t kBlack = 0xFF000000u;

TEST(GraphicsWindow, ConfigurationRecordDescribesTheSurface) {
    UnitWindow w(21, "Config window");
    ASSERT_NE(w.cw, nullptr);
    WindowConfig c;
    std::memset(&c, 0x55, sizeof c);
    ASSERT_EQ(get_window_config(c), 1);
    QImage img = surface_copy(w.cw);
    EXPECT_EQ(c.width, img.width());
    EXPECT_EQ(c.height, img.height());
    EXPECT_GT(c.width, 100);
    EXPECT_EQ(c.colours, 256);
    int cell_w = c.cell_size >> 16, cell_h = c.cell_size & 0xFFFF;
    EXPECT_GE(cell_w, 6);
    EXPECT_LE(cell_w, 9);
    EXPECT_GE(cell_h, 14);
    EXPECT_LE(cell_h, 18);
    EXPECT_EQ(c.text_cols, c.width / cell_w);
    EXPECT_EQ(c.text_rows, c.height / cell_h);
    EXPECT_EQ(std::string(c.title, 13), "Config window");
    EXPECT_EQ(c.title[13], ' ');
    EXPECT_EQ(c.zero, 0);
    EXPECT_EQ(c.minus_one, -1);
    for (char b : c.reserved)
        EXPECT_EQ(b, 0);
    EXPECT_EQ(count_not(img, kBlack), 0); // a new surface is palette index 0
}

TEST(GraphicsWindow, StatusCodesOfThePublicOperations) {
    UnitWindow w(22);
    EXPECT_EQ(set_color(16), 15);
    EXPECT_EQ(last_graphics_status(), 0);
    EXPECT_EQ(set_color(-1), 16);
    EXPECT_EQ(last_graphics_status(), 3);
    EXPECT_EQ(set_color(12), 0);
    EXPECT_EQ(set_write_mode(7), -1);
    EXPECT_EQ(set_write_mode(4), 3);
    EXPECT_EQ(set_write_mode(3), 4);
    EXPECT_EQ(set_line_style(static_cast<int16_t>(0xCCCC)),
              set_line_style(static_cast<int16_t>(0xAAAA)));
    set_line_style(-1);
    EXPECT_EQ(set_viewport(10, 10, 10, 50), 0);
    EXPECT_EQ(last_graphics_status(), -1);
    EXPECT_NE(set_viewport(0, 0, 99, 99), 0);
    EXPECT_EQ(set_window(false, 1, 0, 1, 5), 0);
    EXPECT_EQ(last_graphics_status(), -1);
    EXPECT_EQ(draw_rectangle(7, 0, 0, 5, 5), 0);
    EXPECT_EQ(last_graphics_status(), -4);
    PixelPoint pts[2] = {{0, 0}, {5, 5}};
    EXPECT_EQ(draw_polygon(2, pts, 2), 0);
    EXPECT_EQ(last_graphics_status(), 252);
    EXPECT_EQ(draw_polygon(2, nullptr, 3), 0);
    clear_screen(9);
    EXPECT_EQ(last_graphics_status(), -4);
    settle();
    EXPECT_EQ(count_not(surface_copy(w.cw), kBlack), 0);
}

TEST(GraphicsWindow, PolygonCopyLeavesTheCallersPoints) {
    UnitWindow w(23);
    set_viewport(100, 100, 300, 300);
    PixelPoint pts[3] = {{0, 0}, {50, 0}, {25, 40}};
    EXPECT_NE(draw_polygon(3, pts, 3), 0);
    EXPECT_EQ(pts[1].x, 50);
    EXPECT_EQ(pts[2].y, 40);
    QImage img = surface_copy(w.cw);
    EXPECT_NE(img.pixel(125, 110), kBlack); // inside, shifted by the origin
    EXPECT_EQ(img.pixel(25, 10), kBlack);
}

TEST(GraphicsWindow, FarAndNanWindowCoordinates) {
    UnitWindow w(24);
    set_viewport(0, 0, 199, 199);
    set_window(true, -1, -1, 1, 1);
    WindowPoint prev;
    move_to_w(0, 0, prev);
    EXPECT_NE(line_to_w(1e300, 0), 0);
    EXPECT_EQ(last_graphics_status(), 2);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(line_to_w(nan, 0), 0);
    move_to_w(0, 0, prev);
    EXPECT_EQ(line_to_w(-1e300, -1e300), 1);
    settle();
    QImage img = surface_copy(w.cw);
    // Window 0 maps to column round(99.5) = 100 and row 199 - 100 = 99.
    for (int x = 100; x <= 199; ++x)
        EXPECT_NE(img.pixel(x, 99), kBlack) << x;
    // Towards (-1e300, -1e300): down and left along the diagonal to the corner.
    for (int i = 0; i <= 100; ++i)
        EXPECT_NE(img.pixel(100 - i, 99 + i), kBlack) << i;
    EXPECT_EQ(count_not(img, kBlack), 100 + 100);
    EXPECT_EQ(img.pixel(250, 99), kBlack); // nothing outside the viewport
}

TEST(GraphicsWindow, TextBeforeAnyFontDrawsNothing) {
    UnitWindow w(25);
    PixelPoint p;
    move_to(10, 10, p);
    draw_text("Hello", 5);
    EXPECT_EQ(last_graphics_status(), 1);
    EXPECT_EQ(count_not(surface_copy(w.cw), kBlack), 0);
}

TEST(GraphicsWindow, CourierOptionsSelectsAFixedFaceOfFourteenByNine) {
    UnitWindow w(26);
    int n = init_fonts();
    ASSERT_GT(n, 0);
    int k = set_font("T'COURIER'h14w9", 15);
    ASSERT_GT(k, 0);
    EXPECT_EQ(last_graphics_status(), 0);
    {
        std::lock_guard<std::mutex> hold(w.cw->lock);
        EXPECT_EQ(graphics_of(w.cw).gfx.font_height, 14);
        EXPECT_EQ(graphics_of(w.cw).gfx.font_width, 9);
        EXPECT_EQ(graphics_of(w.cw).gfx.font_number, k);
        EXPECT_FALSE(graphics_of(w.cw).gfx.font_italic); // the plain style of the face
        EXPECT_FALSE(graphics_of(w.cw).gfx.font_bold);
        EXPECT_TRUE(QFontInfo(graphics_of(w.cw).gfx.font).fixedPitch());
    }
    set_color(15);
    PixelPoint p;
    move_to(20, 30, p);
    draw_text("W  i", 4);
    EXPECT_EQ(last_graphics_status(), 0);
    move_to(0, 0, p);
    EXPECT_EQ(p.x, 20 + 4 * 9); // the pen advanced by four cells of nine
    EXPECT_EQ(p.y, 30);
    QImage img = surface_copy(w.cw);
    int lit = count_not(img, kBlack);
    EXPECT_GT(lit, 5);
    // Transparent background: only glyph pixels, all in the pen colour.
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != kBlack) {
                EXPECT_EQ(img.pixel(x, y), 0xFFFFFFFFu);
                EXPECT_GE(x, 20);
                EXPECT_LT(x, 20 + 36);
                EXPECT_GE(y, 30);
                EXPECT_LT(y, 30 + 14);
            }
}

TEST(GraphicsWindow, FontOptionsErrorsKeepTheFont) {
    UnitWindow w(27);
    ASSERT_GT(init_fonts(), 0);
    int k = set_font("t'Courier New'h16w8", 19);
    ASSERT_GT(k, 0);
    struct Bad {
        const char* options;
        int16_t status;
    };
    const Bad cases[] = {{"t'Courier New", 255},
                         {"tCourier", 252},
                         {"t'No Such Face At All'", 255},
                         {"t'abcdefghijklmnopqrstuvwxyz0123456789'", 255},
                         {"n999999", 255}};
    for (const Bad& b : cases) {
        EXPECT_EQ(set_font(b.options, static_cast<int>(std::strlen(b.options))), -1) << b.options;
        EXPECT_EQ(last_graphics_status(), b.status) << b.options;
        std::lock_guard<std::mutex> hold(w.cw->lock);
        EXPECT_EQ(graphics_of(w.cw).gfx.font_number, k);
    }
    EXPECT_EQ(set_font("n1", 2), 1);
    int any = set_font("", 0);
    EXPECT_GT(any, 0);
    EXPECT_EQ(last_graphics_status(), 0);
    EXPECT_EQ(set_font("fp", 2), any); // f and p cancel: any font again
    EXPECT_EQ(last_graphics_status(), 3);
}

TEST(GraphicsWindow, ClearingAreas) {
    UnitWindow w(28);
    write_unit_record(28, "text", 4);
    set_color(12);
    draw_rectangle(3, 0, 0, 500, 300);
    set_viewport(100, 100, 199, 149);
    clear_screen(1);
    QImage img = surface_copy(w.cw);
    EXPECT_EQ(img.pixel(150, 120), kBlack);
    EXPECT_NE(img.pixel(99, 120), kBlack);
    EXPECT_NE(img.pixel(200, 120), kBlack);
    {
        std::lock_guard<std::mutex> hold(w.cw->lock);
        EXPECT_TRUE(graphics_of(w.cw).gfx.has_graphics);
        EXPECT_EQ(graphics_of(w.cw).gfx.colour, 12); // settings survive a clear
        EXPECT_EQ(graphics_of(w.cw).gfx.clip_left, 100);
    }
    clear_screen(0);
    EXPECT_EQ(count_not(surface_copy(w.cw), kBlack), 0);
    std::lock_guard<std::mutex> hold(w.cw->lock);
    EXPECT_FALSE(graphics_of(w.cw).gfx.has_graphics);
    EXPECT_EQ(graphics_of(w.cw).text.cursor_row, 1);
    for (const auto& row : graphics_of(w.cw).text.store)
        EXPECT_TRUE(row.empty());
}

TEST(GraphicsWindow, CoveredAndUncoveredWindowShowsTheSamePixels) {
    UnitWindow w(29);
    set_color(12);
    draw_rectangle(3, 10, 10, 120, 80);
    set_color(2);
    set_line_style(static_cast<int16_t>(0xCCCC));
    PixelPoint p;
    move_to(0, 100, p);
    line_to(200, 0);
    set_line_style(-1);
    settle();
    auto* view = qobject_cast<QAbstractScrollArea*>(w.cw->view);
    ASSERT_NE(view, nullptr);
    w.cw->sub->resize(400, 300);
    settle();
    QImage before = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage surface = surface_copy(w.cw);
    ASSERT_FALSE(before.isNull());
    QRect shown(0, 0, std::min(before.width(), 200), std::min(before.height(), 120));
    EXPECT_EQ(before.copy(shown), surface.copy(shown));
    {
        UnitWindow cover(30, "Cover");
        cover.cw->sub->move(w.cw->sub->pos());
        cover.cw->sub->resize(400, 300);
        settle();
    }
    w.cw->sub->showNormal();
    settle();
    QImage after = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(after.copy(shown), before.copy(shown));
}

TEST(GraphicsWindow, ProgramThreadDrawsWhileTheInterfaceRepaints) {
    UnitWindow w(31);
    std::atomic<bool> done{false};
    std::thread program([&] {
        set_current_window(w.cw);
        set_color(14);
        PixelPoint p;
        for (int i = 0; i < 2000; ++i) {
            move_to(static_cast<int16_t>(i % 300), 0, p);
            line_to(static_cast<int16_t>(i % 300), 50);
        }
        done = true;
    });
    while (!done) {
        QApplication::processEvents();
        if (w.cw->view) w.cw->view->repaint();
    }
    program.join();
    settle();
    QImage img = surface_copy(w.cw);
    EXPECT_EQ(count_not(img, kBlack), 300 * 51);
}

TEST(GraphicsWindow, WriteToAClosedWindowFailsCleanly) {
    open_window_unit(32, "Kept");
    settle();
    ASSERT_EQ(write_unit_record(32, "before", 6), 1);
    ChildWindow* cw = window_for_unit(32);
    ASSERT_NE(cw, nullptr);
    close_window_unit(32, "KEEP");
    settle();
    EXPECT_EQ(write_unit_record(32, "after", 5), 0);
    // A thread whose current window was closed elsewhere gets a failure, not a crash.
    int r = -5;
    std::thread other([&] {
        set_current_window(cw);
        r = line_to(5, 5);
    });
    while (r == -5)
        QApplication::processEvents();
    other.join();
    EXPECT_EQ(r, 0);
    EXPECT_EQ(last_graphics_status(), -1);
    cw->sub->close();
    settle();
}

} // namespace
