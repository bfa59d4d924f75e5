// Build-time compiler of the readable resource script into binary dialog templates and the icon.
// Runs once per build as a host tool; single-threaded. Usage:
//   dlgc SCRIPT OUTDIR QRC
// writes OUTDIR/dialogs/<id> (one standard dialog template each), OUTDIR/icons/<name>.png and the
// Qt resource collection QRC that lists them as dialogs/<id> and icons/<name>.png.
//   dlgc --icon SIZE PNG
// draws the same icon at SIZE x SIZE pixels into the file PNG (the installed theme icons).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// Window and control style bits written into the templates.
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_DISABLED = 0x08000000;
constexpr uint32_t WS_BORDER = 0x00800000;
constexpr uint32_t WS_GROUP = 0x00020000;
constexpr uint32_t WS_TABSTOP = 0x00010000;
constexpr uint32_t DS_SETFONT = 0x40;
constexpr uint32_t SS_CENTER = 0x1;
constexpr uint32_t SS_RIGHT = 0x2;
constexpr uint32_t SS_SUNKEN = 0x1000;
constexpr uint32_t ES_AUTOHSCROLL = 0x80;

// Class atoms of the predefined control classes.
constexpr uint16_t ATOM_BUTTON = 0x80;
constexpr uint16_t ATOM_EDIT = 0x81;
constexpr uint16_t ATOM_STATIC = 0x82;

// What a control keyword stands for.
struct ControlKeyword {
    const char* name; // keyword in the script
    uint16_t atom;    // class atom
    uint32_t style;   // style bits besides WS_CHILD | WS_VISIBLE
};

const ControlKeyword kKeywords[] = {
    {"DEFPUSHBUTTON", ATOM_BUTTON, 0x1 | WS_TABSTOP},
    {"PUSHBUTTON", ATOM_BUTTON, 0x0 | WS_TABSTOP},
    {"LTEXT", ATOM_STATIC, 0x0},
    {"CTEXT", ATOM_STATIC, SS_CENTER},
    {"RTEXT", ATOM_STATIC, SS_RIGHT},
    {"EDITTEXT", ATOM_EDIT, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"GROUPBOX", ATOM_BUTTON, 0x7},
    {"AUTOCHECKBOX", ATOM_BUTTON, 0x3 | WS_TABSTOP},
    {"AUTORADIOBUTTON", ATOM_BUTTON, 0x9 | WS_TABSTOP},
};

// One control of a template as the script gives it.
struct Item {
    uint32_t style;       // complete window style
    uint16_t atom;        // class atom
    uint16_t id;          // control id
    std::string text;     // title, 8-bit characters
    int16_t x, y, cx, cy; // rectangle in dialog units
};

// One dialog template as the script gives it.
struct Dialog {
    int id = 0;              // resource id
    int16_t x = 0, y = 0;    // position in dialog units
    int16_t cx = 0, cy = 0;  // size in dialog units
    uint32_t style = 0;      // dialog window style
    std::string caption;     // title bar text
    int points = 0;          // font size; 0 means no font
    std::string face;        // font face name
    std::vector<Item> items; // controls in template order
};

// The frame icon to draw.
struct Icon {
    std::string name; // file name without extension
    int size = 0;     // width and height in pixels
};

[[noreturn]] void fail(int line, const std::string& what) {
    std::fprintf(stderr, "dialogs.rc:%d: %s\n", line, what.c_str());
    std::exit(1);
}

// Splits a line into tokens: words, numbers, '|' and quoted strings (kept with
// their quote so that an empty string stays a token). Blanks inside quotes are kept.
std::vector<std::string> tokenize(const std::string& line, int lineno) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == ',' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            size_t j = line.find('"', i + 1);
            if (j == std::string::npos) fail(lineno, "unterminated string");
            out.push_back(line.substr(i, j - i + 1));
            i = j + 1;
        } else if (c == '|') {
            out.push_back("|");
            ++i;
        } else {
            size_t j = i;
            while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != ',' &&
                   line[j] != '|' && line[j] != '"' && line[j] != '#' && line[j] != '\r')
                ++j;
            out.push_back(line.substr(i, j - i));
            i = j;
        }
    }
    return out;
}

