// Graphics, text and mouse state of a child window; fields are owned by window/graph.
// The interface thread and the program thread both reach these fields, always
// under the window's lock (see ChildWindow::lock).
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

// Graphics state of one window: the off-screen surface and the stateful
// drawing primitives' settings. All pixel coordinates are physical surface
// pixels unless a field says otherwise.
struct SurfaceState {
    QImage surface;          // off-screen image, RGB32; null until configured
    int surface_width = 0;   // surface size in pixels
    int surface_height = 0;
    // (window/graph adds the palette, pen, clip, viewport, window bounds,
    //  write mode, line style and font fields here)
};

// Text state of one window: the character grid that output uses.
struct TextState {
    // (window/graph adds cell size, grid, cursor, colours, wrap, caret and
    //  the text store here)
};

// Mouse callback: unit, event code (one bit), key-state flags, x, y, all by
// reference; x and y are surface pixels.
using MouseCallback = void (*)(int32_t& unit, int32_t& event, int32_t& keys, int32_t& x,
                               int32_t& y);

// One slot per mouse event code 1, 2, 4, 8, 16, 32, 64 in that order.
struct MouseSlots {
    MouseCallback slot[7] = {};
};
