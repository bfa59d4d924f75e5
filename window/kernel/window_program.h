// Start-up and end of the windowed program: the frame, the program thread, stop and exit modes.
// run_window_program runs on the process's first thread; the others may be called
// from any thread unless noted.
#pragma once

// Builds the frame and its standard menus, starts the program thread running
// main_routine at below-normal priority and runs the event loop on the calling
// thread (the interface thread) until the process ends (it never returns).
int run_window_program(int argc, char** argv, void (*main_routine)());

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

// Program state: 0 running, 1 paused, 2 finished.
int program_state();

// The program's name (the executable's file name without directory and
// extension); the frame's title.
const char* program_name();

// --- In-process use without a program thread (tests) ---------------------
// Interface thread only, with the application object already created.

// Builds and shows the frame titled name; 1 on success, 0 if one exists.
int frame_start(const char* name);

// Destroys the frame, every child window and the menus, and restores every
// setting of the layer (state, exit mode, About text, ids, answers) to its
// start-up value (the answer and end routines below stay).
void frame_shutdown();

// Answers message boxes (and the end prompt) without showing them: answer
// gets the text, the title and the style and returns the button id (1 OK,
// 2 Cancel, 6 Yes, 7 No, ...). Null shows them again.
using MessageBoxAnswer = int (*)(const char* text, const char* title, int style);
void set_message_box_answer(MessageBoxAnswer answer);

// Replaces how the process ends (Exit, frame close, "Yes" at the end prompt).
// Null restores the default, which ends the process at once with the code.
using ProcessEnd = void (*)(int code);
void set_process_end(ProcessEnd end);
