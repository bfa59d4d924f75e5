// The palette a window starts with and the colour count of a display depth.
#include "window/graph/palette.h"

namespace {

// The standard 16-colour set, index order.
const uint32_t kStandard16[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

} // namespace

void fill_default_palette(uint32_t palette[256], int colour_count) {
    for (int i = 0; i < 256; ++i)
        palette[i] = 0xFF000000u | (i < 16 ? kStandard16[i] : 0x404040u);
    if (colour_count == 2) {
        palette[0] = 0xFF000000u;
        palette[1] = 0xFFFFFFFFu;
    }
}

int colours_for_depth(int bits_per_pixel) {
    if (bits_per_pixel >= 8) return 256;
    if (bits_per_pixel < 1) return 2;
    return 1 << bits_per_pixel;
}

int initial_colour(int colour_count) {
    return colour_count < 16 ? colour_count - 1 : 15;
}
