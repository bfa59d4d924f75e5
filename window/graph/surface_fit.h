// Sizing a window's surface to what the window shows, before anything is drawn on it.
// Any thread; the sizes are read on the interface thread.
#pragma once

// Sizes the current window's surface to its client area as it is now (without scroll bars), so
// that the whole surface shows. Only before the window's first drawing or text: its surface is
// then made at that size instead of the screen's. 1 on success; 0 when the window has been drawn
// on already, has no view or its client area is empty (the screen's size stays).
int size_surface_to_window();
