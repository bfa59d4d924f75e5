// Routines that the graphics part of the window layer plugs into the kernel at start-up.
// Set them from any thread before the frame starts; the kernel calls them on the
// interface thread only. A null hook does nothing.
#pragma once

// Hooks deliver program callbacks through its dispatcher.
#include "window/kernel/stop_guard.h"

class QPainter;
struct ChildWindow;

// The kernel's calls into window/graph.
struct WindowHooks {
    // Applies the window's size configuration (creates cw->gfx.surface); the
    // kernel calls it before it first paints a window that is not configured.
    // Called without cw->lock held; takes it itself.
    void (*configure)(ChildWindow* cw) = nullptr;
    // Draws extra marks (selection, caret) after the kernel has painted the
    // surface; painter is set up in surface pixels. Called with cw->lock held.
    void (*paint_overlay)(ChildWindow* cw, QPainter* painter) = nullptr;
    // A mouse event in the window: code 1..64 as in the mouse event table,
    // keys the key-state flags, client_x/client_y in widget (client) pixels.
    // Graph converts to surface pixels and delivers through
    // dispatch_program_callback.
    void (*mouse)(ChildWindow* cw, int code, int keys, int client_x, int client_y) = nullptr;
    // A typed character (UTF-8, NUL-terminated) in the window; returns true
    // when a read was waiting for it (otherwise the kernel beeps).
    bool (*key)(ChildWindow* cw, const char* text) = nullptr;
    // Standard commands: 1001 Select Text, 1002 Select Graphics, 1003 Select
    // All, 1004 Copy, 1019 Print, 1020 Save, 1021 Paste, 1022 Clear Paste;
    // Esc also sends 0 to end a selection in progress. cw is the active window.
    void (*command)(ChildWindow* cw, int id) = nullptr;
    // A window was created (after its widgets exist) or is about to be destroyed.
    void (*opened)(ChildWindow* cw) = nullptr;
    void (*closing)(ChildWindow* cw) = nullptr;
};

// The hooks in force; window/graph fills them before the frame starts.
WindowHooks& window_hooks();
