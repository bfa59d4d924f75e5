// Reads the points of an "H,B" loop file one at a time, so a file of any length needs the same
// small memory. Any one thread per reader record.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Longest line accepted, without its line end; longer lines are refused rather than stored.
constexpr int kLoopLineMax = 255;

// One open loop file. The format is what Save results... and the batch tool write: lines that
// start with "#" are comments, blank lines are skipped, the first other line may be a header
// whose two cells are not numbers ("H,B", or a measured file's own names), and every further
// line holds two finite numbers separated by a comma.
struct LoopReader {
    std::FILE* file = nullptr;  // owned: opened by loop_reader_open, closed by loop_reader_close
    std::string path;           // the file's name, for messages
    int64_t line = 0;           // number of the line read last (1 is the first line)
    int64_t points = 0;         // points delivered so far
    bool header_allowed = true; // no data line has been read yet
    char buffer[kLoopLineMax + 2] = {}; // the line being read, with its line end and a NUL
};

// Opens path for reading. On failure returns false with one line of explanation in error.
bool loop_reader_open(LoopReader& reader, const std::string& path, std::string& error);

// The next point of the file. Returns 1 with H and B set, 0 at the end of the file, or -1 with
// one line of explanation (naming the line) in error for a line that is not two finite numbers,
// a line that is too long or a read error.
int loop_reader_next(LoopReader& reader, double& H, double& B, std::string& error);

// Closes the file; the record can be opened again.
void loop_reader_close(LoopReader& reader);
