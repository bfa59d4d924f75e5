// Typed and pasted input for a pending read in a window (private).
// The key and paste routines run on the interface thread; all take the window's lock themselves
// except take_pasted_line, whose caller holds it.
#pragma once

struct ChildWindow;

// A typed character (UTF-8, NUL-terminated) for the window: echoed and
// collected while a read is pending; Enter ends the line. False when no
// read is pending (the caller beeps).
bool input_key(ChildWindow* cw, const char* text);

// Adds clipboard text as input for the window ("Paste"); it feeds the
// pending read now or the next one.
void input_paste(ChildWindow* cw, const char* text);

// Discards pasted input not yet consumed ("Clear Paste").
void input_clear_paste(ChildWindow* cw);

// Moves the first pasted line (if a whole one is there) into the typed line
// of a pending read and signals it; caller holds cw->lock.
bool take_pasted_line(ChildWindow* cw);
