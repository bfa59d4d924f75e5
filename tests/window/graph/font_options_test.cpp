// Reading font selection options into a request record.
#include "window/graph/font_options.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

int parse(const char* options, FontRequest& r) {
    return parse_font_options(options, static_cast<int>(std::strlen(options)), r);
}

TEST(FontOptions, ReadsTheApplicationsOptions) {
    FontRequest r;
    ASSERT_EQ(parse("T'COURIER'h14w9", r), 0);
    EXPECT_TRUE(r.has_face);
    EXPECT_EQ(r.face, "Courier New"); // alias
    EXPECT_EQ(r.height, 14);
    EXPECT_EQ(r.width, 9);
    EXPECT_FALSE(r.altered);
}

struct OptionsError {
    const char* options;
    int status;
};

TEST(FontOptions, FaceErrors) {
    const OptionsError cases[] = {
        {"t'Courier New", 255},                       // no closing quote
        {"tCourier'", 252},                           // no opening quote
        {"t", 252},                                   // nothing after t
        {"t'abcdefghijklmnopqrstuvwxyz012345'", 255}, // 32 characters
        {"t'abcdefghijklmnopqrstuvwxyz01234'", 0},    // 31 characters
    };
    for (const OptionsError& c : cases) {
        FontRequest r;
        EXPECT_EQ(parse(c.options, r), c.status) << c.options;
    }
}

TEST(FontOptions, OptionsAndCancellation) {
    FontRequest r;
    ASSERT_EQ(parse("f p", r), 0);
    EXPECT_EQ(r.pitch, PITCH_ANY);
    EXPECT_TRUE(r.altered);
    ASSERT_EQ(parse("rV", r), 0);
    EXPECT_EQ(r.kind, KIND_ANY);
    EXPECT_TRUE(r.altered);
    ASSERT_EQ(parse("Ff eUIb v", r), 0);
    EXPECT_EQ(r.pitch, PITCH_FIXED);
    EXPECT_EQ(r.kind, KIND_SCALABLE);
    EXPECT_TRUE(r.bold && r.underline && r.italic && r.best_fit);
    EXPECT_FALSE(r.altered);
    // Digits and unknown letters are skipped; h without digits is "not given".
    ASSERT_EQ(parse("x7 h w12 zq", r), 0);
    EXPECT_EQ(r.height, 0);
    EXPECT_EQ(r.width, 12);
}

TEST(FontOptions, NumberEndsTheParsingAndBlanksAreTrimmed) {
    FontRequest r;
    ASSERT_EQ(parse("n3 t'unclosed", r), 0);
    EXPECT_EQ(r.number, 3);
    EXPECT_FALSE(r.has_face);
    ASSERT_EQ(parse("t'Helv'     ", r), 0);
    EXPECT_EQ(r.face, "Arial");
    ASSERT_EQ(parse("t'tms rmn'h99999999999999", r), 0);
    EXPECT_EQ(r.face, "Times New Roman");
    EXPECT_GT(r.height, 0); // saturated, not overflowed
    EXPECT_EQ(parse_font_options(nullptr, 5, r), 0);
}

} // namespace
