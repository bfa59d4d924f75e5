// Routines that the graphics part of the window layer plugs into the kernel at start-up.
// Set them from any thread before the frame starts; the kernel calls them on the
// interface thread only. A null hook does nothing.
#pragma once

// Hooks deliver program callbacks through its dispatcher.
#include "window/kernel/stop_guard.h"

#include <QPoint>
#include <QRect>
#include <QSize>

class QPainter;
struct ChildWindow;

// The kernel's calls into window/graph.
struct WindowHooks {
    // Applies the window's size configuration (creates its surface); the
    // kernel calls it before it first paints a window that is not configured.
    // Called without cw->lock held; takes it itself.
    void (*configure)(ChildWindow* cw) = nullptr;
    // Size in pixels of the window's surface; 0 x 0 while it has none. Called
    // with cw->lock held.
    QSize (*surface_size)(const ChildWindow* cw) = nullptr;
    // Draws the surface pixels of area (surface pixels, inside the surface)
    // with their top-left corner at at; an empty area draws the whole surface
    // as one image. Called with cw->lock held.
    void (*paint_surface)(const ChildWindow* cw, QPainter* painter, const QPoint& at,
                          const QRect& area) = nullptr;
    // The window's own character cell in pixels; false while its text grid
    // does not exist. Called with cw->lock held.
    bool (*text_cell)(const ChildWindow* cw, int& width, int& height) = nullptr;
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

// The window's surface size through the hook (0 x 0 without one); caller holds cw->lock.
QSize window_surface_size(const ChildWindow* cw);

// The window's character cell through the hook; false (width and height
// untouched) without a text grid or a hook. Caller holds cw->lock.
bool window_text_cell(const ChildWindow* cw, int& width, int& height);
