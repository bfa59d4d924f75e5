// Font matching and building on a bare surface state.
#include "window/graph/font_list.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <cstring>

namespace {

OpResult select(SurfaceState& s, const char* options) {
    FontRequest req;
    EXPECT_EQ(parse_font_options(options, static_cast<int>(std::strlen(options)), req), 0);
    return match_and_select_font(s, req);
}

TEST(FontList, CellSizesFollowTheRequest) {
    struct Size {
        int h, w;
    };
    const Size sizes[] = {{10, 6}, {14, 9}, {16, 8}, {20, 12}, {32, 16}};
    for (const Size& z : sizes) {
        SurfaceState s;
        std::string options = "t'Courier'h" + std::to_string(z.h) + "w" + std::to_string(z.w);
        OpResult r = select(s, options.c_str());
        ASSERT_GT(r.result, 0) << options;
        EXPECT_LE(s.font_height, z.h) << options;
        EXPECT_GE(s.font_height, z.h - 2) << options;
        EXPECT_EQ(s.font_width, z.w) << options;
        EXPECT_TRUE(QFontInfo(s.font).fixedPitch()) << options;
        EXPECT_GT(s.font_ascent, 0);
        EXPECT_LT(s.font_ascent, s.font_height);
    }
}

TEST(FontList, WidthAloneKeepsTheFacesProportion) {
    // Without h the height follows the face, so the glyphs are not stretched.
    for (int w : {8, 12, 16, 24}) {
        SurfaceState s;
        std::string options = "t'Courier'w" + std::to_string(w);
        ASSERT_GT(select(s, options.c_str()).result, 0) << options;
        EXPECT_NEAR(s.font_width, w, 1) << options;
        EXPECT_GT(s.font_height, w) << options; // a fixed face is higher than wide
        const int stretch = s.font.stretch() == 0 ? 100 : s.font.stretch();
        EXPECT_NEAR(stretch, 100, 8) << options;
    }
}

TEST(FontList, StyleOptionsAndNumbers) {
    SurfaceState s;
    ASSERT_GT(select(s, "t'Courier New'h16eiu").result, 0);
    EXPECT_TRUE(s.font_bold);
    EXPECT_TRUE(s.font_italic);
    EXPECT_TRUE(s.font_underline);
    int n = static_cast<int>(font_list().size());
    ASSERT_GT(n, 0);
    OpResult last = select(s, ("n" + std::to_string(n)).c_str());
    EXPECT_EQ(last.result, n);
    EXPECT_EQ(s.font_number, n);
    EXPECT_EQ(select(s, ("n" + std::to_string(n + 1)).c_str()).result, -1);
    EXPECT_EQ(s.font_number, n); // kept
    // Only the aliased faces stand in for missing ones.
    EXPECT_EQ(select(s, "t'Missing Face'").status, 255);
    EXPECT_GT(select(s, "t'Helv'").result, 0);
    EXPECT_GT(select(s, "t'Tms Rmn'p").result, 0);
    // A scalable-only search selects a scalable font.
    OpResult v = select(s, "v");
    ASSERT_GT(v.result, 0);
    EXPECT_EQ(font_list()[static_cast<size_t>(v.result - 1)].type, 1);
}

TEST(FontList, DefaultIsTheLastScalableFont) {
    SurfaceState s;
    OpResult r = select_default_font(s);
    ASSERT_EQ(r.result, static_cast<int>(font_list().size()));
    const FontRecord& rec = font_list()[static_cast<size_t>(s.font_number - 1)];
    EXPECT_EQ(rec.type, 1);
    for (size_t k = static_cast<size_t>(s.font_number); k < font_list().size(); ++k)
        EXPECT_EQ(font_list()[k].type, 0);
}

} // namespace
