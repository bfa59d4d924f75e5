// The default palette of a window and the colour count a display offers.
// Pure tables; any thread.
#pragma once

#include <cstdint>

// Fills 256 entries (0xffRRGGBB): the standard 16-colour set and 240 greys
// (64, 64, 64); a 2-colour window gets black and white instead.
void fill_default_palette(uint32_t palette[256], int colour_count);

// Colours a display of the given depth offers: 2^bits, capped at 256 (at least 2).
int colours_for_depth(int bits_per_pixel);

// The initial colour index of a window with this many colours.
int initial_colour(int colour_count);
