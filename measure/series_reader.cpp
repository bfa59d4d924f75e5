// Recognising a measurement file and reading it with the reader of its format.
#include "measure/series_reader.h"

#include <cctype>

#include "measure/magic_reader.h"
#include "measure/micromag_reader.h"
#include "measure/number_cells.h"
#include "measure/plain_reader.h"
#include "measure/quantum_design_reader.h"
#include "measure/text_lines.h"

namespace {

bool read_plain(const std::string& path, const std::string& columns, MeasuredSeries& s,
                std::string& error) {
    PlainReader reader;
    if (!plain_reader_open(reader, path, columns, error)) return false;
    double H = 0.0, M = 0.0;
    int got = 0;
    while ((got = plain_reader_next(reader, H, M, error)) > 0) {
        s.H.push_back(H);
        s.M.push_back(M);
        s.line.push_back(reader.lines.line);
    }
    plain_reader_close(reader);
    if (got < 0) return false;
    if (s.H.empty()) {
        error = path + ": no points";
        return false;
    }
    s.source = path;
    s.format = "plain columns";
    s.field_unit = reader.columns.field_unit;
    s.moment_unit = reader.columns.moment_unit;
    s.field_name = reader.columns.field_name.empty()
                       ? "column " + std::to_string(reader.columns.field + 1)
                       : reader.columns.field_name;
    s.moment_name = reader.columns.moment_name.empty()
                        ? "column " + std::to_string(reader.columns.moment + 1)
                        : reader.columns.moment_name;
    return true;
}

std::string lower(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

bool recognise_file(const std::string& path, FileKind& kind, std::string& error) {
    TextLines lines;
    if (!text_lines_open(lines, path, error)) return false;
    std::string first, second;
    int got = text_lines_next(lines, first, error);
    if (got > 0) got = text_lines_next(lines, second, error);
    text_lines_close(lines);
    if (got < 0) return false;
    if (lines.line == 0) {
        error = path + ": empty";
        return false;
    }
    if (is_micromag_first_line(first)) {
        kind = is_micromag_forc_line(second) ? FileKind::micromag_forc : FileKind::micromag_loop;
    } else if (is_quantum_design_first_line(first)) {
        kind = FileKind::quantum_design;
    } else if (is_magic_first_line(first)) {
        kind = FileKind::magic;
    } else {
        kind = FileKind::plain;
    }
    return true;
}

bool read_series_file(const std::string& path, const std::string& columns,
                      std::vector<MeasuredSeries>& series, int64_t& skipped, std::string& error) {
    series.clear();
    skipped = 0;
    FileKind kind = FileKind::plain;
    if (!recognise_file(path, kind, error)) return false;
    if (kind == FileKind::magic) {
        TextLines lines;
        if (!text_lines_open(lines, path, error)) return false;
        const bool ok = read_magic(lines, series, skipped, error);
        text_lines_close(lines);
        return ok;
    }
    series.emplace_back();
    MeasuredSeries& s = series.back();
    if (kind == FileKind::plain) return read_plain(path, columns, s, error);
    if (kind == FileKind::micromag_forc) {
        error = path + ": a file of reversal curves, not a loop";
        return false;
    }
    TextLines lines;
    if (!text_lines_open(lines, path, error)) return false;
    const bool ok = kind == FileKind::micromag_loop ? read_micromag_series(lines, s, error)
                                                    : read_quantum_design(lines, s, skipped, error);
    text_lines_close(lines);
    return ok;
}

bool read_forc_file(const std::string& path, ForcCurves& forc, std::string& error) {
    forc = ForcCurves{};
    FileKind kind = FileKind::plain;
    if (!recognise_file(path, kind, error)) return false;
    TextLines lines;
    if (!text_lines_open(lines, path, error)) return false;
    if (kind == FileKind::micromag_forc || kind == FileKind::micromag_loop) {
        const bool ok = read_micromag_forc(lines, forc, error);
        text_lines_close(lines);
        return ok;
    }
    if (kind != FileKind::plain) {
        text_lines_close(lines);
        error = path + ": not a file of reversal curves";
        return false;
    }
    // Plain Hr,H,M columns.
    forc.source = path;
    forc.format = "plain Hr,H,M columns";
    std::string line;
    std::vector<std::string_view> cells;
    CellSeparator sep = CellSeparator::comma;
    int count = 0, hr = 0, h = 1, m = 2;
    bool started = false;
    int got = 0;
    ForcCurve* curve = nullptr;
    while ((got = text_lines_next(lines, line, error)) > 0) {
        const std::string_view t = trim_blanks(line);
        if (t.empty() || t[0] == '#') continue;
        if (!started) {
            started = true;
            sep = guess_separator(t);
            split_cells(t, sep, cells);
            count = static_cast<int>(cells.size());
            double x = 0.0;
            bool header = false;
            for (std::string_view c : cells)
                if (read_number(c, x) == kNumberText) header = true;
            if (count < 3) {
                error = text_lines_where(lines) + ": expected the columns Hr,H,M";
                text_lines_close(lines);
                return false;
            }
            if (header) {
                // Names with units: "Hr (T)", "H (T)", "M (Am2)".
                std::string units[3];
                for (int k = 0; k < count; ++k) {
                    std::string name(cells[k]), unit;
                    const size_t open = name.find_first_of("([");
                    if (open != std::string::npos) {
                        const size_t close = name.find_first_of(")]", open);
                        unit = name.substr(open + 1, close == std::string::npos ? std::string::npos
                                                                                : close - open - 1);
                        name = std::string(trim_blanks(name.substr(0, open)));
                    }
                    const std::string l = lower(name);
                    if (l == "hr" || l == "hb" || l == "h_r")
                        hr = k, units[0] = unit;
                    else if (l == "h" || l == "field")
                        h = k, units[1] = unit;
                    else if (l == "m" || l == "moment" || l == "b")
                        m = k, units[2] = unit;
                }
                ColumnUnit ur;
                if (!read_unit(units[0], UnitQuantity::field, ur) ||
                    !read_unit(units[1], UnitQuantity::field, forc.field_unit) ||
                    (!read_unit(units[2], UnitQuantity::moment, forc.moment_unit) &&
                     !read_unit(units[2], UnitQuantity::field, forc.moment_unit))) {
                    error = text_lines_where(lines) + ": unknown unit in the column names";
                    text_lines_close(lines);
                    return false;
                }
                continue;
            }
        } else {
            split_cells(t, sep, cells);
        }
        if (static_cast<int>(cells.size()) != count) {
            error = text_lines_where(lines) + ": " + std::to_string(cells.size()) +
                    " columns where the first line has " + std::to_string(count);
            text_lines_close(lines);
            return false;
        }
        double r = 0.0, x = 0.0, y = 0.0;
        const int sr = read_number(cells[hr], r), sx = read_number(cells[h], x),
                  sy = read_number(cells[m], y);
        if (sr != kNumberOk || sx != kNumberOk || sy != kNumberOk) {
            error = text_lines_where(lines) +
                    (sr == kNumberNotFinite || sx == kNumberNotFinite || sy == kNumberNotFinite
                         ? ": not a finite number"
                         : ": text where a number belongs");
            text_lines_close(lines);
            return false;
        }
        r *= forc.field_unit.to_si;
        x *= forc.field_unit.to_si;
        y *= forc.moment_unit.to_si;
        if (!curve || r != curve->Hr) {
            forc.curves.emplace_back();
            curve = &forc.curves.back();
            curve->Hr = r;
            curve->first_line = lines.line;
        }
        curve->H.push_back(x);
        curve->M.push_back(y);
        ++forc.points;
    }
    text_lines_close(lines);
    if (got < 0) return false;
    if (forc.curves.empty()) {
        error = path + ": no reversal curves";
        return false;
    }
    return true;
}
