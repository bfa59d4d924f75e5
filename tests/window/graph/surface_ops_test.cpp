// The drawing engine on a bare surface state, pixel by pixel.
#include "window/graph/surface_ops.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>

namespace {

constexpr uint32_t kBlack = 0xFF000000u;

class Surface : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(surface_reset(s, 320, 240, 32)); }
    uint32_t px(int x, int y) const { return s.surface.pixel(x, y); }
    int count_not(uint32_t rgb) const {
        int n = 0;
        for (int y = 0; y < s.surface_height; ++y)
            for (int x = 0; x < s.surface_width; ++x)
                n += px(x, y) != rgb;
        return n;
    }
    // Pixels outside the inclusive rectangle that differ from rgb.
    int count_outside(int l, int t, int r, int b, uint32_t rgb) const {
        int n = 0;
        for (int y = 0; y < s.surface_height; ++y)
            for (int x = 0; x < s.surface_width; ++x)
                if ((x < l || x > r || y < t || y > b) && px(x, y) != rgb) ++n;
        return n;
    }
    SurfaceState s;
};

TEST_F(Surface, StartsBlackWithTheInitialState) {
    EXPECT_EQ(count_not(kBlack), 0);
    EXPECT_EQ(s.colour_count, 256);
    EXPECT_EQ(s.colour, 15);
    EXPECT_EQ(s.pen_x, 160);
    EXPECT_EQ(s.pen_y, 120);
    EXPECT_EQ(s.clip_right, 319);
    EXPECT_EQ(s.clip_bottom, 239);
    EXPECT_EQ(s.wx2, 319);
    EXPECT_EQ(s.wy2, 239);
    EXPECT_EQ(s.write_mode, 3);
    EXPECT_EQ(s.pen_kind, PEN_SOLID);
    EXPECT_EQ(s.palette[12], 0xFFFF0000u);
    EXPECT_EQ(s.palette[7], 0xFFC0C0C0u);
    EXPECT_EQ(s.palette[200], 0xFF404040u);
}

TEST_F(Surface, TwoColourDisplayUsesBlackAndWhite) {
    ASSERT_TRUE(surface_reset(s, 10, 10, 1));
    EXPECT_EQ(s.colour_count, 2);
    EXPECT_EQ(s.colour, 1);
    EXPECT_EQ(s.palette[1], 0xFFFFFFFFu);
    ASSERT_TRUE(surface_reset(s, 10, 10, 4));
    EXPECT_EQ(s.colour_count, 16);
}

TEST_F(Surface, OneByOneRectangleSetsOnePixel) {
    for (int control : {2, 3}) {
        ASSERT_TRUE(surface_reset(s, 64, 48, 32));
        surface_set_color(s, 12);
        OpResult r = surface_rectangle(s, control, 5, 7, 5, 7);
        EXPECT_NE(r.result, 0);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(px(5, 7), 0xFFFF0000u) << control;
        EXPECT_EQ(count_not(kBlack), 1) << control;
    }
}

TEST_F(Surface, ReversedCornersDrawTheSameRectangle) {
    struct Corners {
        int x1, y1, x2, y2;
        int16_t status;
    };
    const Corners cases[] = {
        {10, 20, 40, 30, 0}, {40, 20, 10, 30, 3}, {10, 30, 40, 20, 3}, {40, 30, 10, 20, 3}};
    QImage first;
    for (const Corners& c : cases) {
        for (int control : {2, 3}) {
            ASSERT_TRUE(surface_reset(s, 64, 48, 32));
            OpResult r = surface_rectangle(s, control, c.x1, c.y1, c.x2, c.y2);
            EXPECT_EQ(r.status, c.status);
            if (control == 2) {
                if (first.isNull()) first = s.surface.copy();
                EXPECT_EQ(s.surface, first);
                // The border covers 2 * 31 + 2 * 11 - 4 pixels, each exactly once.
                EXPECT_EQ(count_not(kBlack), 2 * 31 + 2 * 11 - 4);
            } else {
                EXPECT_EQ(count_not(kBlack), 31 * 11);
            }
        }
    }
}

