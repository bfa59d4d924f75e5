// init_fonts and set_font on the current window.
#include "window/graph/fonts.h"

#include "window/graph/font_list.h"
#include "window/graph/window_access.h"

int init_fonts() {
    // Build the list before taking the window's lock: the first enumeration is slow.
    font_list();
    LockedWindow w = lock_current_window();
    if (!w.cw) return 0;
    OpResult r = select_default_font(graphics_of(w.cw).gfx);
    set_graphics_status(r.status);
    unlock_and_show(w);
    return r.result;
}

int set_font(const char* options, int length) {
    FontRequest req;
    int parse_status = parse_font_options(options, length, req);
    font_list();
    LockedWindow w = lock_current_window();
    if (!w.cw) return -1;
    OpResult r = parse_status != 0 ? OpResult{-1, static_cast<int16_t>(parse_status)}
                                   : match_and_select_font(graphics_of(w.cw).gfx, req);
    set_graphics_status(r.status);
    unlock_and_show(w);
    return r.result;
}
