// A measured loop and the model fitted to it, drawn together: the measured points as dots, the
// fit as a line through them, axes with ticks in the data's units, a legend and a title. One
// drawing for files (PNG, SVG) and any cairo surface. Any thread, on distinct surfaces.
#pragma once

#include <string>
#include <vector>

#include <cairo.h>

// What the picture shows: two curves over the same fields.
struct LoopPicture {
    std::string title;          // first line (the file's name and the family, say)
    std::string subtitle;       // second line (the fit's figures), "" for none
    std::string field_label;    // the field axis' words with unit: "B (mT)"
    std::string moment_label;   // the moment axis' words with unit
    double field_scale = 1;     // factor from H to the field axis' numbers (1000: T shown in mT)
    std::vector<double> H;      // fields, in the order measured
    std::vector<double> M;      // measured moments at H
    std::vector<double> fitted; // the model's moments at H (same size as H, or empty)
};

// Size of the pictures write_loop_picture writes, in pixels (PNG) or points (SVG).
constexpr int kLoopPictureWidth = 820;
constexpr int kLoopPictureHeight = 620;

// Draws the picture into the rectangle (0, 0, width, height) of cr on a white background;
// non-finite values are left out.
void paint_loop_picture(cairo_t* cr, double width, double height, const LoopPicture& p);

// Writes the picture to path (".png" or ".svg"); false with one line in error otherwise.
bool write_loop_picture(const std::string& path, const LoopPicture& p, std::string& error);
