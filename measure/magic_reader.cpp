// MagIC tables: version, columns, rows grouped by specimen.
#include "measure/magic_reader.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "measure/number_cells.h"

namespace {

int column(const std::vector<std::string>& names, std::initializer_list<const char*> wanted) {
    for (const char* w : wanted)
        for (size_t k = 0; k < names.size(); ++k)
            if (names[k] == w) return static_cast<int>(k);
    return -1;
}

// True when the colon-separated list of method codes holds code.
bool has_code(std::string_view codes, const std::string& code) {
    size_t from = 0;
    while (from <= codes.size()) {
        size_t to = codes.find(':', from);
        if (to == std::string_view::npos) to = codes.size();
        if (trim_blanks(codes.substr(from, to - from)) == code) return true;
        from = to + 1;
    }
    return false;
}

} // namespace

bool is_magic_first_line(const std::string& line) {
    return line.compare(0, 3, "tab") == 0 && line.find("measurements") != std::string::npos;
}

bool read_magic(TextLines& lines, std::vector<MeasuredSeries>& series, int64_t& skipped,
                std::string& error, const std::string& method) {
    series.clear();
    skipped = 0;
    std::string line;
    std::vector<std::string_view> cells;
    int got = text_lines_next(lines, line, error);
    if (got <= 0) {
        if (got == 0) error = lines.path + ": empty";
        return false;
    }
    const bool v3 = line.find("magic_measurements") == std::string::npos;
    if ((got = text_lines_next(lines, line, error)) <= 0) {
        if (got == 0) error = lines.path + ": no column names";
        return false;
    }
    split_cells(line, CellSeparator::tab, cells);
    const std::vector<std::string> names(cells.begin(), cells.end());
    const int spec = column(names, {"specimen", "er_specimen_name"});
    const int codes = column(names, {"method_codes", "magic_method_codes"});
    const int field = column(names, {"meas_field_dc", "treat_dc_field", "measurement_lab_field_dc",
                                     "treatment_dc_field"});
    const int moment = column(names, {"magn_moment", "measurement_magn_moment"});
    if (spec < 0 || codes < 0 || field < 0 || moment < 0) {
        error = text_lines_where(lines) +
                ": a MagIC table needs the specimen, method code, field and moment columns";
        return false;
    }
    for (size_t k = 0; k < names.size(); ++k)
        for (size_t j = k + 1; j < names.size(); ++j)
            if (!names[k].empty() && names[k] == names[j]) {
                error =
                    text_lines_where(lines) + ": the column \"" + names[k] + "\" is named twice";
                return false;
            }
    std::map<std::string, size_t> index;
    const size_t needed =
        static_cast<size_t>(std::max(std::max(spec, codes), std::max(field, moment))) + 1;
    while ((got = text_lines_next(lines, line, error)) > 0) {
        if (trim_blanks(line).empty()) continue;
        split_cells(line, CellSeparator::tab, cells);
        if (cells.size() < needed || !has_code(cells[codes], method)) {
            ++skipped;
            continue;
        }
        double H = 0.0, M = 0.0;
        const int sh = read_number(cells[field], H);
        const int sm = read_number(cells[moment], M);
        if (sh != kNumberOk || sm != kNumberOk) {
            error = text_lines_where(lines) + (sh == kNumberNotFinite || sm == kNumberNotFinite
                                                   ? ": not a finite number"
                                                   : ": text where a number belongs");
            return false;
        }
        const std::string name(cells[spec]);
        auto at = index.find(name);
        if (at == index.end()) {
            at = index.emplace(name, series.size()).first;
            series.emplace_back();
            MeasuredSeries& s = series.back();
            s.source = lines.path;
            s.format = v3 ? "MagIC 3.0" : "MagIC 2.5";
            s.specimen = name;
            s.field_name = names[field];
            s.moment_name = names[moment];
            read_unit("T", UnitQuantity::field, s.field_unit);
            read_unit("Am2", UnitQuantity::moment, s.moment_unit);
        }
        MeasuredSeries& s = series[at->second];
        s.H.push_back(H);
        s.M.push_back(M);
        s.line.push_back(lines.line);
    }
    if (got < 0) return false;
    if (series.empty()) {
        error = lines.path + ": no " + method + " measurements";
        return false;
    }
    return true;
}
