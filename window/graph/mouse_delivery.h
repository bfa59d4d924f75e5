// Delivering the window's mouse events to registered callbacks (private).
// Interface thread only: the kernel's views call it through the mouse hook.
#pragma once

struct ChildWindow;

// Surface pixel of a client position: scroll offsets added, stretched under
// Size To Fit or full screen. False when the client size is unknown. Takes
// cw->lock (the surface size may change on the program thread).
bool mouse_surface_position(ChildWindow* cw, int client_x, int client_y, int& x, int& y);

// One mouse event (code 1..64, key flags, client position) of cw: offered to
// a selection in progress first, then delivered to the callback of its code
// when cw is the active window and the program is not paused.
void deliver_mouse_event(ChildWindow* cw, int code, int keys, int client_x, int client_y);
