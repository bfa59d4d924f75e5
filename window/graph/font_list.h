// The process-wide list of the display's fonts, font matching and building (private; Qt types).
// Any thread: the list is built once under its own lock and never changes
// afterwards; selection works on a SurfaceState whose window lock the caller holds.
#pragma once

#include "window/graph/font_options.h"
#include "window/graph/surface_ops.h"

#include <QFont>
#include <QString>
#include <vector>

// One font of the display, in enumeration order (family, then style).
struct FontRecord {
    QString face;     // family name
    QString style;    // style name within the family
    int height = 16;  // recorded cell height in pixels
    int width = 0;    // recorded average width; 0 = the face's own proportion
    int weight = 400; // 100..900
    bool italic = false;
    bool underline = false;
    bool fixed = false; // fixed pitch
    int type = 1;       // 0 raster, 1 scalable
};

// The listed family that stands for a face: the face itself when listed;
// for "Courier New", "Arial" and "Times New Roman" (the faces the aliases
// name) what the font configuration maps them to, "Courier New" always to a
// fixed-pitch face; any other unknown face is returned unchanged.
QString listed_face_for(const QString& face);

// The list; built on the first call. Empty when the display lists no font.
const std::vector<FontRecord>& font_list();

// A font of the record's face with a cell height of `height` pixels (ascent
// plus descent) and, when width > 0, stretched to that average width. Text is
// never antialiased, so only palette colours reach a surface.
QFont build_font(const FontRecord& rec, int height, int width, bool bold, bool italic,
                 bool underline);

// Selects record `index` into the state (height and width 0: the record's
// size; height 0 with a width: the height of the face's own proportion) and
// fills the font fields; result index + 1.
OpResult select_font(SurfaceState& s, int index, int height, int width, bool bold, bool italic,
                     bool underline);

// Searches the list for a request as set_font does; result the 1-based number
// or -1, status 0/3 on success, 255 when nothing matches.
OpResult match_and_select_font(SurfaceState& s, const FontRequest& req);

// Selects the list's last scalable font (the last font when none is); result
// the number of fonts, 0 with status -1 when the list is empty.
OpResult select_default_font(SurfaceState& s);
