// Asking the user for an existing file to read. Any thread: the dialog runs on the interface
// thread and the caller waits.
#pragma once

#include "window/graph/file_save.h"

// Shows an open-file dialog owned by the frame with the filters (the first selected) that only
// accepts an existing file. Writes the chosen path (UTF-8, NUL-terminated) into path.
// Result: 1 chosen, 0 cancelled, -1 the path does not fit or no dialog.
int ask_open_file_name(const char* title, const SaveFilter* filters, int filter_count, char* path,
                       int path_size);

// Answers open dialogs without showing them (tests): gets the title, writes a path and returns
// 1, or returns 0 for Cancel. Null shows the dialogs again.
using OpenFileAnswer = int (*)(const char* title, char* path, int path_size);
void set_open_file_answer(OpenFileAnswer answer);
