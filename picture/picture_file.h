// Pictures written to files without a display: a PNG or an SVG of any drawing on a cairo
// context, written under a temporary name and renamed at the end. Any thread.
#pragma once

#include <string>

#include <cairo.h>

// Draws a picture into the rectangle (0, 0, width, height) of cr; `what` is the drawing's data.
using PaintPicture = void (*)(cairo_t* cr, double width, double height, const void* what);

// True when path names a picture write_picture can write: it ends in ".png" or ".svg" (any
// case).
bool picture_path_ok(const std::string& path);

// Writes paint's picture of `what`, width x height pixels (PNG) or points (SVG, for a name
// ending in ".svg"), to path. A failure leaves no partial file and gives false with one line in
// error.
bool write_picture(const std::string& path, int width, int height, PaintPicture paint,
                   const void* what, std::string& error);
