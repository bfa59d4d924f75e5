// The dispatcher around every program callback, and the unwinding of a stop to it.
// Interface thread only, except the queries.
//
// A stop of the program never returns into the code that called it: on the
// interface thread it unwinds to the nearest guard. A layer that runs program
// code under toolkit frames (a modal dialog's change callbacks) wraps each call
// in run_stoppable, leaves its toolkit frames when it returns false (closes
// its dialog) and then calls resume_stop to carry the stop on to the
// dispatcher that called it.
#pragma once

// Runs call(context); false when the program stopped inside it.
bool run_stoppable(void (*call)(void* context), void* context);

// True once the program has stopped: no program callback may run any more.
bool program_stopped();

// Carries a stop on to the next guard outward; never returns. With no guard
// left it keeps the interface alive in an event loop that never ends.
[[noreturn]] void resume_stop();

// Marks the program stopped: no program callback is delivered any more. Any thread.
void mark_program_stopped();

// Forgets the stop (frame shutdown).
void clear_program_stopped();

// Holds back (true) or lets through (false) program callbacks: while long work of the program
// runs on the interface thread and lets the interface handle input, no other callback may start.
void hold_program_callbacks(bool hold);

// Runs a program callback (menu or mouse) on the interface thread: withheld
// (returns false) while the program is paused, while callbacks are held or after it has stopped;
// a stop inside the callback abandons it and returns false here.
bool dispatch_program_callback(void (*call)(void* context), void* context);
