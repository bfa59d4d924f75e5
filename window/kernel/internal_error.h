// The window layer's internal-error reports: a message box naming the source file and line.
// Any thread; the box is shown on the interface thread and the caller waits.
#pragma once

// Kinds of internal error.
enum InternalErrorKind { kInternalWarning = 0, kInternalError = 1, kInternalFatal = 2 };

// Reports an internal error of the window layer: code 4 "Out of Memory",
// 5 "Internal Error - unexpected error", 6 "Possible internal inconsistency",
// with the source file and line. A fatal error ends the program (never returns).
void report_internal_error(int kind, int code, const char* file, int line);

// How a fatal internal error ends the program; the frame installs stop_program at start-up.
// Null (before start-up): a fatal error only shows its box.
using FatalErrorStop = void (*)(const char* message);
void set_fatal_error_stop(FatalErrorStop stop);

// The text such a report shows (tests); returns its length.
int internal_error_text(int kind, int code, const char* file, int line, char* buf, int size);
