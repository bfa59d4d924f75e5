// Child windows with their widgets: creation, removal, the active window, repaints and the
// status message; private to the window layer. Interface thread unless noted.
#pragma once

#include "window/kernel/window_table.h"

#include <string>

// The active child window of the frame, or null; interface thread only.
ChildWindow* active_window();

// Repaints the part of the window's surface in surface pixels (x, y, w, h);
// any thread, never while holding cw->lock. w or h <= 0 repaints everything.
void update_window_rect(ChildWindow* cw, int x, int y, int w, int h);

// Status bar message field (empty or null clears it); any thread. From
// another thread the change is queued and the caller does not wait.
void set_status_message(const char* text);

// --- Creation and removal (interface thread only) ----------------------------

// Creates a child window titled title in the first free slot, connected to
// unit, shows and activates it. Null when all 40 slots are in use.
ChildWindow* create_child_window(const std::string& title, int unit, bool delete_on_close);

// True when the user may close the window (its unit was closed with KEEP, or
// the frame is going away).
bool window_closing_allowed(const ChildWindow* cw);

// Removes a window: frees its slot, retires its record and deletes its
// widgets (later, so that it is safe from the window's own event handlers).
// The record, its surface and its text store are freed when the last
// reference goes: normally when the toolkit deletes the widgets.
void remove_window(ChildWindow* cw);

// Removes every window and frees every record (frame shutdown).
void destroy_all_windows();
