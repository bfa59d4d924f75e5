// Lines, numbers, units and plain columns: what instruments and people write, read the same way.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "measure/measure_units.h"
#include "measure/number_cells.h"
#include "measure/plain_reader.h"
#include "measure/text_lines.h"

namespace {

std::string write_temp(const std::string& name, const std::string& bytes) {
    const std::string path = ::testing::TempDir() + "measure_text_" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// Every line of a file, or the error.
std::vector<std::string> all_lines(const std::string& path, std::string& error) {
    TextLines lines;
    std::vector<std::string> out;
    if (!text_lines_open(lines, path, error)) return out;
    std::string text;
    int got = 0;
    while ((got = text_lines_next(lines, text, error)) > 0)
        out.push_back(text);
    text_lines_close(lines);
    if (got < 0) out.push_back("ERROR");
    return out;
}

struct LinesCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines; // ending in "ERROR" when the file is refused
    const char* error_words;        // words of the error ("" for none)
};

void PrintTo(const LinesCase& c, std::ostream* os) {
    *os << c.name;
}

class Lines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(Lines, LineEndsEncodingsAndBinaryText) {
    const LinesCase c = GetParam();
    std::string error;
    const auto got = all_lines(write_temp(c.name, c.bytes), error);
    EXPECT_EQ(got, c.lines);
    EXPECT_NE(error.find(c.error_words), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Files, Lines,
    ::testing::Values(
        LinesCase{"lf", "a\nb\n", {"a", "b"}, ""}, LinesCase{"crlf", "a\r\nb\r\n", {"a", "b"}, ""},
        LinesCase{"cr", "a\rb\r", {"a", "b"}, ""}, LinesCase{"no_last_end", "a\nb", {"a", "b"}, ""},
        LinesCase{"blank_lines", "a\r\n\r\nb", {"a", "", "b"}, ""},
        LinesCase{"utf8_bom", "\xEF\xBB\xBFH,B\n1,2\n", {"H,B", "1,2"}, ""},
        LinesCase{"latin1", "Am\xB2\n", {"Am\xB2"}, ""},
        LinesCase{
            "utf16", std::string("\xFF\xFEH\0,\0B\0\n\0", 10), {"ERROR"}, "line 1: not a text"},
        LinesCase{"nul_later",
                  std::string("1,2\n3,\0"
                              "4\n",
                              9),
                  {"1,2", "ERROR"},
                  "line 2: a NUL"},
        LinesCase{"empty", "", {}, ""}));

TEST(Lines, CrLfAtAChunkBorderIsOneLineEnd) {
    // 65535 characters, then CR at the last byte of the first chunk and LF in the next.
    const std::string first(65535, 'x');
    std::string error;
    const auto got = all_lines(write_temp("border", first + "\r\nnext\n"), error);
    ASSERT_EQ(got.size(), 2u) << error;
    EXPECT_EQ(got[0], first);
    EXPECT_EQ(got[1], "next");
}

TEST(Lines, AFolderIsRefusedByName) {
    TextLines lines;
    std::string error;
    EXPECT_FALSE(text_lines_open(lines, ::testing::TempDir(), error));
    EXPECT_NE(error.find("a folder"), std::string::npos) << error;
}

struct NumberCase {
    const char* cell;
    int answer;
    double value;
};

TEST(Numbers, OneSignOneNumberNothingElse) {
    const NumberCase cases[] = {
        {"1.5", kNumberOk, 1.5},        {" +2e-3 ", kNumberOk, 2e-3},
        {"-0.25", kNumberOk, -0.25},    {"+-0.5", kNumberText, 0},
        {"--1", kNumberText, 0},        {"1.5x", kNumberText, 0},
        {"", kNumberText, 0},           {"1,5", kNumberText, 0},
        {"nan", kNumberNotFinite, 0},   {"-inf", kNumberNotFinite, 0},
        {"1e999", kNumberNotFinite, 0}, {"-1e999", kNumberNotFinite, 0},
        {"1e-999", kNumberOk, 0.0},     {"+588.2238E-09", kNumberOk, 588.2238e-9},
    };
    for (const NumberCase& c : cases) {
        double v = -99.0;
        EXPECT_EQ(read_number(c.cell, v), c.answer) << c.cell;
        if (c.answer == kNumberOk) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.cell;
        }
    }
}

struct UnitCase {
    const char* text;
    UnitQuantity quantity;
    bool known;
    double to_si;
};

TEST(Units, InstrumentSpellingsToSI) {
    const UnitCase cases[] = {
        {"T", UnitQuantity::field, true, 1.0},
        {"mT", UnitQuantity::field, true, 1e-3},
        {"Oe", UnitQuantity::field, true, 1e-4},
        {"kOe", UnitQuantity::field, true, 0.1},
        {"A/m", UnitQuantity::field, true, 1.25663706212e-6},
        {"kA/m", UnitQuantity::field, true, 1.25663706212e-3},
        {"emu", UnitQuantity::moment, true, 1e-3},
        {"Am\xB2", UnitQuantity::moment, true, 1.0},     // Latin-1
        {"Am\xC2\xB2", UnitQuantity::moment, true, 1.0}, // UTF-8
        {"A m^2", UnitQuantity::moment, true, 1.0},
        {"A*m2", UnitQuantity::moment, true, 1.0},
        {"", UnitQuantity::moment, true, 1.0},
        {"furlong", UnitQuantity::field, false, 0},
        {"emu", UnitQuantity::field, false, 0},
        {"Oe", UnitQuantity::moment, false, 0},
    };
    for (const UnitCase& c : cases) {
        ColumnUnit u;
        EXPECT_EQ(read_unit(c.text, c.quantity, u), c.known) << c.text;
        if (c.known) {
            EXPECT_DOUBLE_EQ(u.to_si, c.to_si) << c.text;
        }
    }
}

struct PlainCase {
    const char* name;
    const char* text;
    const char* columns;        // --columns
    std::vector<double> points; // H0, M0, H1, M1, ... in SI (empty when refused)
    const char* error_words;    // words of the refusal
};

void PrintTo(const PlainCase& c, std::ostream* os) {
    *os << c.name;
}

class Plain : public ::testing::TestWithParam<PlainCase> {};

TEST_P(Plain, SeparatorsHeadersUnitsAndColumns) {
    const PlainCase c = GetParam();
    PlainReader reader;
    std::string error;
    ASSERT_TRUE(plain_reader_open(reader, write_temp(c.name, c.text), c.columns, error));
    std::vector<double> got;
    double H = 0.0, M = 0.0;
    int answer = 0;
    while ((answer = plain_reader_next(reader, H, M, error)) > 0) {
        got.push_back(H);
        got.push_back(M);
    }
    plain_reader_close(reader);
    if (c.points.empty()) {
        EXPECT_EQ(answer, -1);
        EXPECT_NE(error.find(c.error_words), std::string::npos) << error;
        return;
    }
    ASSERT_EQ(answer, 0) << error;
    ASSERT_EQ(got.size(), c.points.size());
    for (size_t k = 0; k < got.size(); ++k)
        EXPECT_DOUBLE_EQ(got[k], c.points[k]) << k;
}

INSTANTIATE_TEST_SUITE_P(
    Files, Plain,
    ::testing::Values(
        PlainCase{"own", "# c\nH,B\n-1,-2\n1,2\n", "", {-1, -2, 1, 2}, ""},
        PlainCase{"semicolons", "H (Oe);M (emu)\n1000;2\n", "", {0.1, 2e-3}, ""},
        PlainCase{"tabs", "B [T]\tm [Am2]\n0.5\t3e-6\n", "", {0.5, 3e-6}, ""},
        PlainCase{"blanks", "  1.0   2.0 \n 3  4\n", "", {1, 2, 3, 4}, ""},
        PlainCase{"third_column_named",
                  "T (K),Field (mT),Moment (emu)\n300,10,1\n",
                  "",
                  {0.01, 1e-3},
                  ""},
        PlainCase{"columns_by_number", "1,2,3\n4,5,6\n", "3,1", {3, 1, 6, 4}, ""},
        PlainCase{"columns_by_name", "a (T),b (emu),c\n1,2,3\n", "a,c", {1, 3}, ""},
        PlainCase{"named_twice", "H (T),M (emu),M (emu)\n1,2,3\n", "", {}, "named twice"},
        PlainCase{"unknown_unit", "H (furlong),M (emu)\n1,2\n", "", {}, "unknown field unit"},
        PlainCase{"ragged", "H,M\n1,2\n3,4,5\n", "", {}, "line 3: 3 columns"},
        PlainCase{"text", "H,M\n1,2\n3,x\n", "", {}, "line 3: text where a number"},
        PlainCase{"nan", "H,M\n1,nan\n", "", {}, "line 2: not a finite number"},
        PlainCase{"no_such_column", "1,2\n", "1,7", {}, "no such pair"}));

} // namespace
