// Plain column files: separator, header, units, the chosen columns.
#include "measure/plain_reader.h"

#include <cctype>

namespace {

std::string lower(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Splits "M (emu)" or "B [T]" into the name "M" and the unit "emu".
void name_and_unit(std::string_view cell, std::string& name, std::string& unit) {
    cell = trim_blanks(cell);
    unit.clear();
    const size_t open = cell.find_first_of("([");
    if (open != std::string_view::npos) {
        const char close = cell[open] == '(' ? ')' : ']';
        const size_t end = cell.find(close, open);
        if (end != std::string_view::npos) {
            unit = std::string(trim_blanks(cell.substr(open + 1, end - open - 1)));
            name = std::string(trim_blanks(cell.substr(0, open)));
            return;
        }
    }
    name = std::string(cell);
}

bool is_field_name(const std::string& n) {
    const std::string l = lower(n);
    return l == "h" || l == "b_applied" || l == "mu0h" || l == "mu0 h" || l == "µ0h" ||
           l.find("field") != std::string::npos || l == "applied";
}

bool is_moment_name(const std::string& n) {
    const std::string l = lower(n);
    return l == "m" || l == "b" || l == "j" || l.find("moment") != std::string::npos ||
           l.find("magnetization") != std::string::npos ||
           l.find("magnetisation") != std::string::npos;
}

// A --columns entry: a number from 1 or a name (with or without its unit).
int pick(const std::string& entry, const std::vector<std::string>& names,
         const std::vector<std::string>& cells) {
    double number = 0.0;
    if (read_number(entry, number) == kNumberOk) {
        const int k = static_cast<int>(number);
        return k == number && k >= 1 && k <= static_cast<int>(cells.size()) ? k - 1 : -1;
    }
    for (size_t k = 0; k < cells.size(); ++k)
        if (lower(cells[k]) == lower(entry) || lower(names[k]) == lower(entry))
            return static_cast<int>(k);
    return -1;
}

// The unit of the moment column: a moment (emu, A m^2), or, for an induction or magnetisation
// column, a field-like unit converted as mu0 M in tesla.
bool moment_unit(const std::string& unit, ColumnUnit& u) {
    if (read_unit(unit, UnitQuantity::moment, u)) return true;
    return read_unit(unit, UnitQuantity::field, u);
}

} // namespace

bool choose_plain_columns(const std::vector<std::string_view>& header, const std::string& choice,
                          PlainColumns& columns, std::string& error) {
    std::vector<std::string> names, units, cells;
    for (std::string_view c : header) {
        std::string n, u;
        name_and_unit(c, n, u);
        names.push_back(n);
        units.push_back(u);
        cells.push_back(std::string(trim_blanks(c)));
    }
    columns.count = static_cast<int>(header.size());
    int f = -1, m = -1;
    if (!choice.empty()) {
        const size_t comma = choice.find(',');
        if (comma == std::string::npos) {
            error = "--columns '" + choice + "': expected FIELD,MOMENT (names or numbers from 1)";
            return false;
        }
        f = pick(choice.substr(0, comma), names, cells);
        m = pick(choice.substr(comma + 1), names, cells);
        if (f < 0 || m < 0 || f == m) {
            error = "--columns '" + choice + "': no such pair of columns";
            return false;
        }
    } else if (columns.has_header) {
        for (size_t k = 0; k < names.size() && f < 0; ++k)
            if (is_field_name(names[k])) f = static_cast<int>(k);
        for (size_t k = 0; k < names.size() && m < 0; ++k)
            if (static_cast<int>(k) != f && is_moment_name(names[k])) m = static_cast<int>(k);
        if (f < 0 || m < 0) {
            f = 0;
            m = 1;
        }
    } else {
        f = 0;
        m = 1;
    }
    if (columns.count < 2 || f >= columns.count || m >= columns.count) {
        error = "fewer than two columns";
        return false;
    }
    if (columns.has_header) {
        for (size_t k = 0; k < names.size(); ++k)
            for (size_t j = k + 1; j < names.size(); ++j)
                if (!names[k].empty() && lower(names[k]) == lower(names[j]) &&
                    (static_cast<int>(k) == f || static_cast<int>(k) == m ||
                     static_cast<int>(j) == f || static_cast<int>(j) == m)) {
                    error = "the column '" + names[k] + "' is named twice";
                    return false;
                }
        if (!read_unit(units[f], UnitQuantity::field, columns.field_unit)) {
            error = "unknown field unit '" + units[f] + "' of column '" + names[f] + "'";
            return false;
        }
        if (!moment_unit(units[m], columns.moment_unit)) {
            error = "unknown unit '" + units[m] + "' of column '" + names[m] + "'";
            return false;
        }
        columns.field_name = names[f];
        columns.moment_name = names[m];
    }
    columns.field = f;
    columns.moment = m;
    return true;
}

bool plain_reader_open(PlainReader& reader, const std::string& path, const std::string& choice,
                       std::string& error) {
    plain_reader_close(reader);
    reader.columns = PlainColumns{};
    reader.choice = choice;
    reader.started = false;
    reader.points = 0;
    return text_lines_open(reader.lines, path, error);
}

int plain_reader_next(PlainReader& reader, double& H, double& M, std::string& error) {
    int got = 0;
    while ((got = text_lines_next(reader.lines, reader.line, error)) > 0) {
        const std::string_view t = trim_blanks(reader.line);
        if (t.empty() || t[0] == '#') continue;
        PlainColumns& c = reader.columns;
        if (!reader.started) {
            c.separator = guess_separator(t);
            split_cells(t, c.separator, reader.cells);
            bool all_numbers = true;
            double x = 0.0;
            for (std::string_view cell : reader.cells)
                if (read_number(cell, x) == kNumberText) all_numbers = false;
            c.has_header = !all_numbers;
            if (!choose_plain_columns(reader.cells, reader.choice, c, error)) {
                error = text_lines_where(reader.lines) + ": " + error;
                return -1;
            }
            reader.started = true;
            if (c.has_header) continue;
        } else {
            split_cells(t, c.separator, reader.cells);
        }
        if (static_cast<int>(reader.cells.size()) != c.count) {
            error = text_lines_where(reader.lines) + ": " + std::to_string(reader.cells.size()) +
                    " columns where the first line has " + std::to_string(c.count);
            return -1;
        }
        double h = 0.0, m = 0.0;
        const int sh = read_number(reader.cells[c.field], h);
        const int sm = read_number(reader.cells[c.moment], m);
        if (sh == kNumberNotFinite || sm == kNumberNotFinite) {
            error = text_lines_where(reader.lines) + ": not a finite number";
            return -1;
        }
        if (sh != kNumberOk || sm != kNumberOk) {
            error = text_lines_where(reader.lines) + ": text where a number belongs";
            return -1;
        }
        H = h * c.field_unit.to_si;
        M = m * c.moment_unit.to_si;
        ++reader.points;
        return 1;
    }
    return got;
}

void plain_reader_close(PlainReader& reader) {
    text_lines_close(reader.lines);
}
