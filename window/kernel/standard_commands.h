// The standard commands of the frame (ids 1000 to 1023); private to the window layer.
// Interface thread only.
#pragma once

#include "window/kernel/command_ids.h"

// Runs a standard command; other ids do nothing.
void run_standard_command(int id);

// Pause and Resume: each does nothing unless the program is running / paused.
void pause_program();
void resume_program();

struct ChildWindow;

// Marks cw as the window with typed input pending (enables "&Input" and shows
// "Input pending in <title>"); null ends it. Any thread; from another thread
// the change is queued and the caller does not wait.
void set_input_pending_window(ChildWindow* cw);
