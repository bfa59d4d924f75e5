// Parsing font selection options into a request record.
#include "window/graph/font_options.h"

#include <cctype>
#include <strings.h>

namespace {

// Reads the run of decimal digits at options[i], advancing i; none gives 0.
// Saturates instead of overflowing.
int read_number(const char* options, int n, int& i) {
    long long v = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(options[i]))) {
        if (v < 100000000) v = v * 10 + (options[i] - '0');
        ++i;
    }
    return static_cast<int>(v);
}

bool same_face(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

} // namespace

std::string resolve_face_alias(const std::string& face) {
    if (same_face(face, "Tms Rmn")) return "Times New Roman";
    if (same_face(face, "Courier")) return "Courier New";
    if (same_face(face, "Helv")) return "Arial";
    return face;
}

int parse_font_options(const char* options, int length, FontRequest& req) {
    req = FontRequest{};
    int n = options ? length : 0;
    while (n > 0 && options[n - 1] == ' ')
        --n;
    int i = 0;
    while (i < n) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(options[i++])));
        switch (c) {
        case 't': {
            if (i >= n || options[i] != '\'') return 252;
            int start = ++i;
            while (i < n && options[i] != '\'')
                ++i;
            if (i >= n) return 255; // no closing quote
            int len = i - start;
            if (len > kMaxFaceName) return 255;
            req.has_face = true;
            req.face = resolve_face_alias(std::string(options + start, static_cast<size_t>(len)));
            ++i; // past the closing quote
            break;
        }
        case 'h':
            req.height = read_number(options, n, i);
            break;
        case 'w':
            req.width = read_number(options, n, i);
            break;
        case 'f':
            if (req.pitch == PITCH_VARIABLE) {
                req.pitch = PITCH_ANY;
                req.altered = true;
            } else {
                req.pitch = PITCH_FIXED;
            }
            break;
        case 'p':
            if (req.pitch == PITCH_FIXED) {
                req.pitch = PITCH_ANY;
                req.altered = true;
            } else {
                req.pitch = PITCH_VARIABLE;
            }
            break;
        case 'r':
            if (req.kind == KIND_SCALABLE) {
                req.kind = KIND_ANY;
                req.altered = true;
            } else {
                req.kind = KIND_RASTER;
            }
            break;
        case 'v':
            if (req.kind == KIND_RASTER) {
                req.kind = KIND_ANY;
                req.altered = true;
            } else {
                req.kind = KIND_SCALABLE;
            }
            break;
        case 'e':
            req.bold = true;
            break;
        case 'u':
            req.underline = true;
            break;
        case 'i':
            req.italic = true;
            break;
        case 'b':
            req.best_fit = true;
            break;
        case 'n':
            req.number = read_number(options, n, i);
            return 0; // a font number ends the parsing
        default:
            break; // not an option: skipped
        }
    }
    return 0;
}
