// A child window that shows a finished picture given as plain pixels (a diagram drawn elsewhere,
// without the toolkit). Interface thread only (menu callbacks).
#pragma once

#include <cstdint>

// Opens the child window of unit titled title (a window the unit already has is removed first)
// with a surface of width x height showing pixels: rows of 0xAARRGGBB values (premultiplied
// alpha, as cairo's ARGB32 image surfaces hold them), stride bytes apart. The window that was
// current before stays the calling thread's current window. 1 on success, 0 when the window
// cannot be opened or the picture is empty.
int open_image_window(int unit, const char* title, const uint32_t* pixels, int width, int height,
                      int stride);
