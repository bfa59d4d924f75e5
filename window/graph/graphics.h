// Drawing on the calling thread's current window: viewport, window coordinates, colour, pens,
// lines, shapes, text, clearing. Any thread may call these; each call takes the window's lock for
// its duration and never waits for the interface thread while holding it.
#pragma once

#include <cstdint>

// Status codes left in last_graphics_status() by every graphics operation.
enum GraphicsStatus : int16_t {
    kGraphicsOk = 0,            // success
    kGraphicsNothingDrawn = 1,  // figure wholly outside the clip, or no font for text
    kGraphicsClipped = 2,       // figure partly clipped
    kGraphicsAltered = 3,       // an argument was clamped or swapped
    kGraphicsFailed = -1,       // no current window, degenerate bounds, platform failure
    kGraphicsBadFill = -4,      // invalid shape control or area
    kGraphicsBadArgument = 252, // bad point count, font options without a quoted face, NaN
    kGraphicsNoMemory = 248,    // out of memory
    kGraphicsNoFont = 255       // no matching font, or a face name too long
};

// Shape controls of draw_rectangle and draw_polygon.
enum ShapeControl : int16_t {
    kShapeBorder = 2, // stroke the border with pen kind and write mode
    kShapeFill = 3    // fill interior and border with the current colour (copy)
};

// Areas of clear_screen.
enum ClearArea : int16_t {
    CLEAR_WINDOW = 0,   // whole surface; forgets the text and the graphics flag
    CLEAR_VIEWPORT = 1, // the clip rectangle, to palette index 0
    CLEAR_TEXT = 2      // the text window, to the text background colour
};

// A point in viewport pixels.
struct PixelPoint {
    int16_t x; // to the right
    int16_t y; // downwards
};

// A point in window (real) coordinates.
struct WindowPoint {
    double wx;
    double wy;
};

// The configuration record of a window, in the order callers expect it.
struct WindowConfig {
    int16_t width;          // surface width in pixels
    int16_t height;         // surface height in pixels
    int16_t text_cols;      // text grid columns
    int16_t text_rows;      // text grid rows
    int16_t colours;        // colour_count
    int32_t cell_size;      // cell width in the high 16 bits, cell height in the low 16 bits
    char title[80];         // window title, blank padded, not terminated when 80 long
    int16_t bits_per_pixel; // of the display
    int16_t zero;           // always 0
    int16_t minus_one;      // always -1
    char reserved[8];       // all 0
};

// Status of the last graphics operation of any thread (process-wide).
int16_t last_graphics_status();

// Origin = the smaller corner; clip = the corners clamped to the surface.
// Returns nonzero on success, 0 when the clip would be empty (origin moved all the same).
int set_viewport(int16_t x1, int16_t y1, int16_t x2, int16_t y2);

// Real coordinates mapped onto the clip rectangle; invert_y makes y grow upwards.
// Returns nonzero on success, 0 for equal bounds (mapping kept).
int set_window(bool invert_y, double wx1, double wy1, double wx2, double wy2);

// Fills the record; nonzero on success, 0 without a usable current window.
int get_window_config(WindowConfig& config);

// Number of palette colours of the current window (the display's, capped at 256).
int colour_count();

// Selects a palette index (clamped into range); returns the previous index.
int16_t set_color(int16_t index);

// Stores the 16-bit pattern; returns the pen kind (PenKind values 0..5).
int16_t set_line_style(int16_t mask);

// 0 OR, 1 AND, 2 inverse of the pen colour, 3 copy, 4 XOR; returns the previous
// mode, or -1 (mode unchanged) for any other value.
int16_t set_write_mode(int16_t mode);

// Moves the pen to viewport (x, y); previous gets the old position in viewport pixels.
// Returns nonzero on success.
int move_to(int16_t x, int16_t y, PixelPoint& previous);

// Moves the pen to window (wx, wy); previous gets the old position in window coordinates.
int move_to_w(double wx, double wy, WindowPoint& previous);

// Line from the pen to viewport (x, y), both ends included; the pen moves there.
int line_to(int16_t x, int16_t y);

// Line from the pen to window (wx, wy); far points keep the line's direction,
// NaN draws nothing and leaves the pen.
int line_to_w(double wx, double wy);

// Rectangle from corner to corner, both included, viewport pixels.
int draw_rectangle(int16_t control, int16_t x1, int16_t y1, int16_t x2, int16_t y2);

// Closed polygon of count (3..16381) viewport points; the array is not changed.
int draw_polygon(int16_t control, const PixelPoint* points, int16_t count);

// Draws text (length characters, blanks kept) with its cell's top-left corner
// at the pen, transparent background; the pen advances by its width.
void draw_text(const char* text, int length);

// Clears area 0 (whole window), 1 (viewport) or 2 (text window).
void clear_screen(int16_t area);
