// The run-time's standard output unit and program stop: seams the program connects at start-up.
// Any thread may call these; the connected routines decide where the work runs.
#pragma once

// Receives one record (one line, without line end) written to a unit.
// unit 0 and 6 are the standard output unit.
using LineSink = void (*)(int unit, const char* line, int length);

// Ends the program; message may be null (no message line). Need not return.
using StopRoutine = void (*)(const char* message);

// Connects the standard output unit. Null restores the default, which writes
// the line and a newline to the process's standard output.
void set_line_sink(LineSink sink);

// Writes one record to a unit through the connected sink.
void emit_line(int unit, const char* line, int length);

// Connects the program's stop. Null restores the default, which writes the
// message (if any) to standard error and exits the process with status 1.
void set_stop_routine(StopRoutine stop);

// Stops the program through the connected routine.
void stop_run(const char* message);
