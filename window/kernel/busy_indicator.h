// Feedback while the interface thread computes: the wait cursor and a status bar message.
// Interface thread only (other threads' calls do nothing).
//
// Long work runs on the interface thread inside a callback, so nothing repaints until it ends;
// the wait cursor and the message tell the user that the program is working, not hung.
#pragma once

// Shows the wait cursor over the program's windows and what (null: none) in the status bar's
// message field until the matching end_busy. Calls nest; only the outermost one shows and
// restores.
void begin_busy(const char* what);

// Ends one begin_busy; the outermost gives back the cursor and the message shown before.
void end_busy();

// Ends every begin_busy at once (the end-of-program prompt must not show a wait cursor); the
// scopes still open then end without effect.
void clear_busy();

// Nesting depth of begin_busy now (0: idle).
int busy_depth();

// begin_busy for the lifetime of a scope: also ends when a stop of the program unwinds it.
class BusyScope {
  public:
    explicit BusyScope(const char* what) { begin_busy(what); }
    ~BusyScope() { end_busy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};
