// Start-up of the windowed program: the frame and the program thread; with the headers it
// includes, everything a program and its tests need to start, stop and end the window layer.
// run_window_program runs on the process's first thread; the others on the interface thread.
#pragma once

#include "window/kernel/message_box.h"
#include "window/kernel/program_end.h"
#include "window/kernel/program_state.h"

// Builds the frame and its standard menus, starts the program thread running
// main_routine at below-normal priority and runs the event loop on the calling
// thread (the interface thread) until the process ends (it never returns).
int run_window_program(int argc, char** argv, void (*main_routine)());

// --- In-process use without a program thread (tests) ---------------------
// Interface thread only, with the application object already created.

// Builds and shows the frame titled name; 1 on success, 0 if one exists.
int frame_start(const char* name);

// Destroys the frame, every child window and the menus, and restores every
// setting of the layer (state, exit mode, ids, answers) to its start-up value
// (the answer and end routines stay).
void frame_shutdown();