long number(const std::string& tok, int lineno, long lo, long hi) {
    char* end = nullptr;
    long v = std::strtol(tok.c_str(), &end, 0);
    if (tok.empty() || *end != '\0') fail(lineno, "number expected, got '" + tok + "'");
    if (v < lo || v > hi) fail(lineno, "number out of range: " + tok);
    return v;
}

std::string quoted(const std::string& tok, int lineno) {
    if (tok.size() < 2 || tok.front() != '"') fail(lineno, "string expected, got '" + tok + "'");
    return tok.substr(1, tok.size() - 2);
}

uint32_t flag(const std::string& tok, int lineno) {
    static const std::map<std::string, uint32_t> names = {{"SS_SUNKEN", SS_SUNKEN},
                                                          {"WS_GROUP", WS_GROUP},
                                                          {"WS_TABSTOP", WS_TABSTOP},
                                                          {"WS_DISABLED", WS_DISABLED},
                                                          {"WS_BORDER", WS_BORDER}};
    auto it = names.find(tok);
    if (it != names.end()) return it->second;
    return static_cast<uint32_t>(number(tok, lineno, 0, 0xFFFFFFFFL));
}

void parse_script(std::istream& in, std::vector<Dialog>& dialogs, std::vector<Icon>& icons) {
    std::string line;
    int lineno = 0;
    Dialog* open = nullptr;
    while (std::getline(in, line)) {
        ++lineno;
        std::vector<std::string> t = tokenize(line, lineno);
        if (t.empty()) continue;
        const std::string& key = t[0];
        if (key == "DIALOG") {
            if (open) fail(lineno, "DIALOG inside DIALOG");
            if (t.size() != 8 || t[2] != "AT" || t[5] != "SIZE")
                fail(lineno, "expected DIALOG id AT x y SIZE cx cy");
            dialogs.emplace_back();
            open = &dialogs.back();
            open->id = static_cast<int>(number(t[1], lineno, 1, 65535));
            open->x = static_cast<int16_t>(number(t[3], lineno, -32768, 32767));
            open->y = static_cast<int16_t>(number(t[4], lineno, -32768, 32767));
            open->cx = static_cast<int16_t>(number(t[6], lineno, 0, 32767));
            open->cy = static_cast<int16_t>(number(t[7], lineno, 0, 32767));
            for (const Dialog& d : dialogs)
                if (&d != open && d.id == open->id) fail(lineno, "dialog id used twice");
        } else if (key == "ICON") {
            if (open || t.size() != 3) fail(lineno, "expected ICON name size outside DIALOG");
            icons.push_back({t[1], static_cast<int>(number(t[2], lineno, 8, 256))});
        } else if (!open) {
            fail(lineno, "'" + key + "' outside DIALOG");
        } else if (key == "END") {
            if (t.size() != 1) fail(lineno, "END takes nothing");
            open = nullptr;
        } else if (key == "STYLE") {
            if (t.size() != 2) fail(lineno, "expected STYLE value");
            open->style = static_cast<uint32_t>(number(t[1], lineno, 0, 0xFFFFFFFFL));
        } else if (key == "CAPTION") {
            if (t.size() != 2) fail(lineno, "expected CAPTION \"text\"");
            open->caption = quoted(t[1], lineno);
        } else if (key == "FONT") {
            if (t.size() != 3) fail(lineno, "expected FONT points \"face\"");
            open->points = static_cast<int>(number(t[1], lineno, 1, 72));
            open->face = quoted(t[2], lineno);
        } else {
            const ControlKeyword* kw = nullptr;
            for (const ControlKeyword& k : kKeywords)
                if (key == k.name) kw = &k;
            if (!kw) fail(lineno, "unknown statement '" + key + "'");
            if (t.size() < 7) fail(lineno, "expected " + key + " id \"text\" x y cx cy");
            Item item{};
            item.atom = kw->atom;
            item.style = WS_CHILD | WS_VISIBLE | kw->style;
            long id = number(t[1], lineno, -1, 65535);
            item.id = static_cast<uint16_t>(id < 0 ? 65535 : id);
            item.text = quoted(t[2], lineno);
            item.x = static_cast<int16_t>(number(t[3], lineno, -32768, 32767));
            item.y = static_cast<int16_t>(number(t[4], lineno, -32768, 32767));
            item.cx = static_cast<int16_t>(number(t[5], lineno, 0, 32767));
            item.cy = static_cast<int16_t>(number(t[6], lineno, 0, 32767));
            size_t k = 7;
            while (k < t.size()) {
                if (t[k] != "|" || k + 1 >= t.size()) fail(lineno, "expected | FLAG");
                item.style |= flag(t[k + 1], lineno);
                k += 2;
            }
            open->items.push_back(item);
        }
    }
    if (open) fail(lineno, "missing END");
}

