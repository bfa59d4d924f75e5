// The workspace window's mouse handler: left button sets Hn, right button constructs, moves show H
// and B. Called by the window layer on the interface thread, one event at a time, with the
// workspace window current; it reads and writes g_model.
#pragma once

#include <cstdint>

// Events the handler is registered for: left button down (1), right button down (8), move (64).
constexpr int32_t kWorkspaceMouseMask = 73;

// Mouse event codes the handler acts on.
constexpr int32_t kMouseLeftDown = 1;
constexpr int32_t kMouseRightDown = 8;
constexpr int32_t kMouseMove = 64;

// Width of the cursor read-out: "H=", G13.7, " B=", G13.7, then blanks.
constexpr int kCursorReadoutLength = 35;

// unit and keys are not used; x and y are surface pixels. Any other event is ignored.
void on_mouse_event(int32_t& unit, int32_t& event, int32_t& keys, int32_t& x, int32_t& y);
