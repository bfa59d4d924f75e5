// The process-wide font list and the current window's font selection.
// Any thread may call these; the list is built once by the first init_fonts.
#pragma once

// Builds the font list on the first call and selects its last scalable font
// in the current window; returns the number of fonts, 0 or less on failure.
int init_fonts();

// Selects a font by options (t'face' hN wN f p r v e u i b nN); returns the
// 1-based number of the selected font, or -1 (current font kept).
int set_font(const char* options, int length);
