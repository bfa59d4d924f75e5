// Quantum Design .dat files: header, column names, rows.
#include "measure/quantum_design_reader.h"

#include <string_view>
#include <vector>

#include "measure/number_cells.h"

namespace {

// The unit in brackets at the end of a column name ("Moment (emu)" gives "emu").
std::string unit_of(std::string_view name) {
    const size_t open = name.rfind('(');
    const size_t close = name.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return "";
    return std::string(name.substr(open + 1, close - open - 1));
}

// The first column whose name starts with one of the names, in the order given.
int find_column(const std::vector<std::string>& names, std::initializer_list<const char*> wanted) {
    for (const char* w : wanted)
        for (size_t k = 0; k < names.size(); ++k)
            if (names[k].compare(0, std::char_traits<char>::length(w), w) == 0)
                return static_cast<int>(k);
    return -1;
}

} // namespace

bool is_quantum_design_first_line(const std::string& line) {
    return line.compare(0, 8, "[Header]") == 0;
}

bool read_quantum_design(TextLines& lines, MeasuredSeries& series, int64_t& skipped,
                         std::string& error) {
    series.source = lines.path;
    series.format = "Quantum Design";
    skipped = 0;
    std::string line;
    std::vector<std::string_view> cells;
    int got = 0;
    bool data = false;
    while ((got = text_lines_next(lines, line, error)) > 0) {
        if (line.compare(0, 6, "[Data]") == 0) {
            data = true;
            break;
        }
        const CellSeparator sep = guess_separator(line);
        split_cells(line, sep, cells);
        if (cells.size() >= 2 && cells[0] == "BYAPP")
            series.format = "Quantum Design " + std::string(cells[1]);
        if (cells.size() >= 2 && cells[0] == "TITLE" && series.specimen.empty())
            series.specimen = std::string(cells[1]);
        if (cells.size() >= 3 && cells[0] == "FILEOPENTIME")
            series.measured_on = std::string(cells[2]);
        if (cells.size() >= 3 && cells[0] == "INFO") {
            // "INFO,value,NAME": the sample's description and mass are worth reporting.
            std::string name;
            for (size_t k = cells.size(); k-- > 2;)
                if (!cells[k].empty()) {
                    name = std::string(cells[k]);
                    break;
                }
            if (name.compare(0, 7, "SAMPLE_") == 0 && !cells[1].empty()) {
                HeaderValue v;
                v.section = "INFO";
                v.name = name;
                v.text = std::string(cells[1]);
                double x = 0.0;
                if (read_number(cells[1], x) == kNumberOk) {
                    v.has_number = true;
                    v.number = x;
                }
                series.header.push_back(v);
                if (name == "SAMPLE_MATERIAL" && series.specimen.empty()) series.specimen = v.text;
            }
        }
    }
    if (got < 0) return false;
    if (!data) {
        error = lines.path + ": no [Data] section";
        return false;
    }
    if ((got = text_lines_next(lines, line, error)) <= 0) {
        if (got == 0) error = lines.path + ": no column names after [Data]";
        return false;
    }
    const CellSeparator sep =
        line.find('\t') != std::string::npos ? CellSeparator::tab : CellSeparator::comma;
    split_cells(line, sep, cells);
    std::vector<std::string> names(cells.begin(), cells.end());
    const int h = find_column(names, {"Magnetic Field", "Field"});
    // The moment: "Moment (emu)" as a VSM writes it; a DC scan leaves it empty and fills the
    // fitted moments instead. Every candidate is read; the first that holds values is taken.
    struct Candidate {
        int column = -1;           // its index
        ColumnUnit unit;           // its unit
        std::vector<double> H, M;  // the rows where field and this moment are both given
        std::vector<int64_t> line; // their lines
        int64_t skipped = 0;       // rows without this moment
    };
    std::vector<Candidate> moments;
    for (const char* wanted : {"Moment (", "DC Moment Free Ctr", "DC Moment Fixed Ctr"}) {
        const int m = find_column(names, {wanted});
        if (m >= 0) moments.push_back(Candidate{m, {}, {}, {}, {}, 0});
    }
    if (h < 0 || moments.empty()) {
        error = text_lines_where(lines) +
                ": no column named \"Magnetic Field (Oe)\" and \"Moment (emu)\"";
        return false;
    }
    for (size_t k = 0; k < names.size(); ++k)
        for (size_t j = k + 1; j < names.size(); ++j) {
            bool used = static_cast<int>(k) == h;
            for (const Candidate& c : moments)
                used = used || static_cast<int>(k) == c.column;
            if (!names[k].empty() && names[k] == names[j] && used) {
                error =
                    text_lines_where(lines) + ": the column \"" + names[k] + "\" is named twice";
                return false;
            }
        }
    if (!read_unit(unit_of(names[h]), UnitQuantity::field, series.field_unit)) {
        error = text_lines_where(lines) + ": unknown field unit '" + unit_of(names[h]) + "'";
        return false;
    }
    for (Candidate& c : moments)
        if (!read_unit(unit_of(names[c.column]), UnitQuantity::moment, c.unit)) {
            error = text_lines_where(lines) + ": unknown moment unit '" + unit_of(names[c.column]) +
                    "'";
            return false;
        }
    while ((got = text_lines_next(lines, line, error)) > 0) {
        if (trim_blanks(line).empty()) continue;
        split_cells(line, sep, cells);
        double H = 0.0;
        const int sh = static_cast<int>(cells.size()) > h ? read_number(cells[h], H) : kNumberText;
        if (sh == kNumberNotFinite) {
            error = text_lines_where(lines) + ": not a finite number";
            return false;
        }
        const bool h_empty = static_cast<int>(cells.size()) <= h || trim_blanks(cells[h]).empty();
        for (Candidate& c : moments) {
            double M = 0.0;
            const bool present = static_cast<int>(cells.size()) > c.column;
            const int sm = present ? read_number(cells[c.column], M) : kNumberText;
            if (sm == kNumberNotFinite) {
                error = text_lines_where(lines) + ": not a finite number";
                return false;
            }
            if (sh != kNumberOk || sm != kNumberOk) {
                if (!h_empty && present && !trim_blanks(cells[c.column]).empty()) {
                    error = text_lines_where(lines) + ": text where a number belongs";
                    return false;
                }
                ++c.skipped;
                continue;
            }
            c.H.push_back(H * series.field_unit.to_si);
            c.M.push_back(M * c.unit.to_si);
            c.line.push_back(lines.line);
        }
    }
    if (got < 0) return false;
    for (Candidate& c : moments) {
        if (c.H.empty()) continue;
        series.field_name = names[h];
        series.moment_name = names[c.column];
        series.moment_unit = c.unit;
        series.H.swap(c.H);
        series.M.swap(c.M);
        series.line.swap(c.line);
        skipped = c.skipped;
        return true;
    }
    error = lines.path + ": no measurement with both a field and a moment";
    return false;
}
