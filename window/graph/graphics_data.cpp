// Making and freeing a window's graphics data.
#include "window/graph/graphics_data.h"

GraphicsData* create_graphics_data() {
    return new GraphicsData;
}

void destroy_graphics_data(GraphicsData* data) {
    delete data;
}
