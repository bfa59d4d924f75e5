// The seam between the dialog records and the live dialog window: the window side is the
// toolkit part, the procedure side is toolkit-free. Interface thread only.
#pragma once

#include "dialogm/dialog.h"

// --- Window side (the toolkit part) ---

// Creates the modal window for dialog from its template over owner (a dialog window, or null
// for the frame), calls dialog_on_init once it exists, runs the modal loop until the dialog is
// ended and returns true; false when the window cannot be created.
bool window_run_modal(Dialog& dialog, void* owner);

// Writes a control's record into its window control (text without trailing blanks, checked
// state of kinds 4-5, enabled state, list items, scroll bar range and position).
void window_write_control(Dialog& dialog, const DialogControl& control);

// Reads a control's record back from its window control.
void window_read_control(Dialog& dialog, DialogControl& control);

// Ends the modal loop of the shown dialog.
void window_end(Dialog& dialog);

// --- Procedure side (the records' reaction to the window's messages) ---

// The window exists: records its handle, writes every control, calls the dialog callback.
void dialog_on_init(Dialog& dialog, void* window);

// A command from control id with a notification code; true when handled (a callback ran).
// The first control with the id answers.
bool dialog_on_command(Dialog& dialog, int32_t id, int32_t code);

// The same from the control whose record is dialog.controls[index]: the window side knows which
// control spoke, so one of two controls that share an id reaches its own record.
bool dialog_on_control_command(Dialog& dialog, int index, int32_t code);

// Scroll request codes of a scroll bar notification.
enum ScrollRequest : int32_t {
    scroll_line_up = 0,
    scroll_line_down = 1,
    scroll_page_up = 2,
    scroll_page_down = 3,
    scroll_thumb_position = 4,
    scroll_thumb_track = 5,
    scroll_top = 6,
    scroll_bottom = 7,
};

// A scroll request from scroll bar control id; position is used by the thumb requests.
void dialog_on_scroll(Dialog& dialog, int32_t id, int32_t request, int32_t position);

// The same from the scroll bar whose record is dialog.controls[index].
void dialog_on_control_scroll(Dialog& dialog, int index, int32_t request, int32_t position);

// Writes every dirty control to the window with the in-update flag set; nothing when not shown.
void push_dirty_controls(Dialog& dialog);

// Index of the first control with this id, or -1.
int find_control_index(const Dialog& dialog, int32_t id);
