// The window table: child-window records, the 40 slots, per-thread current windows and the
// default window; private to the window layer, without widgets. Lookups may be called from any
// thread; fields of a ChildWindow other than the atomics are read and written under its lock
// (drawing state) or on the interface thread (widget pointers, title).
#pragma once

#include "window/kernel/graphics_handle.h"
#include "window/kernel/window_lock.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

class QMdiSubWindow;
class QWidget;

// Window handles are kFirstHandle + slot; at most kMaxWindows child windows exist.
constexpr int kFirstHandle = 1024;
constexpr int kMaxWindows = 40;
// Handle value that addresses the frame itself in set_window_state.
constexpr unsigned kFrameHandle = 0x80000000u;

// One child window of the frame: its unit, its widgets and its graphics data.
// Records are owned by shared_ptr: the slot table holds one reference while
// the window exists, its widgets hold one until the toolkit deletes them, and
// a graphics operation of any thread holds one for its duration. Queued calls
// and per-thread current windows keep only weak references, so a removed
// window's record, surface and text store are freed as soon as nothing works
// on it any more, and never under anybody's feet.
struct ChildWindow : std::enable_shared_from_this<ChildWindow> {
    std::string title;                  // window title as shown (owned copy); interface thread
    int slot = -1;                      // slot 0..39 while alive; handle = kFirstHandle + slot
    int unit = -1;                      // unit connected to the window (0 for the default window)
    bool delete_on_close = true;        // disposition used when a CLOSE names none
    bool configured = false;            // size configuration applied (surface created); under lock
    std::atomic<bool> closed{false};    // unit closed with KEEP: no more output, user may close it
    std::atomic<bool> destroyed{false}; // window removed; the record is retired, slot is free
    WindowMutex lock; // held around every drawing call, repaint and reconfiguration

    // Input-wait event: a thread waiting for typed input or a mouse event in
    // this window sleeps on it (window/graph sets the flag and notifies).
    std::condition_variable input_event;
    bool input_signalled = false; // set when the awaited input arrived; under lock

    bool display_scaled = false; // surface shown stretched to the client area ("Size To Fit")
    bool minimised = false;      // window is minimised
    int scroll_x = 0;            // surface pixels scrolled out of view at the left
    int scroll_y = 0;            // surface pixels scrolled out of view at the top
    bool full_screen = false;    // content shown alone on the whole screen ("Full Screen")
    int client_width = 0;        // size in pixels of the widget that last received a mouse
    int client_height = 0;       //   event (the window's client area, or the full screen)

    QMdiSubWindow* sub = nullptr; // the MDI sub-window; interface thread only
    QWidget* view = nullptr;      // the widget that shows the surface; interface thread only

    // Surface, drawing state, text grid and mouse slots, laid out and reached by window/graph
    // (graphics_of); made with the record and freed with it.
    GraphicsHandle graphics = new_graphics_data();
};

// A counted reference that keeps a window's record alive.
using WindowRef = std::shared_ptr<ChildWindow>;

// Per-thread record, created on a thread's first use of the window layer.
struct ThreadContext {
    std::weak_ptr<ChildWindow> current; // the thread's current window; empty until first use
    bool registered = false;            // counted among the layer's threads
};

// The calling thread's context.
ThreadContext& thread_context();

// The calling thread's current window. Creates the default window ("Graphic N")
// when the thread has none, or when its window was destroyed or closed by
// this thread. Null only when no window can be created (40 exist).
WindowRef current_window_ref();

// The same as a plain pointer, for the interface thread (which alone removes
// windows, so the record outlives the caller's use of it); other threads use
// current_window_ref.
ChildWindow* current_window();

// True when the calling thread's current window is cw (which may be gone).
bool is_current_window(const ChildWindow* cw);

// Makes cw the calling thread's current window (null: back to the default).
void set_current_window(ChildWindow* cw);

// The default window, created when there is none or it was closed; null
// when no window can be created.
WindowRef default_window_ref();
ChildWindow* default_window(); // plain pointer: interface thread (see current_window)

// Makes cw the window that threads without a current window get.
void set_default_window(ChildWindow* cw);

// The live window connected to unit, or null. Unit 0 is the default window
// (created on demand).
WindowRef window_ref_for_unit(int unit);
ChildWindow* window_for_unit(int unit); // plain pointer: interface thread

// The live window with handle kFirstHandle + slot, or null.
ChildWindow* window_for_handle(int handle);

// The window of a sub-window widget, or null; interface thread only.
ChildWindow* window_for_sub(const QMdiSubWindow* sub);

// Number of live child windows.
int window_count();

// A weak reference to cw for a queued call: the call locks it and finds the
// record gone instead of touching freed memory.
std::weak_ptr<ChildWindow> weak_window(ChildWindow* cw);

// --- For the window layer's own creation and removal of windows ----------------

// Creates a child window (titled, connected to unit, with the disposition a CLOSE without one
// uses) with its widgets and returns its record; null when no window can be created. The
// frame's user interface installs it; the table calls it for the default window.
using WindowCreator = ChildWindow* (*)(const std::string& title, int unit, bool delete_on_close);
void set_window_creator(WindowCreator creator);

// Puts a new record into the first free slot and returns it (the slot is its handle's);
// null when all 40 slots are in use.
WindowRef claim_window_slot(const std::string& title, int unit, bool delete_on_close);

// Takes cw out of its slot, forgets it as the default window and marks it destroyed.
void release_window_slot(ChildWindow* cw);

// The record in slot (0..39), or null.
WindowRef window_in_slot(int slot);

// Forgets the default window and every thread's current window (frame shutdown).
void forget_window_table();
