// Splitting a line of a column file into cells and reading cells as numbers, whatever the
// process's locale. Pure code: any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// How the cells of a line are separated.
enum class CellSeparator {
    comma,     // ","
    semicolon, // ";"
    tab,       // one tab between cells (empty cells kept)
    blanks,    // any run of spaces and tabs
};

// The cells of line, split at sep, each without blanks around it. Double quotes around a cell
// (as Quantum Design writes a comment holding a comma) are removed and protect separators.
void split_cells(std::string_view line, CellSeparator sep, std::vector<std::string_view>& cells);

// The separator a header or data line most likely uses: tab, then semicolon, then comma when
// present, otherwise blanks.
CellSeparator guess_separator(std::string_view line);

// Answers of read_number.
constexpr int kNumberOk = 1;         // a finite number
constexpr int kNumberText = 0;       // empty, or not a number
constexpr int kNumberNotFinite = -1; // NaN, an infinity, or beyond the largest double

// A whole cell as one number: an optional sign ("+" or "-", one only), digits, an optional
// fraction and exponent. Nothing else may be in the cell.
int read_number(std::string_view cell, double& value);

// The cell without blanks around it.
std::string_view trim_blanks(std::string_view cell);