TEST_F(Surface, XorPolygonTwiceRestores) {
    surface_set_color(s, 4);
    surface_rectangle(s, 3, 30, 30, 200, 150);
    surface_set_color(s, 14);
    surface_set_line_style(s, 0xCCCC);
    surface_line_to(s, 10, 10);
    QImage before = s.surface.copy();
    const int16_t tri[] = {100, 106, 103, 100, 106, 106};
    const int16_t star[] = {50, 50, 250, 60, 80, 200, 150, 20, 220, 200, 10, 100};
    surface_set_color(s, 3);
    surface_set_write_mode(s, 4);
    for (int style : {0xFFFF, 0xCCCC}) {
        surface_set_line_style(s, static_cast<uint16_t>(style));
        for (auto [pts, n] : {std::pair{tri, 3}, std::pair{star, 6}}) {
            surface_polygon(s, 2, pts, n);
            EXPECT_NE(s.surface, before);
            surface_polygon(s, 2, pts, n);
            EXPECT_EQ(s.surface, before);
        }
    }
}

TEST_F(Surface, WriteModesCombineWithThePixelThere) {
    struct ModeCase {
        int mode;
        uint32_t expect;
    };
    // Background palette 4 (128, 0, 0), pen palette 14 (255, 255, 0).
    const ModeCase cases[] = {
        {0, 0xFFFFFF00u}, {1, 0xFF800000u}, {2, 0xFF0000FFu}, {3, 0xFFFFFF00u}, {4, 0xFF7FFF00u}};
    for (const ModeCase& c : cases) {
        ASSERT_TRUE(surface_reset(s, 32, 32, 32));
        surface_set_color(s, 4);
        surface_rectangle(s, 3, 0, 0, 31, 31);
        surface_set_color(s, 14);
        EXPECT_EQ(surface_set_write_mode(s, c.mode).result, 3);
        int px0, py0;
        surface_move_to(s, 2, 5, px0, py0);
        surface_line_to(s, 20, 5);
        EXPECT_EQ(px(10, 5), c.expect) << "mode " << c.mode;
        // Fills always copy.
        surface_rectangle(s, 3, 0, 10, 3, 12);
        EXPECT_EQ(px(1, 11), 0xFFFFFF00u) << "mode " << c.mode;
    }
}

TEST_F(Surface, InvalidWriteModeKeepsTheMode) {
    surface_set_write_mode(s, 4);
    for (int bad : {-1, 5, 100, -32768}) {
        OpResult r = surface_set_write_mode(s, bad);
        EXPECT_EQ(r.result, -1);
        EXPECT_EQ(s.write_mode, 4);
    }
    EXPECT_EQ(surface_set_write_mode(s, 0).result, 4);
}

TEST_F(Surface, PenKindFromTheNumberOfSetBits) {
    struct KindCase {
        uint16_t mask;
        int kind;
    };
    const KindCase cases[] = {
        {0xFFFF, PEN_SOLID},    {0xFFFE, PEN_DASH},         {0x07FF, PEN_DASH},
        {0x03FF, PEN_DASH_DOT}, {0x01FF, PEN_DASH_DOT_DOT}, {0xCCCC, PEN_DOT},
        {0xAAAA, PEN_DOT},      {0x0001, PEN_DOT},          {0x0000, PEN_NULL}};
    for (const KindCase& c : cases) {
        EXPECT_EQ(surface_set_line_style(s, c.mask).result, c.kind) << std::hex << c.mask;
        EXPECT_EQ(s.line_mask, c.mask);
    }
}

TEST_F(Surface, DottedMasksGiveTheSamePen) {
    QImage img[2];
    const uint16_t masks[2] = {0xCCCC, 0xAAAA};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(surface_reset(s, 64, 16, 32));
        surface_set_line_style(s, masks[i]);
        int a, b;
        surface_move_to(s, 0, 8, a, b);
        surface_line_to(s, 63, 8);
        img[i] = s.surface.copy();
        int on = 0;
        for (int x = 0; x < 64; ++x)
            on += px(x, 8) != kBlack;
        EXPECT_GT(on, 16);
        EXPECT_LT(on, 48); // broken, not solid
    }
    EXPECT_EQ(img[0], img[1]);
    surface_set_line_style(s, 0);
    QImage before = s.surface.copy();
    surface_line_to(s, 0, 0);
    EXPECT_EQ(s.surface, before); // the invisible pen
}

TEST_F(Surface, LinesIncludeBothEndsAndMoveThePen) {
    int a, b;
    surface_move_to(s, 3, 4, a, b);
    EXPECT_EQ(a, 160);
    EXPECT_EQ(b, 120);
    OpResult r = surface_line_to(s, 13, 4);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(count_not(kBlack), 11);
    EXPECT_NE(px(3, 4), kBlack);
    EXPECT_NE(px(13, 4), kBlack);
    EXPECT_EQ(s.pen_x, 13);
}