// Little-endian writer of a template.
struct Writer {
    std::vector<uint8_t> bytes; // the template so far
    void u16(uint32_t v) {
        bytes.push_back(static_cast<uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    void u32(uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    // Zero-terminated string of 16-bit characters; each script byte becomes one unit.
    void str(const std::string& s) {
        for (unsigned char c : s)
            u16(c);
        u16(0);
    }
    void align4() {
        while (bytes.size() % 4)
            bytes.push_back(0);
    }
};

std::vector<uint8_t> encode(const Dialog& d) {
    Writer w;
    uint32_t style = d.style | (d.points > 0 ? DS_SETFONT : 0);
    w.u32(style);
    w.u32(0); // extended style
    w.u16(static_cast<uint32_t>(d.items.size()));
    w.u16(static_cast<uint16_t>(d.x));
    w.u16(static_cast<uint16_t>(d.y));
    w.u16(static_cast<uint16_t>(d.cx));
    w.u16(static_cast<uint16_t>(d.cy));
    w.u16(0); // no menu
    w.u16(0); // the predefined dialog class
    w.str(d.caption);
    if (style & DS_SETFONT) {
        w.u16(static_cast<uint32_t>(d.points));
        w.str(d.face);
    }
    for (const Item& it : d.items) {
        w.align4();
        w.u32(it.style);
        w.u32(0); // extended style
        w.u16(static_cast<uint16_t>(it.x));
        w.u16(static_cast<uint16_t>(it.y));
        w.u16(static_cast<uint16_t>(it.cx));
        w.u16(static_cast<uint16_t>(it.cy));
        w.u16(it.id);
        w.u16(0xFFFF);
        w.u16(it.atom);
        w.str(it.text);
        w.u16(0); // no creation data
    }
    return w.bytes;
}

// --- PNG output: uncompressed (stored) deflate blocks keep the writer small. ---

uint32_t crc32(const uint8_t* p, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void put32be(std::vector<uint8_t>& v, uint32_t x) {
    for (int s = 24; s >= 0; s -= 8)
        v.push_back(static_cast<uint8_t>(x >> s));
}

void chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    put32be(png, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    put32be(png, crc32(body.data(), body.size()));
}

std::vector<uint8_t> png_rgba(int w, int h, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0); // filter: none
        raw.insert(raw.end(), rgba.begin() + static_cast<long>(y) * w * 4,
                   rgba.begin() + static_cast<long>(y + 1) * w * 4);
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = std::min<size_t>(65535, raw.size() - pos);
        bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n & 0xFF));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n & 0xFF));
        z.push_back(static_cast<uint8_t>((~n >> 8) & 0xFF));
        z.insert(z.end(), raw.begin() + static_cast<long>(pos),
                 raw.begin() + static_cast<long>(pos + n));
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    put32be(z, (b << 16) | a);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    put32be(ihdr, static_cast<uint32_t>(w));
    put32be(ihdr, static_cast<uint32_t>(h));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, no interlace
    chunk(png, "IHDR", ihdr);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", {});
    return png;
}

