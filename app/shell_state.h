// Scratch state shared by the application's dialogs: the text buffer, the field flags and the
// dialog record. Interface thread only: every user is a menu or dialog callback, and they never
// overlap.
#pragma once

#include <cstdint>

struct Dialog;

// Length of the text buffer: values for dialog fields, texts read back, status messages.
constexpr int kTextBufferLength = 50;

// Number of validated fields a dialog can have.
constexpr int kFieldCount = 4;

struct ShellState {
    char text_buffer[kTextBufferLength]; // blank-padded, not terminated
    bool field_ok[kFieldCount];          // one per validated field; OK/Execute needs all true
    bool cancelled;                      // the parameter dialog was ended by Cancel
};

extern ShellState g_shell;

// The one dialog record, reused for every dialog and released after each.
Dialog& shell_dialog();

// All four field flags := true.
void reset_field_flags();

// True when all four field flags are true.
bool all_fields_ok();

// text_buffer := message, blank-padded (truncated to the buffer's length).
void set_text_buffer(const char* message);

// text_buffer := blanks.
void blank_text_buffer();

// Writes value with "(g14.7)" into text_buffer, left-adjusts it and sets it as the text of the
// control.
void set_field_value(Dialog& dialog, int32_t control_id, double value);

// Sets text_buffer as the text of the control (a status line).
void show_text_buffer(Dialog& dialog, int32_t control_id);

// Sets an empty text.
void set_empty_text(Dialog& dialog, int32_t control_id);

// Reads the control's text (its first kTextBufferLength characters) into text_buffer.
void read_field_text(Dialog& dialog, int32_t control_id);

// Enables or disables a control (the default value of statics, edits and push buttons).
void set_control_enabled(Dialog& dialog, int32_t control_id, bool enabled);
