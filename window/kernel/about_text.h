// The text of the About box: the program's own, or the layer's banner until it sets one.
// Any thread; the text is kept on the interface thread.
#pragma once

// Replaces the About text (carriage returns break lines); at most 512
// characters. 0 on success, -1 on failure (the old text stays).
int set_about_text(const char* text);

// Copies the About text into buf; returns its length (tests and diagnostics).
int about_text(char* buf, int size);

// The About text in force (the layer's banner until the program sets one); interface thread.
const char* about_text_in_force();
