// Streaming reader of plain column files: comma, semicolon, tab or blank separated numbers, an
// optional first line naming the columns (with units such as "H (Oe)", "M (emu)", "B [T]"), and
// comment lines starting with "#". The program's own "H,B" files are plain files without units.
// A file of any length needs the same small memory. Any one thread per record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "measure/measure_units.h"
#include "measure/number_cells.h"
#include "measure/text_lines.h"

// The columns chosen and what they hold.
struct PlainColumns {
    CellSeparator separator = CellSeparator::comma; // how the cells are separated
    int count = 0;                                  // cells in every data line
    int field = 0;                                  // index (from 0) of the field column
    int moment = 1;                                 // index of the moment (or induction) column
    std::string field_name; // the columns' names in the header ("" without a header)
    std::string moment_name;
    ColumnUnit field_unit; // units from the header, and their factors to SI
    ColumnUnit moment_unit;
    bool has_header = false; // the first line named the columns
};

// One open plain file.
struct PlainReader {
    TextLines lines;                     // the file
    PlainColumns columns;                // decided on the first data or header line
    std::string choice;                  // --columns "F,M": names or numbers from 1 ("" to guess)
    bool started = false;                // the first data line has been read
    int64_t points = 0;                  // points delivered
    std::string line;                    // the line being read
    std::vector<std::string_view> cells; // its cells
};

// Opens path; choice is the --columns text ("" to take the columns the header names, or the
// first two). False with one line in error.
bool plain_reader_open(PlainReader& reader, const std::string& path, const std::string& choice,
                       std::string& error);

// The next point, converted to SI where the header gives units. Returns 1 with H and M set, 0 at
// the end, -1 with one line naming the file and line in error (text where a number belongs, a
// number that is not finite, a line with another count of cells, a column named twice, an
// unknown unit).
int plain_reader_next(PlainReader& reader, double& H, double& M, std::string& error);

// Closes the file.
void plain_reader_close(PlainReader& reader);

// Reads the columns a header line names (cells already split) and the choice into columns.
// False with the reason (without file or line) in error.
bool choose_plain_columns(const std::vector<std::string_view>& names, const std::string& choice,
                          PlainColumns& columns, std::string& error);
