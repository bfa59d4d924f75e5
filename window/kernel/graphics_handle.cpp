// The routines that make and free a window's graphics data, as installed.
#include "window/kernel/graphics_handle.h"

namespace {

// Set once before the frame starts, only read afterwards.
GraphicsData* (*g_create)() = nullptr;
GraphicsDataDeleter g_destroy = nullptr;

void destroy_nothing(GraphicsData*) {}

} // namespace

void set_graphics_data_routines(GraphicsData* (*create)(), GraphicsDataDeleter destroy) {
    g_create = create;
    g_destroy = destroy;
}

GraphicsHandle new_graphics_data() {
    if (!g_create || !g_destroy) return GraphicsHandle(nullptr, destroy_nothing);
    return GraphicsHandle(g_create(), g_destroy);
}
