// The marks that pictures share: tick spacings, numbers and text placed by a reference point.
// Any thread, on distinct cairo contexts.
#pragma once

#include <string>

#include <cairo.h>

// A tick spacing of 1, 2 or 5 times a power of ten giving about count intervals over range.
double nice_step(double range, int count);

// A tick's number: six significant digits, 0 for values within 1e-12 of it.
std::string number_text(double v);

// A white page of width x height, sans-serif text of font_size in black from here on.
void blank_page(cairo_t* cr, double width, double height, double font_size);

// Text with its reference point at (x, y); align -1 left, 0 centre, 1 right; vertical centre.
void show_text(cairo_t* cr, double x, double y, const std::string& s, int align);
