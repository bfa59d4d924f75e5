// The FORC diagram: the distribution over the coercive field Bc (across) and the interaction
// field Bu (up), on a diverging colour scale centred on zero with the zero contour, a colour bar
// and a title. One drawing for files (PNG, SVG) and for any cairo surface a program shows. Any
// thread may call it on distinct surfaces.
#pragma once

#include <cstdint>
#include <string>

#include <cairo.h>

#include "forc/forc_distribution.h"
#include "forc/forc_table.h"

// What the diagram says besides the values.
struct ForcDiagramText {
    std::string title;      // first line of the title (the file's name, say)
    int sf = 0;             // the smoothing factor, shown after the title
    double axis_scale = 1;  // factor from the grid's field values to the axes' numbers
                            // (1000 for fields in T shown in mT)
    std::string axis_unit;  // the axes' unit ("mT"), "" for none
    std::string value_unit; // the unit of rho ("A m^2/T^2"), "" for none
    double scale_from = 0;  // the colour scale spans the values at Bc >= scale_from (nearer
                            // values beyond it show in the end colours)
};

// Nodes of the diagram's grid along its longer side.
constexpr int32_t kDiagramNodes = 400;

// The words and scales of a diagram of fields in field_unit and moments in moment_unit (as the
// readers report them; "" for none): fields in T are shown in mT, rho in moment/field^2.
ForcDiagramText forc_diagram_text(const std::string& title, int32_t sf,
                                  const std::string& field_unit, const std::string& moment_unit);

// The diagram's grid of table smoothed with sf, and text.scale_from set so that the colour
// scale and the peak leave out the ridge of reversible magnetisation at Bc = 0.
void forc_diagram_grid(const ForcTable& table, int32_t sf, ForcGrid& grid, ForcDiagramText& text);

// Size of the pictures written by write_forc_diagram, in pixels (PNG) or points (SVG).
constexpr int kDiagramWidth = 820;
constexpr int kDiagramHeight = 640;

// Draws the diagram of grid (x = Bc, y = Bu, as forc_distribution_coercive fills it) into the
// rectangle (0, 0, width, height) of cr: white background, nodes outside the measured region
// light grey.
void paint_forc_diagram(cairo_t* cr, double width, double height, const ForcGrid& grid,
                        const ForcDiagramText& text);

// Writes the diagram to path: SVG when the name ends in ".svg", PNG when it ends in ".png" (any
// case). The file is written under a temporary name beside it and renamed at the end, so that a
// failure leaves no partial file. False with one line in error otherwise.
bool write_forc_diagram(const std::string& path, const ForcGrid& grid, const ForcDiagramText& text,
                        std::string& error);

// True when path names a picture write_forc_diagram can write (".png" or ".svg").
bool forc_diagram_path_ok(const std::string& path);