TEST_F(Surface, ColourIndexIsClamped) {
    struct ColourCase {
        int count, from, ask, get;
        int16_t status;
    };
    const ColourCase cases[] = {{16, 2, 16, 15, 3},    {16, 2, -1, 0, 3},     {16, 2, 7, 7, 0},
                                {256, 2, 300, 255, 3}, {256, 2, 255, 255, 0}, {2, 0, 5, 1, 3},
                                {16, 9, 9, 9, 0}};
    for (const ColourCase& c : cases) {
        s.colour_count = c.count;
        s.colour = c.from;
        OpResult r = surface_set_color(s, c.ask);
        EXPECT_EQ(r.result, c.from);
        EXPECT_EQ(s.colour, c.get) << c.ask;
        EXPECT_EQ(r.status, c.status) << c.ask;
    }
}

TEST_F(Surface, InvertedWindowMapsCornersAndCentre) {
    ASSERT_EQ(surface_set_viewport(s, 10, 20, 210, 220).status, 0);
    ASSERT_NE(surface_set_window(s, true, -1, -1, 1, 1).result, 0);
    struct MapCase {
        double wx, wy;
        int x, y; // physical
    };
    const MapCase cases[] = {
        {-1, -1, 10, 220}, {1, 1, 210, 20}, {0, 0, 110, 120}, {-1, 1, 10, 20}, {1, -1, 210, 220}};
    for (const MapCase& c : cases) {
        double pwx, pwy;
        surface_move_to_w(s, c.wx, c.wy, pwx, pwy);
        EXPECT_EQ(s.pen_x, c.x) << c.wx << "," << c.wy;
        EXPECT_EQ(s.pen_y, c.y) << c.wx << "," << c.wy;
        // And back: the previous position in window coordinates.
        surface_move_to_w(s, 0, 0, pwx, pwy);
        EXPECT_DOUBLE_EQ(pwx, c.wx);
        EXPECT_DOUBLE_EQ(pwy, c.wy);
    }
}

TEST_F(Surface, EqualOrBadWindowBoundsFailAndKeepTheMapping) {
    surface_set_window(s, false, 0, 0, 100, 50);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double bad[][4] = {{5, 0, 5, 1}, {0, 3, 1, 3}, {nan, 0, 1, 1}, {-1e308, 0, 1e308, 1}};
    for (const auto& b : bad) {
        OpResult r = surface_set_window(s, true, b[0], b[1], b[2], b[3]);
        EXPECT_EQ(r.result, 0);
        EXPECT_EQ(r.status, -1);
        EXPECT_EQ(s.wx2, 100);
        EXPECT_EQ(s.wy2, 50);
        EXPECT_FALSE(s.invert_y);
    }
    OpResult swapped = surface_set_window(s, false, 10, 5, 0, 0);
    EXPECT_EQ(swapped.status, 3);
    EXPECT_EQ(s.wx1, 0);
    EXPECT_EQ(s.wx2, 10);
}

