// The program's run state (running, paused, finished), its stop, and the callback dispatcher.
// State changes happen on the interface thread; the queries are safe from any thread.
#pragma once

#include <string>

enum ProgramState { kRunning = 0, kPaused = 1, kFinished = 2 };

// Sets the state, shows its word in the status bar and releases threads
// held by a pause when it leaves kPaused. Interface thread only.
void set_program_state(int state);

// Marks the program stopped: no program callback is delivered any more.
void mark_program_stopped();

// Runs the end-of-program steps once (grey the program's items, "Finished",
// the prompt or close by exit mode). Interface thread only.
void end_of_program(int exit_code);

// Ends the process through the installed routine (Exit, frame close, "Yes").
void end_process(int code);

// Forgets the state, the stop, the end and the exit mode (frame shutdown).
void reset_program_state();
void clear_program_stopped();
void clear_program_end();

// Status word of a state: "Running", "Paused", "Finished".
const char* state_word(int state);
