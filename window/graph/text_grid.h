// The character grid of a text window on a surface: writing, scrolling, clearing and the text store
// (private; Qt types). Callers hold the window's lock; any thread (only QImage/QPainter work here).
#pragma once

#include "window/graph/graphics_data.h"

#include <cstdint>
#include <string>

// Default text cell: a fixed-pitch face 16 pixels high and 8 wide.
constexpr int kTextFontHeight = 16;
constexpr int kTextFontWidth = 8;

// Builds the text font, the cell size and the grid from the surface size and
// resets the text window, cursor, colours and store. Refuses a font whose real
// width is not within 2 below to 1 above the request, or whose height is not
// within 2 of it, and tries once more with the width the font really has.
void text_configure(const SurfaceState& s, TextState& t);

// Writes text (len bytes; NUL, CR and LF control the cursor) at the cursor,
// wrapping and scrolling as needed. Returns the graphics status (0, or -1
// when there is no surface).
int16_t text_write(SurfaceState& s, TextState& t, const char* text, int len);

// Forgets every stored row and homes the cursor (the surface is not touched).
void text_forget_all(TextState& t);

// Fills the text window with the background colour, forgets its rows and
// homes the cursor.
void text_clear_window(SurfaceState& s, TextState& t);

// The stored text of grid rows row1..row2 (1-based, inclusive), columns
// col1..col2 of each, unwritten cells as blanks, trailing blanks and trailing
// empty lines dropped, lines joined by '\n'.
std::string text_store_text(const TextState& t, int row1, int col1, int row2, int col2);

// The whole stored text.
std::string text_store_all(const TextState& t);

// Surface rectangle of the cells (row, col) 1-based within the grid.
QRect text_cells_rect(const TextState& t, int row1, int col1, int row2, int col2);
