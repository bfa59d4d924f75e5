// The program's run state (running, paused, finished) and the pause gate of program threads.
// State changes happen on the interface thread; the queries are safe from any thread.
#pragma once

enum ProgramState { kRunning = 0, kPaused = 1, kFinished = 2 };

// Program state: 0 running, 1 paused, 2 finished.
int program_state();

// Sets the state, tells the observer (the frame's status bar) and releases
// threads held by a pause when it leaves kPaused. Interface thread only.
void set_program_state(int state);

// Blocks the calling thread while the program is paused (no-op on the
// interface thread). Every window-layer operation of a program thread passes here.
void wait_while_paused();

// Status word of a state: "Running", "Paused", "Finished".
const char* state_word(int state);

// Called on the interface thread with the new state after every change; the frame shows it.
// Null: nobody is told.
using ProgramStateObserver = void (*)(int state);
void set_program_state_observer(ProgramStateObserver observer);
