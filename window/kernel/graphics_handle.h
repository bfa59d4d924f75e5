// The graphics part's per-window data as the kernel holds it: an opaque handle, made and freed by
// routines the graphics part installs. Install before the frame starts; handles are made on any
// thread.
#pragma once

#include <memory>

// Surface, text grid and mouse slots of one window; the graphics part alone knows the layout.
struct GraphicsData;

// Frees a window's graphics data.
using GraphicsDataDeleter = void (*)(GraphicsData* data);

// Owns one window's graphics data (null while no graphics part is installed).
using GraphicsHandle = std::unique_ptr<GraphicsData, GraphicsDataDeleter>;

// Installs the routines that make and free a window's graphics data.
void set_graphics_data_routines(GraphicsData* (*create)(), GraphicsDataDeleter destroy);

// New graphics data for a window record; a null handle while no routines are installed.
GraphicsHandle new_graphics_data();
