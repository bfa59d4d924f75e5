// The drawn curve as CSV text: comment lines, header, exact numbers, and no locale in them.
#include <gtest/gtest.h>

#include "tests/support/comma_locale.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "model/curve_csv.h"
#include "model_fixture.h"

namespace {

// The lines of a text.
std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

TEST(CurveCsv, CommentsHeaderAndEveryDrawnPointReadBackExactly) {
    ModelState& m = opened_workspace();
    right_click(m, 0.5);
    right_click(m, -0.125);
    std::string text;
    format_curve_csv(m, text);
    const std::vector<std::string> lines = lines_of(text);
    size_t first = 0;
    while (first < lines.size() && !lines[first].empty() && lines[first][0] == '#')
        ++first;
    ASSERT_EQ(first, 4u);
    EXPECT_EQ(lines[0], "# Hc = 0.40000000596046448");
    EXPECT_EQ(lines[1], "# Kmax = 3.2385880947113037");
    EXPECT_EQ(lines[2], "# start = negative saturation (Ho = -1)");
    EXPECT_EQ(lines[3], "# points = " + std::to_string(m.Ndrawn + 1));
    ASSERT_EQ(lines.size(), first + 1 + static_cast<size_t>(m.Ndrawn) + 1);
    EXPECT_EQ(lines[first], "H,B");
    for (int32_t k = 0; k <= m.Ndrawn; ++k) {
        const std::string& line = lines[first + 1 + static_cast<size_t>(k)];
        char* end = nullptr;
        const double H = std::strtod(line.c_str(), &end);
        ASSERT_EQ(*end, ',') << line;
        const double B = std::strtod(end + 1, &end);
        ASSERT_EQ(*end, '\0') << line;
        ASSERT_EQ(H, m.Hcurve[k]) << k;
        ASSERT_EQ(B, m.Bcurve[k]) << k;
    }
}

TEST(CurveCsv, DecimalCommaLocaleChangesNothing) {
    ModelState& m = opened_workspace();
    right_click(m, 0.3);
    std::string plain;
    format_curve_csv(m, plain);
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const std::string name = use_comma_locale();
    if (name.empty()) GTEST_SKIP() << "no locale with a decimal comma can be had";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    std::string in_locale;
    format_curve_csv(m, in_locale);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(in_locale, plain);
}

TEST(CurveCsv, AnyDrawnCountGivesABoundedPointList) {
    const struct {
        int32_t drawn;  // Ndrawn
        int32_t points; // points written
    } cases[] = {{INT32_MAX, kCurveSlots}, {-1, 0}, {INT32_MIN, 0}, {2, 3}};
    for (const auto& c : cases) {
        ModelState& m = opened_workspace();
        m.Ndrawn = c.drawn;
        std::string text;
        format_curve_csv(m, text);
        const std::vector<std::string> lines = lines_of(text);
        ASSERT_EQ(lines.size(), 5u + static_cast<size_t>(c.points)) << c.drawn;
        EXPECT_EQ(lines[3], "# points = " + std::to_string(c.points));
    }
}

} // namespace
