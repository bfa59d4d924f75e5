// Asking the user for a file to save to, and writing a file so that a failure never leaves a
// partial one. Any thread: the dialog runs on the interface thread and the caller waits.
#pragma once

#include <cstdint>

// A filter of the save dialog: the text shown and its pattern.
struct SaveFilter {
    const char* text;    // e.g. "Bitmap Files(*.bmp)"
    const char* pattern; // e.g. "*.bmp"
};

// Shows a save-file dialog owned by the frame with the filters (the first
// selected), an empty initial name, the default extension appended to a
// name typed without one, and a question before an existing file is
// replaced. Writes the chosen path (UTF-8, NUL-terminated) into path.
// Result: 1 chosen, 0 cancelled, -1 the path does not fit or no dialog.
int ask_save_file_name(const char* title, const SaveFilter* filters, int filter_count,
                       const char* default_extension, char* path, int path_size);

// Writes size bytes to path (UTF-8) by way of a temporary file in the same
// folder renamed over the target at the end: on any failure the old file,
// if any, stays as it was and no partial file is left. Result 1 on success,
// 0 on failure with a one-line reason in error (when error_size > 0).
int write_file_safely(const char* path, const char* data, int64_t size, char* error,
                      int error_size);

// Answers save dialogs without showing them (tests): gets the title and the
// default extension, writes a path and returns 1, or returns 0 for Cancel.
// Null shows the dialogs again.
using SaveFileAnswer = int (*)(const char* title, const char* default_extension, char* path,
                               int path_size);
void set_save_file_answer(SaveFileAnswer answer);
