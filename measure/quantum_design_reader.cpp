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
    const int m =
        find_column(names, {"Moment (", "DC Moment Free Ctr", "DC Moment Fixed Ctr", "Moment"});
    if (h < 0 || m < 0) {
        error = text_lines_where(lines) +
                ": no column named \"Magnetic Field (Oe)\" and \"Moment (emu)\"";
        return false;
    }
    for (size_t k = 0; k < names.size(); ++k)
        for (size_t j = k + 1; j < names.size(); ++j)
            if (!names[k].empty() && names[k] == names[j] &&
                (static_cast<int>(k) == h || static_cast<int>(k) == m)) {
                error =
                    text_lines_where(lines) + ": the column \"" + names[k] + "\" is named twice";
                return false;
            }
    series.field_name = names[h];
    series.moment_name = names[m];
    if (!read_unit(unit_of(names[h]), UnitQuantity::field, series.field_unit)) {
        error = text_lines_where(lines) + ": unknown field unit '" + unit_of(names[h]) + "'";
        return false;
    }
    if (!read_unit(unit_of(names[m]), UnitQuantity::moment, series.moment_unit)) {
        error = text_lines_where(lines) + ": unknown moment unit '" + unit_of(names[m]) + "'";
        return false;
    }
    const size_t needed = static_cast<size_t>(h > m ? h : m) + 1;
    while ((got = text_lines_next(lines, line, error)) > 0) {
        if (trim_blanks(line).empty()) continue;
        split_cells(line, sep, cells);
        double H = 0.0, M = 0.0;
        const int sh = cells.size() >= needed ? read_number(cells[h], H) : kNumberText;
        const int sm = cells.size() >= needed ? read_number(cells[m], M) : kNumberText;
        if (sh == kNumberNotFinite || sm == kNumberNotFinite) {
            error = text_lines_where(lines) + ": not a finite number";
            return false;
        }
        if (sh != kNumberOk || sm != kNumberOk) {
            if (cells.size() >= needed &&
                (!trim_blanks(cells[h]).empty() && !trim_blanks(cells[m]).empty())) {
                error = text_lines_where(lines) + ": text where a number belongs";
                return false;
            }
            ++skipped;
            continue;
        }
        series.H.push_back(H * series.field_unit.to_si);
        series.M.push_back(M * series.moment_unit.to_si);
        series.line.push_back(lines.line);
    }
    if (got < 0) return false;
    if (series.H.empty()) {
        error = lines.path + ": no measurement with both a field and a moment";
        return false;
    }
    return true;
}
