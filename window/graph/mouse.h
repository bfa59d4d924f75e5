// Registering mouse callbacks for the window of a unit.
// Any thread; callbacks always run on the interface thread, one at a time.
#pragma once

#include <cstdint>

// Event codes; a registration mask is their sum.
enum MouseEventCode : int32_t {
    MOUSE_LEFT_DOWN = 1,
    MOUSE_LEFT_UP = 2,
    MOUSE_LEFT_DOUBLE = 4,
    MOUSE_RIGHT_DOWN = 8,
    MOUSE_RIGHT_UP = 16,
    MOUSE_RIGHT_DOUBLE = 32,
    MOUSE_MOVE = 64
};

// Mouse callback: unit, event code (one bit), key-state flags (1 left, 2
// right, 4 Shift, 8 Ctrl, 16 middle), x, y in surface pixels; all by
// reference, changes are ignored.
using MouseCallback = void (*)(int32_t& unit, int32_t& event, int32_t& keys, int32_t& x,
                               int32_t& y);

// Stores callback (null empties) in the slot of every event bit of mask.
// Result: 1 if a replaced slot held a callback, 0 if none did, -1 for a mask
// without any of the seven bits, -2 when the unit has no window.
int register_mouse_event(int32_t unit, int32_t mask, MouseCallback callback);
