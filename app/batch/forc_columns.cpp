// Plain "Hr,H,M" columns of reversal curves.
#include "app/batch/forc_columns.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// The three numbers of a data line; false when the line is not exactly three finite numbers.
bool read_triple(const char* text, double value[3]) {
    const char* p = text;
    for (int k = 0; k < 3; ++k) {
        while (*p == ' ' || *p == '\t')
            ++p;
        char* end = nullptr;
        errno = 0;
        value[k] = std::strtod(p, &end);
        if (end == p || errno == ERANGE || !std::isfinite(value[k])) return false;
        p = end;
        while (*p == ' ' || *p == '\t')
            ++p;
        if (k < 2) {
            if (*p != ',') return false;
            ++p;
        }
    }
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
        ++p;
    return *p == '\0';
}

} // namespace

bool read_forc_columns(const std::string& path, ForcCurves& curves, std::string& error) {
    curves = ForcCurves{};
    curves.source = path;
    curves.format = "plain Hr,H,M columns";
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "cannot read '" + path + "'";
        return false;
    }
    char line[512];
    int64_t number = 0;
    bool header_allowed = true;
    bool ok = true;
    while (std::fgets(line, sizeof line, f)) {
        ++number;
        const std::string where = path + ", line " + std::to_string(number);
        const size_t length = std::char_traits<char>::length(line);
        if (length + 1 == sizeof line && line[length - 1] != '\n') {
            error = where + ": line too long";
            ok = false;
            break;
        }
        const char* p = line;
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == '#' || *p == '\r' || *p == '\n' || *p == '\0') continue;
        double v[3];
        if (!read_triple(p, v)) {
            // The first line may name the columns.
            if (header_allowed && !std::isdigit(static_cast<unsigned char>(*p)) && *p != '-' &&
                *p != '+' && *p != '.') {
                header_allowed = false;
                continue;
            }
            error = where + ": expected three finite numbers Hr,H,M";
            ok = false;
            break;
        }
        header_allowed = false;
        if (curves.curves.empty() || curves.curves.back().Hr != v[0]) {
            ForcCurve c;
            c.Hr = v[0];
            c.first_line = number;
            curves.curves.push_back(c);
        }
        curves.curves.back().H.push_back(v[1]);
        curves.curves.back().M.push_back(v[2]);
        ++curves.points;
    }
    if (ok && std::ferror(f)) {
        error = "cannot read '" + path + "'";
        ok = false;
    }
    std::fclose(f);
    if (ok && curves.curves.empty()) {
        error = path + ": no reversal curves";
        ok = false;
    }
    return ok;
}
