// Child windows connected to input/output units, and the state of windows and the frame.
// Any thread; calls from other threads are carried out on the interface thread.
#pragma once

#include <cstdint>

// Opens the child window of unit (the run-time's OPEN on "USER"): titled title,
// or "Unit N" when title is null or empty; status as given to OPEN (null when
// none). The window becomes the calling thread's current window and is
// activated; the user cannot close it while the unit is open. 1 on success,
// 0 when 40 windows exist or the unit number is negative.
int open_window_unit(int unit, const char* title, const char* status = nullptr);

// Closes unit's window with disposition "KEEP" (the window stays, marked
// closed, "-Closed" appended to its title, the user may close it) or any
// other (the window is removed); null uses the unit's default ("DELETE" when
// opened without status or with "SCRATCH", else "KEEP"). 1 on success, 0 if
// the unit has no open window.
int close_window_unit(int unit, const char* disposition);

// The window-state record of set_window_state.
struct WindowStateRecord {
    int16_t type;   // kWindowMinimise, kWindowMaximise, kWindowRestore or kWindowPlace
    int16_t x;      // frame: left in pixels; unit: column
    int16_t y;      // frame: top in pixels; unit: row
    int16_t height; // frame: client height in pixels; unit: rows
    int16_t width;  // frame: client width in pixels; unit: columns
};

// Types of a window-state record.
constexpr int16_t kWindowMinimise = 1;
constexpr int16_t kWindowMaximise = 2;
constexpr int16_t kWindowRestore = 3;
constexpr int16_t kWindowPlace = 4; // place and size by x, y, height, width

// Handle value of the frame for set_window_state.
constexpr int32_t kFrameUnit = static_cast<int32_t>(0x80000000u);

// Sets the state of the frame (unit == kFrameUnit) or of a unit's window.
// 0 on success, -1 if the unit has no window, -4 for an unknown type.
int set_window_state(const int32_t& unit, const WindowStateRecord& state);

// Handle (1024 + slot) of the calling thread's current window; 0 if none can exist.
int current_window_handle();
// Handle of unit's window, 0 if it has none.
int window_handle_for_unit(int unit);
// Copies the title of the window with handle into buf; length, or -1.
int window_title(int handle, char* buf, int size);
// Number of child windows that exist.
int child_window_count();
