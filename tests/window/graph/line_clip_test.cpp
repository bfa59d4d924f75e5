// Clipping line segments against a pixel rectangle.
#include "window/graph/line_clip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const ClipBox kBox{0, 0, 99, 49};

struct PlaceCase {
    Segment s;
    SegmentPlace place;
};

TEST(LineClip, ClassifiesByOutcodes) {
    const PlaceCase cases[] = {
        {{1, 1, 98, 48}, SEGMENT_INSIDE},        {{-5, 10, 50, 10}, SEGMENT_PARTIAL},
        {{-5, 10, -1, 40}, SEGMENT_OUTSIDE},   // both left
        {{10, 60, 90, 70}, SEGMENT_OUTSIDE},   // both below
        {{-10, 20, 120, 20}, SEGMENT_PARTIAL}, // left to right across
        {{-10, -10, 200, 100}, SEGMENT_PARTIAL}, {{NAN, 1, 2, 2}, SEGMENT_PARTIAL},
    };
    for (const PlaceCase& c : cases)
        EXPECT_EQ(classify_segment(c.s, kBox), c.place);
}

TEST(LineClip, CutsToTheBoxKeepingDirection) {
    Segment s{-50, 10, 150, 10};
    bool a = false, b = false;
    ASSERT_TRUE(clip_segment(s, kBox, a, b));
    EXPECT_TRUE(a);
    EXPECT_TRUE(b);
    EXPECT_DOUBLE_EQ(s.x0, 0);
    EXPECT_DOUBLE_EQ(s.x1, 99);
    EXPECT_DOUBLE_EQ(s.y0, 10);

    Segment diag{-10, -10, 10, 10};
    ASSERT_TRUE(clip_segment(diag, kBox, a, b));
    EXPECT_TRUE(a);
    EXPECT_FALSE(b);
    EXPECT_DOUBLE_EQ(diag.x0, 0);
    EXPECT_DOUBLE_EQ(diag.y0, 0);

    Segment miss{-10, 60, 200, 55};
    EXPECT_FALSE(clip_segment(miss, kBox, a, b));
}

TEST(LineClip, FarEndKeepsTheDirection) {
    // From (50, 25) towards (1e300, 1e300 / 2): slope 1/2, leaves through the bottom at x = 98.
    Segment s{50, 25, 1e300, 25 + 0.5e300};
    ASSERT_TRUE(limit_segment(s, kBox, 1e12));
    EXPECT_TRUE(std::isfinite(s.x1));
    bool a = false, b = false;
    ASSERT_TRUE(clip_segment(s, kBox, a, b));
    EXPECT_NEAR(s.x1, 98, 1e-6);
    EXPECT_NEAR(s.y1, 49, 1e-6);
}

TEST(LineClip, InfiniteAndFarStartAreHandled) {
    const double inf = std::numeric_limits<double>::infinity();
    Segment s{10, 10, inf, 10};
    ASSERT_TRUE(limit_segment(s, kBox, 1e12));
    EXPECT_GT(s.x1, 1e11);
    EXPECT_DOUBLE_EQ(s.y1, 10);

    Segment back{-1e300, 20, 10, 20}; // a far start, as after a pen move far away
    ASSERT_TRUE(limit_segment(back, kBox, 1e12));
    EXPECT_TRUE(std::isfinite(back.x0));
    EXPECT_LT(back.x0, -1e11);
    EXPECT_DOUBLE_EQ(back.y0, 20);

    Segment bad{0, 0, NAN, 1};
    EXPECT_FALSE(limit_segment(bad, kBox, 1e12));
    Segment both{-inf, 0, inf, 1};
    EXPECT_FALSE(limit_segment(both, kBox, 1e12));
}

TEST(LineClip, RoundsHalfAwayFromZero) {
    const double in[] = {0.5, -0.5, 1.49, -1.5, 2.5, 0.0};
    const double out[] = {1, -1, 1, -2, 3, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(round_half_away(in[i]), out[i]) << in[i];
}

} // namespace
