// Writing a result file safely: never over the input, never half-written, and without
// replacing what the name stands for (a link's target keeps its place and mode, a pipe or device
// is written into). Single-threaded tool.
#pragma once

#include <string>

// True when a and b name the same existing file (the same device and inode), or are the same
// name.
bool same_file(const std::string& a, const std::string& b);

// Writes text to path. A regular file (or a link to one, or a new name) is written to a new
// temporary file beside the target (created exclusively, with the target's permissions or
// those of a new file), synced and renamed over the target, so that a failure never leaves a
// partial file. A pipe, terminal or other device is written directly. False with one line in
// error; then nothing at path has changed (for a regular file).
bool write_output_file(const std::string& path, const std::string& text, std::string& error);
