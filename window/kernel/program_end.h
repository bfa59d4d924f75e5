// The end of the program: stop, the finished state, the exit prompt, the exit modes and how the
// process ends. Any thread unless noted.
#pragma once

#include "window/kernel/process_end.h"

// Writes message (or "Stop - Program terminated." when null) as one line to
// the standard text window and ends the program with exit code 0. Never
// returns into its caller: on the program thread it parks that thread for
// good; on the interface thread, when the user keeps the windows, it unwinds
// to the dispatcher of the running callback.
[[noreturn]] void stop_program(const char* message);

// What happens at the end of the program: 1 ask "Exit Window?" (default),
// 2 close the frame without asking, any other value leave it open.
void set_exit_mode(int mode);
int exit_mode();

// The program's name (the executable's file name without directory and
// extension); the frame's title.
const char* program_name();

// Runs the end-of-program steps once (grey the program's items, "Finished",
// the prompt or close by exit mode). Interface thread only.
void end_of_program(int exit_code);

// Forgets that the end has run and the exit mode (frame shutdown).
void clear_program_end();
