// The graphics part's data of a child window (surface and drawing state, text grid, mouse slots),
// held by the window record behind an opaque handle. Any thread; the interface thread and the
// program thread both reach these fields, always
// under the window's lock (see ChildWindow::lock), except the plain settings
// that only store a value (colour, line style, write mode, pen, viewport,
// window bounds) and the mouse slots, which only the interface thread reads.
#pragma once

#include "window/kernel/window_table.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

// Pen kinds derived from the number of set bits of a line mask.
enum PenKind : int16_t {
    PEN_SOLID = 0,        // 16 bits set
    PEN_DASH = 1,         // 11 to 15 bits
    PEN_DOT = 2,          // 1 to 8 bits
    PEN_DASH_DOT = 3,     // 10 bits
    PEN_DASH_DOT_DOT = 4, // 9 bits
    PEN_NULL = 5          // no bit set: lines draw nothing
};

// What a pending selection in a window covers.
enum SelectionKind : int {
    SELECT_NONE = 0,    // no selection
    SELECT_TEXT = 1,    // cells of the text grid
    SELECT_GRAPHICS = 2 // a rectangle of surface pixels
};

// A selection made with the mouse (or Select All) in one window.
struct SelectionState {
    int kind = SELECT_NONE;   // SelectionKind
    bool in_progress = false; // the user is choosing; mouse events go here, not to callbacks
    bool dragging = false;    // the left button is down inside the window
    bool whole = false;       // Select All: the whole surface (picture) or all text
    QPoint anchor;            // surface pixel where the drag started
    QPoint current;           // surface pixel under the mouse now
    QRect area;               // surface pixels selected (graphics) or covered (text)
};

// Graphics state of one window: the off-screen surface and the stateful
// drawing primitives' settings. All pixel coordinates are physical surface
// pixels unless a field says otherwise.
struct SurfaceState {
    QImage surface;        // off-screen image, RGB32; null until configured
    int surface_width = 0; // surface size in pixels
    int surface_height = 0;
    int requested_width = 0; // configured surface size; 0 means the screen's size
    int requested_height = 0;

    uint32_t palette[256] = {};  // 0xffRRGGBB per index; entries past colour_count unused
    int colour_count = 16;       // colours the display offers, 2..256
    bool approximated[256] = {}; // the display shows this entry only approximately
    int bits_per_pixel = 32;     // of the display, as reported in the window configuration

    int colour = 15;          // current colour index
    int pen_x = 0, pen_y = 0; // pen position, physical pixels (saturated copy of the exact one)
    double pen_fx = 0, pen_fy = 0; // exact pen position, physical; far window points stay exact

    int clip_left = 0, clip_top = 0; // clip rectangle, physical, inclusive
    int clip_right = 0, clip_bottom = 0;
    int origin_x = 0, origin_y = 0; // viewport origin; viewport = physical - origin

    double wx1 = 0, wx2 = 1; // window bounds, always wx1 < wx2
    double wy1 = 0, wy2 = 1; // and wy1 < wy2
    bool invert_y = false;   // window y grows upwards (wy1 at the clip's bottom edge)
    double sx = 1, sy = 1;   // viewport pixels per window unit
    double rsx = 1, rsy = 1; // their reciprocals

    int write_mode = 3;          // 0 OR, 1 AND, 2 inverse pen, 3 copy, 4 XOR
    uint16_t line_mask = 0xFFFF; // 16-bit line pattern as given
    int pen_kind = PEN_SOLID;    // derived from line_mask's bit count
    QImage fill_mask;            // optional fill pattern; null = solid fills

    bool has_font = false; // a current font is selected
    QFont font;            // the current font as built
    int font_number = 0;   // 1-based number in the font list
    int font_type = 0;     // 0 raster, 1 scalable
    int font_ascent = 0;   // pixels from the cell top to the baseline
    int font_height = 0;   // cell height in pixels
    int font_width = 0;    // average character width; 0 for a proportional font
    bool font_italic = false;
    bool font_underline = false;
    bool font_bold = false;
    QString font_face; // the family actually used

    bool has_graphics = false;  // something was drawn since the last whole clear
    QRect dirty;                // surface area changed since the screen was last told
    bool update_queued = false; // a screen update for `dirty` is already on its way

    SelectionState select; // the Edit menu's selection in this window
};

// One stretch of characters on a text grid row.
struct TextRun {
    int first_col = 1; // 1-based grid column of the first character
    std::string chars; // the characters; end column = first_col + size() - 1
};

// Text state of one window: the character grid that output uses.
struct TextState {
    bool configured = false; // the grid below has been computed from the font
    QFont text_font;         // fixed-pitch font of the cells
    int font_ascent = 0;     // baseline offset inside a cell
    int cell_width = 8;      // cell size in pixels
    int cell_height = 16;
    int text_cols = 0; // grid size: surface size / cell size
    int text_rows = 0;
    int text_top = 1, text_left = 1;         // the text window inside the grid,
    int text_bottom = 0, text_right = 0;     // 1-based rows and columns, inclusive
    int cursor_row = 1, cursor_col = 1;      // 1-based within the text window
    int text_colour = 15;                    // palette index of characters
    int background_colour = 0;               // palette index of the cells behind them
    bool wrap = true;                        // long runs continue on the next row
    bool caret_visible = false;              // the window has text and shows the caret
    std::vector<std::vector<TextRun>> store; // per grid row, runs sorted by column

    bool read_pending = false; // a thread waits for a typed line in this window
    std::string typed;         // characters typed for the pending read so far
    std::string pasted;        // clipboard text pasted as input, not yet consumed
};

// Mouse callback: unit, event code (one bit), key-state flags, x, y, all by
// reference; x and y are surface pixels.
using MouseCallback = void (*)(int32_t& unit, int32_t& event, int32_t& keys, int32_t& x,
                               int32_t& y);

// One slot per mouse event code 1, 2, 4, 8, 16, 32, 64 in that order.
struct MouseSlots {
    MouseCallback slot[7] = {};
};

// Everything the graphics part keeps for one window.
struct GraphicsData {
    SurfaceState gfx; // graphics surface and drawing state
    TextState text;   // text grid and store
    MouseSlots mouse; // mouse callbacks
};

// A window's graphics data; the record was made after install_window_graph(), so it has some.
inline GraphicsData& graphics_of(ChildWindow* cw) {
    return *cw->graphics;
}
inline const GraphicsData& graphics_of(const ChildWindow* cw) {
    return *cw->graphics;
}
inline GraphicsData& graphics_of(ChildWindow& cw) {
    return *cw.graphics;
}
inline const GraphicsData& graphics_of(const ChildWindow& cw) {
    return *cw.graphics;
}

// Makes and frees a window's graphics data; install_window_graph() installs them in the kernel.
GraphicsData* create_graphics_data();
void destroy_graphics_data(GraphicsData* data);
