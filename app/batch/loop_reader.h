// Reads the points of an "H,B" loop file one at a time, so a file of any length needs the same
// small memory, and reads it a second time only when that is safe: a regular file that has not
// changed, or the points kept from the first reading of a pipe. Any one thread per reader record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "measure/text_lines.h"

// Longest line accepted, without its line end (LF or CRLF alike); longer lines are refused.
constexpr int kLoopLineMax = 255;

// One open loop file. The format is what Save results... and the batch tool write: lines that
// start with "#" are comments, blank lines are skipped, the first other line may be a header
// whose two cells are not numbers ("H,B", or a measured file's own names), and every further
// line holds two finite numbers separated by a comma.
struct LoopReader {
    TextLines lines;            // the file
    std::string path;           // the file's name, for messages
    int64_t line = 0;           // number of the line read last (1 is the first line)
    int64_t points = 0;         // points delivered so far in this reading
    bool header_allowed = true; // no data line has been read yet
    std::string text;           // the line being read
    bool keep = false;          // a pipe or other stream: the first reading keeps its points
    std::vector<double> kept;   // H, B pairs kept for the second reading
    bool replaying = false;     // the second reading delivers the kept points
    size_t replayed = 0;        // pairs delivered from kept
    int64_t size = 0;           // a regular file's size and modification time when opened,
    int64_t modified_ns = 0;    // to refuse a second reading of a changed file
};

// Opens path for reading. On failure returns false with one line of explanation in error.
bool loop_reader_open(LoopReader& reader, const std::string& path, std::string& error);

// The next point of the file. Returns 1 with H and B set, 0 at the end of the file, or -1 with
// one line of explanation (naming the line) in error for a line that is not two finite numbers,
// a line that is too long, a NUL byte or a read error.
int loop_reader_next(LoopReader& reader, double& H, double& B, std::string& error);

// Starts a second reading of the same points: from the start of a regular file that has not
// changed since it was opened, or from the points kept from a pipe. False with one line in
// error when the file changed.
bool loop_reader_rewind(LoopReader& reader, std::string& error);

// True when the file is unchanged since it was opened (always true for a pipe).
bool loop_reader_unchanged(const LoopReader& reader);

// Closes the file; the record can be opened again.
void loop_reader_close(LoopReader& reader);
