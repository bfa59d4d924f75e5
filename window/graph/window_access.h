// Locked access to the calling thread's current window for one graphics operation (private).
// Any thread. The lock is never held while waiting for the interface thread:
// screen updates are posted after it is released, one per burst of drawing.
#pragma once

#include "window/graph/surface_ops.h"
#include "window/kernel/child_window.h"

#include <mutex>

// The window a graphics operation works on, with its lock held.
struct LockedWindow {
    WindowRef keep;                     // keeps the record alive while the operation runs
    ChildWindow* cw = nullptr;          // null: no usable window (status already -1)
    std::unique_lock<WindowMutex> hold; // cw->lock, counted for this thread
};

// Sets the process-wide status of the last graphics operation.
void set_graphics_status(int16_t status);

// Waits while the program is paused, finds the calling thread's current
// window (creating the default one), refuses a closed or removed window
// (status -1), takes its lock and applies its configuration if not yet done.
LockedWindow lock_current_window();

// The same for a given window (e.g. the window of a unit). A raw pointer is
// for the interface thread; other threads pass the reference they hold.
LockedWindow lock_window(ChildWindow* cw);
LockedWindow lock_window(WindowRef cw);

// Releases the lock and asks for a screen update of what the operation
// changed; updates coalesce until the interface thread has shown them.
void unlock_and_show(LockedWindow& w);

// Applies the window's size configuration (surface, palette, graphics state,
// text grid) when it has not been applied; caller holds cw->lock.
void configure_locked(ChildWindow* cw);

// Screen size and depth used for surfaces that are not configured otherwise.
// Call once on the interface thread at start-up; later calls may come from any thread.
void remember_screen();
void screen_metrics(int& width, int& height, int& bits_per_pixel);
