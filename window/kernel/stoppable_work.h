// Long work of the program on the interface thread that the user can pause, stop or end: Escape or
// the Stop button of a small box stops it, Ctrl+S pauses and Ctrl+Q resumes it, Ctrl+C (and the
// frame's close) asks to end the program. Interface thread only (other threads' calls do nothing).
//
// The work itself calls poll_stoppable_work often (every step); about every 30 ms that lets the
// interface handle what came meanwhile, so windows repaint and the keys and the box answer within
// a fraction of a second. Everything else the user does is held back while the work runs: input
// to the child windows and to the dialog that started the work is dropped, and no other program
// callback starts.
#pragma once

// Starts stoppable work described by what (shown in the status bar and the box); with the wait
// cursor as begin_busy. Calls nest; only the outermost one starts and ends the work.
void begin_stoppable_work(const char* what);

// Ends one begin_stoppable_work; the outermost removes the box, gives back the cursor and lets
// input and callbacks through again, and forgets any stop asked for.
void end_stoppable_work();

// Called by the work between its steps: lets the interface handle input when it is time to, waits
// here while the program is paused, and answers true once the user has asked to stop (until the
// work ends). False at once when no stoppable work is running.
bool poll_stoppable_work();

// Asks the running work to stop (the Stop button, Escape); nothing when none runs.
void request_work_stop();

// True while stoppable work runs.
bool stoppable_work_running();

// begin_stoppable_work for the lifetime of a scope; also ends when a stop of the program unwinds.
class StoppableWorkScope {
  public:
    explicit StoppableWorkScope(const char* what) { begin_stoppable_work(what); }
    ~StoppableWorkScope() { end_stoppable_work(); }
    StoppableWorkScope(const StoppableWorkScope&) = delete;
    StoppableWorkScope& operator=(const StoppableWorkScope&) = delete;
};
