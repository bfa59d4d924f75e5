// The character grid of a text window: writing, scrolling, clearing.
#include "window/graph/text_grid.h"

#include "window/graph/font_list.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace {

// A fixed-pitch font for the cells with the given height and width.
QFont cell_font(int height, int width) {
    FontRecord rec;
    rec.face = listed_face_for(QStringLiteral("Courier New"));
    rec.fixed = true;
    return build_font(rec, height, width, false, false, false);
}

// Grid row (0-based) of a text-window row (1-based).
int grid_row(const TextState& t, int window_row) {
    return t.text_top - 1 + window_row - 1;
}

// Puts chars at grid row `row` (0-based) from grid column first_col (1-based),
// merging with what is there: newer characters replace older ones, trailing
// blanks of each resulting run are dropped.
void store_put(TextState& t, int row, int first_col, const std::string& chars) {
    if (row < 0 || row >= static_cast<int>(t.store.size()) || chars.empty()) return;
    std::vector<TextRun>& runs = t.store[static_cast<size_t>(row)];
    int last = first_col + static_cast<int>(chars.size()) - 1;
    for (const TextRun& r : runs)
        last = std::max(last, r.first_col + int(r.chars.size()) - 1);
    std::string cells(static_cast<size_t>(last), '\0');
    for (const TextRun& r : runs)
        std::memcpy(&cells[static_cast<size_t>(r.first_col - 1)], r.chars.data(), r.chars.size());
    std::memcpy(&cells[static_cast<size_t>(first_col - 1)], chars.data(), chars.size());
    runs.clear();
    size_t i = 0;
    while (i < cells.size()) {
        if (cells[i] == '\0') {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < cells.size() && cells[j] != '\0')
            ++j;
        size_t end = j;
        while (end > i && cells[end - 1] == ' ')
            --end;
        if (end > i) runs.push_back(TextRun{static_cast<int>(i) + 1, cells.substr(i, end - i)});
        i = j;
    }
}

void add_dirty(SurfaceState& s, const QRect& r) {
    QRect c = r.intersected(QRect(0, 0, s.surface_width, s.surface_height));
    if (!c.isEmpty()) s.dirty = s.dirty.united(c);
}

uint32_t colour_of(const SurfaceState& s, int index) {
    return s.palette[std::clamp(index, 0, 255)];
}

// Paints chars in the cells from (row, col) of the text window, one per cell.
void paint_run(SurfaceState& s, const TextState& t, int row, int col, const char* chars, int n) {
    if (n <= 0) return;
    QRect cells = text_cells_rect(t, grid_row(t, row) + 1, t.text_left - 1 + col,
                                  grid_row(t, row) + 1, t.text_left - 1 + col + n - 1);
    QPainter p(&s.surface);
    p.fillRect(cells, QColor::fromRgb(colour_of(s, t.background_colour)));
    p.setFont(t.text_font);
    p.setPen(QColor::fromRgb(colour_of(s, t.text_colour)));
    p.setRenderHint(QPainter::TextAntialiasing, false);
    for (int k = 0; k < n; ++k) {
        if (chars[k] == ' ') continue;
        p.drawText(QPointF(cells.left() + k * t.cell_width, cells.top() + t.font_ascent),
                   QString(QChar(static_cast<unsigned char>(chars[k]))));
    }
    p.end();
    add_dirty(s, cells);
}

// The surface cell under the cursor.
QRect caret_cell(const TextState& t) {
    int row = t.text_top - 1 + t.cursor_row, col = t.text_left - 1 + t.cursor_col;
    return text_cells_rect(t, row, col, row, col);
}

// Starts a new line: the next row, or the text window scrolled up by one row.
void new_line(SurfaceState& s, TextState& t) {
    int rows = t.text_bottom - t.text_top + 1;
    if (t.cursor_row < rows) {
        ++t.cursor_row;
        return;
    }
    QRect win = text_cells_rect(t, t.text_top, t.text_left, t.text_bottom, t.text_right);
    if (rows > 1) {
        // Move rows 2..n up by one cell height inside the surface.
        const int bytes = win.width() * 4;
        for (int y = win.top(); y + t.cell_height <= win.bottom(); ++y) {
            uchar* dst = s.surface.scanLine(y) + win.left() * 4;
            const uchar* src = s.surface.constScanLine(y + t.cell_height) + win.left() * 4;
            std::memmove(dst, src, static_cast<size_t>(bytes));
        }
    }
    QRect bottom(win.left(), win.bottom() - t.cell_height + 1, win.width(), t.cell_height);
    const uint32_t bg = colour_of(s, t.background_colour);
    for (int y = bottom.top(); y <= bottom.bottom(); ++y) {
        uint32_t* line = reinterpret_cast<uint32_t*>(s.surface.scanLine(y));
        std::fill(line + bottom.left(), line + bottom.right() + 1, bg);
    }
    add_dirty(s, win);
    int top = t.text_top - 1, last = t.text_bottom - 1;
    for (int r = top; r < last; ++r)
        t.store[static_cast<size_t>(r)] = std::move(t.store[static_cast<size_t>(r + 1)]);
    t.store[static_cast<size_t>(last)].clear();
}

} // namespace

QRect text_cells_rect(const TextState& t, int row1, int col1, int row2, int col2) {
    return QRect((col1 - 1) * t.cell_width, (row1 - 1) * t.cell_height,
                 (col2 - col1 + 1) * t.cell_width, (row2 - row1 + 1) * t.cell_height);
}

