// MicroMag files: header values, units, the raw columns, loops and reversal curves.
#include "measure/micromag_reader.h"

#include <cctype>
#include <cmath>
#include <string_view>
#include <vector>

#include "measure/number_cells.h"

namespace {

bool starts_with(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// A section title of the sectioned header: upper-case words alone on their line.
bool is_section_title(std::string_view line) {
    line = trim_blanks(line);
    if (line.size() < 3) return false;
    for (const char c : line)
        if (!(std::isupper(static_cast<unsigned char>(c)) || c == ' ' || c == '-')) return false;
    return true;
}

// Splits a header line into name and value: "name = value" and "name : value" (legacy), or the
// name and value separated by two or more blanks (sectioned). False for a line of neither form.
bool split_header_line(std::string_view line, std::string& name, std::string& value) {
    const size_t eq = line.find(" = ");
    size_t cut = std::string_view::npos, skip = 0;
    if (eq != std::string_view::npos) {
        cut = eq;
        skip = 3;
    } else {
        const size_t gap = line.find("  ");
        if (gap == std::string_view::npos) return false;
        cut = gap;
        skip = 2;
    }
    name = std::string(trim_blanks(line.substr(0, cut)));
    std::string_view rest = trim_blanks(line.substr(cut + skip));
    if (!rest.empty() && rest[0] == ':') rest = trim_blanks(rest.substr(1));
    if (!name.empty() && name.back() == ':') name.pop_back();
    name = std::string(trim_blanks(name));
    value = std::string(rest);
    return !name.empty();
}

// Data lines: two or more comma-separated numbers.
bool read_data_line(std::string_view line, std::vector<std::string_view>& cells, double& a,
                    double& b, int& status) {
    status = kNumberOk;
    if (line.find(',') == std::string_view::npos) return false;
    split_cells(line, CellSeparator::comma, cells);
    if (cells.size() < 2) return false;
    const int sa = read_number(cells[0], a);
    const int sb = read_number(cells[1], b);
    if (sa == kNumberText || sb == kNumberText) return false;
    status = sa == kNumberOk && sb == kNumberOk ? kNumberOk : kNumberNotFinite;
    return true;
}

// A point of the data section, Field and Moment as written; false with the line named in error
// when the line is not two finite numbers.
bool read_point(const TextLines& lines, std::string_view line, std::vector<std::string_view>& cells,
                double& H, double& M, std::string& error) {
    int status = 0;
    if (!read_data_line(line, cells, H, M, status)) {
        error = text_lines_where(lines) + ": expected the numbers Field,Moment";
        return false;
    }
    if (status != kNumberOk) {
        error = text_lines_where(lines) + ": not a finite number";
        return false;
    }
    return true;
}

// The state of reading a MicroMag header.
struct HeaderState {
    std::vector<HeaderValue> values; // every value, in file order
    std::string section;             // the current section ("" in a legacy header)
    bool sectioned = false;          // a section title was seen
    std::string units;               // "Units of measure"
    std::string measured_on;         // the date line (legacy) or "Measured on"
    std::string sample;              // the quoted description line (legacy)
};

// Reads the header lines up to (not including) the first data line, which is given back.
// Sectioned headers end with the column titles ("Field  Moment"); legacy headers with the first
// line of numbers.
bool read_header(TextLines& lines, HeaderState& h, std::string& error) {
    std::string line, name, value;
    std::vector<std::string_view> cells;
    bool columns_seen = false;
    int got = 0;
    while ((got = text_lines_next(lines, line, error)) > 0) {
        if (lines.line <= 2) continue; // the file's title and description
        double a = 0.0, b = 0.0;
        int status = 0;
        if (read_data_line(line, cells, a, b, status) && (!h.sectioned || columns_seen)) {
            text_lines_unread(lines, line);
            return true;
        }
        const std::string_view t = trim_blanks(line);
        if (t.empty()) continue;
        if (is_section_title(t)) {
            h.sectioned = true;
            h.section = std::string(t);
            continue;
        }
        if (h.sectioned && t.find("Field") != std::string_view::npos &&
            t.find("Moment") != std::string_view::npos &&
            t.find("Segment") == std::string_view::npos) {
            columns_seen = true;
            continue;
        }
        if (!h.sectioned && std::isdigit(static_cast<unsigned char>(t.front())) &&
            t.find('/') != std::string_view::npos) {
            h.measured_on = std::string(t); // the legacy header's date line
            continue;
        }
        if (!split_header_line(t, name, value)) {
            if (!h.sectioned && t.front() == '"')
                h.sample = std::string(t.substr(1, t.size() - 2));
            else if (!h.sectioned && h.measured_on.empty() &&
                     std::isdigit(static_cast<unsigned char>(t.front())))
                h.measured_on = std::string(t);
            continue;
        }
        if (name == "Units of measure") h.units = value;
        if (name == "Measured on") h.measured_on = value;
        HeaderValue v;
        v.section = h.section;
        v.name = name;
        v.text = value;
        double number = 0.0;
        if (read_number(value, number) == kNumberOk) {
            v.has_number = true;
            v.number = number;
        }
        h.values.push_back(v);
    }
    if (got < 0) return false;
    error = lines.path + ": no data after the header";
    return false;
}

// Field and moment units of "Units of measure".
bool micromag_units(const HeaderState& h, const std::string& path, ColumnUnit& field,
                    ColumnUnit& moment, std::string& error) {
    std::string f, m;
    if (h.units == "Hybrid SI") {
        f = "T";
        m = "Am2";
    } else if (h.units == "SI") {
        f = "A/m";
        m = "Am2";
    } else if (h.units == "cgs" || h.units == "CGS") {
        f = "Oe";
        m = "emu";
    } else {
        error =
            path + ": unknown units of measure '" + h.units + "' (expected Hybrid SI, SI or cgs)";
        return false;
    }
    read_unit(f, UnitQuantity::field, field);
    read_unit(m, UnitQuantity::moment, moment);
    field.read = h.units + " (" + f + ")";
    moment.read = h.units + " (" + m + ")";
    return true;
}

// The header value named name in section (any section when section is null), or null.
const HeaderValue* find_value(const std::vector<HeaderValue>& values, const char* section,
                              const char* name) {
    for (const HeaderValue& v : values)
        if (v.name == name && (!section || v.section == section)) return &v;
    return nullptr;
}

void fill_figures(const std::vector<HeaderValue>& values, const ColumnUnit& field,
                  const ColumnUnit& moment, HeaderFigures& f) {
    const HeaderValue* v = find_value(values, nullptr, "Slope correction");
    if (!v) v = find_value(values, nullptr, "Slope corr.");
    if (v && v->has_number) {
        // The header states the correction added to the moment per unit field: the negative of
        // the slope removed.
        f.has_slope = true;
        f.slope = -v->number * moment.to_si / field.to_si;
    }
    if ((v = find_value(values, "CHARACTERIZATION", "Saturation")) && v->has_number) {
        f.has_Ms = true;
        f.Ms = v->number * moment.to_si;
    }
    if ((v = find_value(values, "CHARACTERIZATION", "Remanence")) && v->has_number) {
        f.has_Mr = true;
        f.Mr = v->number * moment.to_si;
    }
    if ((v = find_value(values, "CHARACTERIZATION", "Coercivity")) && v->has_number) {
        f.has_Bc = true;
        f.Bc = v->number * field.to_si;
    }
    if ((v = find_value(values, "CHARACTERIZATION", "S*")) && v->has_number) {
        f.has_S_star = true;
        f.S_star = v->number;
    }
}

} // namespace

bool is_micromag_first_line(const std::string& line) {
    return starts_with(line, "MicroMag 2900/3900 Data File");
}

bool is_micromag_forc_line(const std::string& line) {
    return line.find("reversal curves") != std::string::npos;
}

bool read_micromag_series(TextLines& lines, MeasuredSeries& series, std::string& error) {
    HeaderState h;
    if (!read_header(lines, h, error)) return false;
    series.source = lines.path;
    series.format = h.sectioned ? "MicroMag, sectioned header" : "MicroMag, legacy header";
    if (!micromag_units(h, lines.path, series.field_unit, series.moment_unit, error)) return false;
    series.field_name = "Field";
    series.moment_name = "Moment";
    series.header = h.values;
    series.measured_on = h.measured_on;
    series.specimen = h.sample;
    fill_figures(h.values, series.field_unit, series.moment_unit, series.figures);

    std::string line;
    std::vector<std::string_view> cells;
    int got = 0;
    while ((got = text_lines_next(lines, line, error)) > 0) {
        const std::string_view t = trim_blanks(line);
        if (t.empty()) continue;
        if (starts_with(line, "MicroMag 2900/3900 Data File ends")) break;
        double H = 0.0, M = 0.0;
        if (!read_point(lines, t, cells, H, M, error)) return false;
        series.H.push_back(H * series.field_unit.to_si);
        series.M.push_back(M * series.moment_unit.to_si);
        series.line.push_back(lines.line);
    }
    if (got < 0) return false;
    if (series.H.empty()) {
        error = lines.path + ": no points";
        return false;
    }
    return true;
}

bool read_micromag_forc(TextLines& lines, ForcCurves& forc, std::string& error) {
    HeaderState h;
    if (!read_header(lines, h, error)) return false;
    forc.source = lines.path;
    forc.format = h.sectioned ? "MicroMag FORC, sectioned header" : "MicroMag FORC, legacy header";
    if (!micromag_units(h, lines.path, forc.field_unit, forc.moment_unit, error)) return false;
    forc.header = h.values;
    if (const HeaderValue* v = find_value(h.values, nullptr, "HCal")) {
        if (v->has_number) {
            forc.has_Hcal = true;
            forc.Hcal = v->number * forc.field_unit.to_si;
        }
    }

    // Every point first (the files are small), with whether a blank line came before it.
    struct Point {
        double H, M;
        int64_t line;
        bool blank_before; // a blank line separates it from the point before
    };
    std::vector<Point> points;
    std::string line;
    std::vector<std::string_view> cells;
    int got = 0;
    bool blank = false, blanks_used = false;
    while ((got = text_lines_next(lines, line, error)) > 0) {
        const std::string_view t = trim_blanks(line);
        if (t.empty()) {
            blank = true;
            continue;
        }
        if (starts_with(line, "MicroMag 2900/3900 Data File ends")) break;
        double H = 0.0, M = 0.0;
        if (!read_point(lines, t, cells, H, M, error)) return false;
        blanks_used = blanks_used || (blank && !points.empty());
        points.push_back(
            {H * forc.field_unit.to_si, M * forc.moment_unit.to_si, lines.line, blank});
        blank = false;
    }
    if (got < 0) return false;

    // A calibration point lies near HCal and is followed by a fall of the field (to the next
    // reversal field). Where blank lines separate the segments it stands alone between them;
    // otherwise it is reached by a jump, not by a step of the curve before it. A fall of the
    // field anywhere else starts a curve without one.
    const double tolerance = 0.05 * std::fabs(forc.Hcal);
    bool pending = false, seen_calibration = false;
    double Hcal = 0.0, Mcal = 0.0;
    ForcCurve* curve = nullptr;
    for (size_t k = 0; k < points.size(); ++k) {
        const Point& p = points[k];
        const bool last = k + 1 == points.size();
        const bool falls_next = last || points[k + 1].H < p.H;
        bool alone = true;
        if (blanks_used) {
            alone = p.blank_before || k == 0;
            alone = alone && (last || points[k + 1].blank_before);
        } else if (curve && curve->H.size() >= 2) {
            // Reached by a jump, or measuring the calibration moment again (the curve before
            // may end close to HCal).
            const double step = curve->H.back() - curve->H[curve->H.size() - 2];
            const bool jump = p.H - curve->H.back() > 3.0 * step;
            const bool same_moment =
                seen_calibration && std::fabs(p.M - Mcal) <= 0.02 * std::fabs(Mcal);
            alone = jump || same_moment;
        }
        if (forc.has_Hcal && std::fabs(p.H - forc.Hcal) <= tolerance && falls_next && alone) {
            if (pending && !forc.curves.empty()) {
                // Two candidates in a row: the first ended the curve before.
                ForcCurve& before = forc.curves.back();
                before.H.push_back(Hcal);
                before.M.push_back(Mcal);
                ++forc.points;
            }
            seen_calibration = true;
            pending = true;
            Hcal = p.H;
            Mcal = p.M;
            curve = nullptr;
            continue;
        }
        if (!curve || p.H < curve->H.back()) {
            forc.curves.emplace_back();
            curve = &forc.curves.back();
            curve->has_calibration = pending;
            curve->Hcal = Hcal;
            curve->Mcal = Mcal;
            curve->Hr = p.H;
            curve->first_line = p.line;
            pending = false;
        }
        curve->H.push_back(p.H);
        curve->M.push_back(p.M);
        ++forc.points;
    }
    if (pending) ++forc.set_aside; // a calibration point with no curve after it
    if (forc.curves.empty()) {
        error = lines.path + ": no reversal curves";
        return false;
    }
    return true;
}