TEST_F(Surface, ViewportClampsAndRefusesDegenerate) {
    struct VpCase {
        int x1, y1, x2, y2;
        int result;
        int16_t status;
        int l, t, r, b; // clip afterwards
        int ox, oy;     // origin afterwards
    };
    const VpCase cases[] = {
        {10, 20, 110, 120, 1, 0, 10, 20, 110, 120, 10, 20},
        {110, 120, 10, 20, 1, 3, 10, 20, 110, 120, 10, 20},
        {-5, -5, 400, 300, 1, 3, 0, 0, 319, 239, -5, -5},
        {50, 60, 50, 90, 0, -1, 0, 0, 319, 239, 50, 60},    // zero width: clip kept, origin moved
        {400, 10, 500, 90, 0, -1, 0, 0, 319, 239, 400, 10}, // both beyond the right edge
    };
    for (const VpCase& c : cases) {
        ASSERT_TRUE(surface_reset(s, 320, 240, 32));
        OpResult r = surface_set_viewport(s, c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(r.result != 0, c.result != 0) << c.x1;
        EXPECT_EQ(r.status, c.status) << c.x1;
        EXPECT_EQ(s.clip_left, c.l);
        EXPECT_EQ(s.clip_top, c.t);
        EXPECT_EQ(s.clip_right, c.r);
        EXPECT_EQ(s.clip_bottom, c.b);
        EXPECT_EQ(s.origin_x, c.ox);
        EXPECT_EQ(s.origin_y, c.oy);
    }
}

TEST_F(Surface, NothingIsDrawnOutsideTheClip) {
    surface_set_viewport(s, 50, 40, 150, 120);
    surface_set_color(s, 12);
    int a, b;
    surface_move_to(s, -30000, -30000, a, b);
    EXPECT_EQ(surface_line_to(s, 30000, 29000).status, 2);
    EXPECT_EQ(surface_line_to(s, 60, 50).status, 2);
    surface_rectangle(s, 3, -100, -100, 32767, 10);
    surface_rectangle(s, 2, -32768, -32768, 32767, 32767);
    const int16_t poly[] = {-32768, -32768, 32767, 0, 0, 32767, 90, 90};
    surface_polygon(s, 3, poly, 4);
    surface_polygon(s, 2, poly, 4);
    EXPECT_EQ(count_outside(50, 40, 150, 120, kBlack), 0);
    EXPECT_GT(count_not(kBlack), 100);
}

TEST_F(Surface, ClassifiesFiguresAgainstTheClip) {
    surface_set_viewport(s, 50, 40, 150, 120);
    int a, b;
    surface_move_to(s, -20, 10, a, b);
    EXPECT_EQ(surface_line_to(s, -10, 60).status, 1); // both left of the clip
    EXPECT_EQ(surface_rectangle(s, 2, 200, 0, 220, 10).status, 1);
    EXPECT_EQ(surface_rectangle(s, 2, 90, 70, 120, 90).status, 2);
    EXPECT_EQ(surface_rectangle(s, 2, 10, 10, 20, 20).status, 0);
    EXPECT_EQ(count_not(kBlack), 40 + 21); // whole border, and the clipped one's two edges
}

TEST_F(Surface, BadShapeControlsAndCountsDrawNothing) {
    const int16_t pts[] = {10, 10, 50, 10, 30, 40};
    for (int control : {0, 1, 4, -4, 32767}) {
        EXPECT_EQ(surface_rectangle(s, control, 1, 1, 50, 50).status, -4);
        EXPECT_EQ(surface_polygon(s, control, pts, 3).status, -4);
    }
    for (int count : {-1, 0, 1, 2, 16382, 32767}) {
        OpResult r = surface_polygon(s, 2, pts, count);
        EXPECT_EQ(r.status, 252) << count;
        EXPECT_EQ(r.result, 0);
    }
    EXPECT_EQ(count_not(kBlack), 0);
    EXPECT_FALSE(s.has_graphics);
}

TEST_F(Surface, FarWindowPointsKeepTheDirection) {
    // A line from the centre towards (1e300, 1e300) in a y-down window leaves
    // at the bottom-right corner along the diagonal.
    ASSERT_TRUE(surface_reset(s, 200, 200, 32));
    surface_set_window(s, false, 0, 0, 199, 199);
    double a, b;
    surface_move_to_w(s, 100, 100, a, b);
    EXPECT_EQ(surface_line_to_w(s, 1e300, 1e300).status, 2);
    for (int i = 100; i < 200; ++i)
        EXPECT_NE(px(i, i), kBlack) << i;
    EXPECT_EQ(count_not(kBlack), 100);
    // And back from far away to a near point: the same diagonal.
    EXPECT_EQ(surface_line_to_w(s, 50, 50).status, 2);
    for (int i = 50; i < 200; ++i)
        EXPECT_NE(px(i, i), kBlack) << i;
    EXPECT_EQ(count_not(kBlack), 150);
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_NE(surface_line_to_w(s, -inf, 50).result, 0);
    for (int x = 0; x <= 50; ++x)
        EXPECT_NE(px(x, 50), kBlack) << x;
}

TEST_F(Surface, NanCoordinatesDrawNothing) {
    surface_set_window(s, true, -1, -1, 1, 1);
    double a, b;
    surface_move_to_w(s, 0, 0, a, b);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    int px0 = s.pen_x, py0 = s.pen_y;
    EXPECT_EQ(surface_line_to_w(s, nan, 0.5).result, 0);
    EXPECT_EQ(surface_line_to_w(s, 0.5, nan).result, 0);
    EXPECT_EQ(surface_move_to_w(s, nan, nan, a, b).result, 0);
    EXPECT_EQ(s.pen_x, px0);
    EXPECT_EQ(s.pen_y, py0);
    EXPECT_EQ(count_not(kBlack), 0);
}

TEST_F(Surface, TextWithoutAFontDrawsNothing) {
    OpResult r = surface_text(s, "Hello", 5);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(count_not(kBlack), 0);
    EXPECT_EQ(s.pen_x, 160);
}

} // namespace