void text_configure(const SurfaceState& s, TextState& t) {
    int width = kTextFontWidth;
    QFont f;
    QFontMetrics m(f);
    for (int attempt = 0; attempt < 2; ++attempt) {
        f = cell_font(kTextFontHeight, width);
        m = QFontMetrics(f);
        int real = m.averageCharWidth();
        bool width_ok = real >= width - 2 && real <= width + 1;
        bool height_ok = std::abs(m.height() - kTextFontHeight) <= 2;
        if (width_ok && height_ok) break;
        width = std::max(real, 1);
    }
    t.text_font = f;
    t.font_ascent = m.ascent();
    t.cell_width = std::max(m.averageCharWidth(), 1);
    t.cell_height = std::max(m.height() + m.leading(), 1);
    t.text_cols = s.surface_width / t.cell_width;
    t.text_rows = s.surface_height / t.cell_height;
    t.text_top = 1;
    t.text_left = 1;
    t.text_bottom = t.text_rows;
    t.text_right = t.text_cols;
    t.cursor_row = 1;
    t.cursor_col = 1;
    t.text_colour = 15;
    t.background_colour = 0;
    t.wrap = true;
    t.caret_visible = false;
    t.store.assign(static_cast<size_t>(std::max(t.text_rows, 0)), {});
    t.configured = true;
}

int16_t text_write(SurfaceState& s, TextState& t, const char* text, int len) {
    if (s.surface.isNull() || t.text_rows <= 0 || t.text_cols <= 0) return -1;
    if (!text || len < 0) len = 0;
    const int width = t.text_right - t.text_left + 1;
    // The caret's cells (before and after) are repainted with the text.
    add_dirty(s, caret_cell(t));
    t.caret_visible = false;
    int i = 0;
    for (;;) {
        // 1. The run up to NUL, CR or LF, or to the right edge when wrapping.
        int avail = width - t.cursor_col + 1;
        if (t.wrap && avail <= 0 && i < len && text[i] != '\0' && text[i] != '\r' &&
            text[i] != '\n') {
            // Past the right edge (written while not wrapping): go on in the next row.
            new_line(s, t);
            t.cursor_col = 1;
            continue;
        }
        int j = i;
        while (j < len && text[j] != '\0' && text[j] != '\r' && text[j] != '\n' &&
               (!t.wrap || j - i < avail))
            ++j;
        const int n = j - i;
        const bool wrapped = t.wrap && n > 0 && n == avail;
        // 2. Paint and store the part inside the text window.
        int shown = std::max(0, std::min(n, avail));
        if (shown > 0) {
            paint_run(s, t, t.cursor_row, t.cursor_col, text + i, shown);
            store_put(t, grid_row(t, t.cursor_row), t.text_left - 1 + t.cursor_col,
                      std::string(text + i, static_cast<size_t>(shown)));
        }
        // 3. Advance.
        t.cursor_col += n;
        // 4. End of the text (not at a wrap).
        if (!wrapped && (j >= len || text[j] == '\0')) break;
        // 5. New line unless a carriage return ends the run.
        if (wrapped || text[j] != '\r') new_line(s, t);
        // 6. Column 1; skip the terminator.
        t.cursor_col = 1;
        i = wrapped ? j : j + 1;
        if (wrapped && (i >= len || text[i] == '\0')) break;
    }
    t.caret_visible = true;
    add_dirty(s, caret_cell(t));
    return 0;
}

void text_forget_all(TextState& t) {
    for (auto& row : t.store)
        row.clear();
    t.cursor_row = 1;
    t.cursor_col = 1;
}

void text_clear_window(SurfaceState& s, TextState& t) {
    if (!s.surface.isNull() && t.text_rows > 0) {
        QRect win = text_cells_rect(t, t.text_top, t.text_left, t.text_bottom, t.text_right);
        win = win.intersected(QRect(0, 0, s.surface_width, s.surface_height));
        const uint32_t bg = colour_of(s, t.background_colour);
        for (int y = win.top(); y <= win.bottom(); ++y) {
            uint32_t* line = reinterpret_cast<uint32_t*>(s.surface.scanLine(y));
            std::fill(line + win.left(), line + win.right() + 1, bg);
        }
        add_dirty(s, win);
    }
    for (int r = t.text_top - 1; r < t.text_bottom && r < static_cast<int>(t.store.size()); ++r)
        if (r >= 0) t.store[static_cast<size_t>(r)].clear();
    t.cursor_row = 1;
    t.cursor_col = 1;
}

std::string text_store_text(const TextState& t, int row1, int col1, int row2, int col2) {
    std::string out;
    size_t keep = 0; // length of out up to the last non-empty line
    row1 = std::max(row1, 1);
    row2 = std::min(row2, static_cast<int>(t.store.size()));
    for (int r = row1; r <= row2; ++r) {
        std::string line;
        for (const TextRun& run : t.store[static_cast<size_t>(r - 1)]) {
            for (size_t k = 0; k < run.chars.size(); ++k) {
                int col = run.first_col + static_cast<int>(k);
                if (col < col1 || col > col2) continue;
                size_t at = static_cast<size_t>(col - col1);
                if (line.size() <= at) line.resize(at + 1, ' ');
                line[at] = run.chars[k];
            }
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        if (r > row1) out += '\n';
        out += line;
        if (!line.empty()) keep = out.size();
    }
    out.resize(keep);
    return out;
}

std::string text_store_all(const TextState& t) {
    return text_store_text(t, 1, 1, static_cast<int>(t.store.size()), std::max(t.text_cols, 1));
}
