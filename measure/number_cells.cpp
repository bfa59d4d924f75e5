// Cells and numbers of column files.
#include "measure/number_cells.h"

#include <charconv>
#include <cmath>

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

std::string_view trim_blanks(std::string_view cell) {
    size_t from = 0, to = cell.size();
    while (from < to && is_blank(cell[from]))
        ++from;
    while (to > from && is_blank(cell[to - 1]))
        --to;
    return cell.substr(from, to - from);
}

void split_cells(std::string_view line, CellSeparator sep, std::vector<std::string_view>& cells) {
    cells.clear();
    if (sep == CellSeparator::blanks) {
        size_t k = 0;
        while (k < line.size()) {
            while (k < line.size() && is_blank(line[k]))
                ++k;
            if (k == line.size()) break;
            const size_t from = k;
            while (k < line.size() && !is_blank(line[k]))
                ++k;
            cells.push_back(line.substr(from, k - from));
        }
        return;
    }
    const char c = sep == CellSeparator::comma ? ',' : sep == CellSeparator::semicolon ? ';' : '\t';
    size_t from = 0;
    bool quoted = false;
    for (size_t k = 0; k <= line.size(); ++k) {
        if (k < line.size() && line[k] == '"') quoted = !quoted;
        if (k == line.size() || (line[k] == c && !quoted)) {
            std::string_view cell = trim_blanks(line.substr(from, k - from));
            if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"')
                cell = cell.substr(1, cell.size() - 2);
            cells.push_back(cell);
            from = k + 1;
        }
    }
}

CellSeparator guess_separator(std::string_view line) {
    if (line.find('\t') != std::string_view::npos) return CellSeparator::tab;
    if (line.find(';') != std::string_view::npos) return CellSeparator::semicolon;
    if (line.find(',') != std::string_view::npos) return CellSeparator::comma;
    return CellSeparator::blanks;
}

int read_number(std::string_view cell, double& value) {
    cell = trim_blanks(cell);
    size_t from = 0;
    // from_chars takes a "-" but no "+"; one "+" is skipped, and a sign after it is refused.
    if (!cell.empty() && cell[0] == '+') {
        from = 1;
        if (cell.size() > 1 && (cell[1] == '-' || cell[1] == '+')) return kNumberText;
    }
    if (from == cell.size()) return kNumberText;
    double v = 0.0;
    const char* first = cell.data() + from;
    const char* last = cell.data() + cell.size();
    const std::from_chars_result r = std::from_chars(first, last, v);
    if (r.ptr != last) return kNumberText;
    if (r.ec == std::errc::result_out_of_range) {
        // Beyond the largest double is not finite; a value below the smallest (a negative
        // exponent) is zero.
        const size_t e = cell.find_first_of("eE", from);
        if (e != std::string_view::npos && e + 1 < cell.size() && cell[e + 1] == '-') {
            value = 0.0;
            return kNumberOk;
        }
        return kNumberNotFinite;
    }
    if (r.ec != std::errc()) return kNumberText;
    if (!std::isfinite(v)) return kNumberNotFinite;
    value = v;
    return kNumberOk;
}