// Draws the frame icon: a hysteresis loop over faint axes on a light tile.
std::vector<uint8_t> draw_icon(int n) {
    std::vector<uint8_t> px(static_cast<size_t>(n) * n * 4, 0);
    auto blend = [&](int x, int y, double r, double g, double b, double a) {
        if (x < 0 || y < 0 || x >= n || y >= n || a <= 0) return;
        uint8_t* p = &px[(static_cast<size_t>(y) * n + x) * 4];
        double da = p[3] / 255.0, oa = a + da * (1 - a);
        auto mix = [&](uint8_t& c, double v) {
            c = static_cast<uint8_t>(std::lround((v * a + c / 255.0 * da * (1 - a)) / oa * 255));
        };
        mix(p[0], r);
        mix(p[1], g);
        mix(p[2], b);
        p[3] = static_cast<uint8_t>(std::lround(oa * 255));
    };
    double s = n / 32.0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            bool edge = x == 0 || y == 0 || x == n - 1 || y == n - 1;
            if (edge)
                blend(x, y, 0.25, 0.30, 0.40, 1);
            else
                blend(x, y, 0.97, 0.97, 0.93, 1);
        }
    for (int k = 2; k < n - 2; ++k) {
        blend(k, n / 2, 0.6, 0.6, 0.6, 1);
        blend(n / 2, k, 0.6, 0.6, 0.6, 1);
    }
    // The two branches B = tanh((H +- Hc) / w) of a loop, drawn as thick soft lines.
    const double hc = 0.35, wdt = 0.28;
    auto to_px = [&](double v) { return (v * 0.8 + 1) * 0.5 * (n - 1); };
    for (int branch = 0; branch < 2; ++branch) {
        double sign = branch ? -1 : 1;
        std::vector<std::pair<double, double>> pts;
        for (int i = 0; i <= 200; ++i) {
            double h = -1 + i / 100.0;
            pts.push_back({to_px(h), to_px(-std::tanh((h + sign * hc) / wdt))});
        }
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                double best = 1e9;
                for (auto& p : pts)
                    best = std::min(best, std::hypot(p.first - x, p.second - y));
                double a = std::clamp(1.6 * s - best, 0.0, 1.0);
                if (branch)
                    blend(x, y, 0.80, 0.10, 0.10, a);
                else
                    blend(x, y, 0.10, 0.25, 0.75, a);
            }
    }
    return px;
}

void write_file(const std::string& path, const std::vector<uint8_t>& data) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<long>(data.size()));
    if (!out) {
        std::fprintf(stderr, "dlgc: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--icon") {
        const int size = std::atoi(argv[2]);
        if (size < 8 || size > 512) {
            std::fprintf(stderr, "dlgc: icon size %s is not 8 to 512\n", argv[2]);
            return 2;
        }
        write_file(argv[3], png_rgba(size, size, draw_icon(size)));
        return 0;
    }
    if (argc != 4) {
        std::fprintf(stderr, "usage: dlgc SCRIPT OUTDIR QRC | dlgc --icon SIZE PNG\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "dlgc: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<Dialog> dialogs;
    std::vector<Icon> icons;
    parse_script(in, dialogs, icons);

    std::string out = argv[2];
    mkdir(out.c_str(), 0755);
    mkdir((out + "/dialogs").c_str(), 0755);
    mkdir((out + "/icons").c_str(), 0755);
    std::ostringstream qrc;
    qrc << "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const Dialog& d : dialogs) {
        std::string rel = "dialogs/" + std::to_string(d.id);
        write_file(out + "/" + rel, encode(d));
        qrc << "  <file alias=\"" << rel << "\">" << out << "/" << rel << "</file>\n";
    }
    for (const Icon& ic : icons) {
        std::string rel = "icons/" + ic.name + ".png";
        std::vector<uint8_t> rgba = draw_icon(ic.size);
        write_file(out + "/" + rel, png_rgba(ic.size, ic.size, rgba));
        qrc << "  <file alias=\"" << rel << "\">" << out << "/" << rel << "</file>\n";
    }
    qrc << "</qresource>\n</RCC>\n";
    std::string text = qrc.str();
    write_file(argv[3], std::vector<uint8_t>(text.begin(), text.end()));
    return 0;
}
