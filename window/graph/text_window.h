// Text output to and line input from the windows of units, and the standard output connection.
// Any thread; text is drawn by the calling thread under the window's lock.
#pragma once

// Writes one record (length characters, then a line end) to the window of
// unit; units 0 and 6 are the default window. An empty record is written as
// one blank. 1 on success, 0 when the unit has no usable window (none, or
// closed; graphics status -1).
int write_unit_record(int unit, const char* text, int length);

// Writes characters without adding a line end (CR and LF in the text act).
int write_unit_text(int unit, const char* text, int length);

// Connects the run-time's standard output: records for units 0 and 6 (and
// for units with a window) go to those windows; records for other units go
// to the process's standard output.
void connect_standard_output();

// Reads one typed (or pasted) line from the unit's window into buffer (NUL
// terminated, at most size - 1 characters). Waits for Enter; on the
// interface thread it keeps handling events meanwhile. Returns the line's
// length, or -1 when the unit has no usable window.
int read_unit_line(int unit, char* buffer, int size);
