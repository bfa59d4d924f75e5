// List-directed output records: the leading blank, items, the empty record,
// the unit they go to, and reals that read back to the same double.
#include "text/write_line.h"

#include "text/number_parse.h"
#include "text/output_unit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct Captured {
    int unit;
    std::string line;
};

std::vector<Captured> g_lines;

void capture(int unit, const char* line, int length) {
    g_lines.push_back({unit, std::string(line, static_cast<size_t>(length))});
}

class WriteLine : public ::testing::Test {
  protected:
    void SetUp() override {
        g_lines.clear();
        set_line_sink(capture);
    }
    void TearDown() override { set_line_sink(nullptr); }
};

TEST_F(WriteLine, InstructionLinesComeOutWithTheLeadingBlank) {
    write_line({"Short Instructions (January 7, 2003):"});
    write_line();
    write_line({"      File --> Open workspace..."});
    write_line({"      State --> Input Hn... "});
    write_line({"NT>NXY"});
    ASSERT_EQ(g_lines.size(), 5u);
    EXPECT_EQ(g_lines[0].line, " Short Instructions (January 7, 2003):");
    EXPECT_EQ(g_lines[1].line, "");
    EXPECT_EQ(g_lines[2].line, "       File --> Open workspace...");
    EXPECT_EQ(g_lines[3].line, "       State --> Input Hn... ");
    EXPECT_EQ(g_lines[4].line, " NT>NXY");
    for (const Captured& c : g_lines)
        EXPECT_EQ(c.unit, kStandardOutputUnit);
    EXPECT_EQ(kStandardOutputUnit, 6);
}

TEST_F(WriteLine, ItemsAndTheirSeparators) {
    write_line({"a", "b", 3, -12, "c"});
    write_line({7, "x="});
    write_line({std::string_view("abc", 2), 0.5, 1e10, -1e20, 1e-300});
    ListItem none[1] = {"never"};
    write_line(none, 0);
    ASSERT_EQ(g_lines.size(), 4u);
    EXPECT_EQ(g_lines[0].line, " ab 3 -12c");
    EXPECT_EQ(g_lines[1].line, " 7x=");
    EXPECT_EQ(g_lines[2].line, " ab 0.50000000000000000 10000000000.000000 "
                               "-0.10000000000000000E+021 0.10000000000000000E-299");
    EXPECT_EQ(g_lines[3].line, "");
}

TEST_F(WriteLine, RealsReadBackToTheSameDouble) {
    std::mt19937_64 random(20030107);
    for (int i = 0; i < 2000; ++i) {
        std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) continue;
        char record[64];
        ListItem item(value);
        int size = list_directed_record(&item, 1, record, sizeof record);
        ASSERT_LE(size, static_cast<int>(sizeof record));
        ASSERT_EQ(record[0], ' ');
        double back = 0;
        ASSERT_EQ(parse_real(record, size, back), kParseOk) << std::string(record, size);
        EXPECT_EQ(back, value) << std::string(record, size);
    }
}

TEST_F(WriteLine, NonFiniteRealsAndLongRecords) {
    write_line({"v", 1.0 / 0.0, -1.0 / 0.0, 0.0 / 0.0});
    std::string long_text(1000, 'x');
    write_line({std::string_view(long_text), std::string_view(long_text)});
    ASSERT_EQ(g_lines.size(), 2u);
    EXPECT_EQ(g_lines[0].line, " v Infinity -Infinity NaN");
    EXPECT_EQ(g_lines[1].line, " " + long_text + long_text);
}

TEST(ListDirectedRecord, ReportsTheFullLengthBeyondASmallBuffer) {
    ListItem items[] = {"abcdef", 42};
    char buffer[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(list_directed_record(items, 2, buffer, 3), 10);
    EXPECT_EQ(std::string(buffer, 4), " ab#");
    EXPECT_EQ(list_directed_record(items, 2, nullptr, 0), 10);
}

} // namespace
