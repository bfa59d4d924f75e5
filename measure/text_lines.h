// Reading a text file line by line in bounded memory, whatever the instrument wrote: CRLF or LF
// line ends, UTF-8 with or without a byte-order mark, or Latin-1 (bytes passed through). Files
// that are not text (a NUL byte, UTF-16) are refused with the line where it shows. Any one
// thread per record.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Longest line accepted, without its line end. Instrument headers run to a few thousand
// characters; a longer line is refused rather than stored.
constexpr size_t kTextLineMax = 1 << 20;

// One open text file.
struct TextLines {
    std::FILE* file = nullptr; // owned: opened by text_lines_open, closed by text_lines_close
    std::string path;          // the file's name, for messages
    int64_t line = 0;          // number of the line returned last (1 is the first)
    std::vector<char> buffer;  // bytes read ahead
    size_t begin = 0;          // first unread byte in buffer
    size_t end = 0;            // one past the last byte read into buffer
    bool at_end = false;       // the file has no more bytes to read into buffer
    bool regular = false;      // the file is a regular file (its size known beforehand)
    int64_t size = 0;          // its size when opened (regular files)
    std::string held;          // a line pushed back by text_lines_unread ("" when none)
    bool has_held = false;     // held holds a line
};

// Opens path for reading. False with one line naming the file in error when it cannot be read or
// is a folder.
bool text_lines_open(TextLines& lines, const std::string& path, std::string& error);

// The next line, without its line end (CR, LF or CRLF) and without a leading UTF-8 byte-order
// mark on the first line. Returns 1 with text set, 0 at the end of the file, or -1 with one line
// of explanation naming the file and line in error (a NUL byte, UTF-16 text, a line longer than
// kTextLineMax, a read error). text stays valid until the next call.
int text_lines_next(TextLines& lines, std::string& text, std::string& error);

// Gives back the line just read: the next call returns it again (one line at most).
void text_lines_unread(TextLines& lines, const std::string& text);

// "FILE line N" for the line returned last.
std::string text_lines_where(const TextLines& lines);

// Closes the file; the record can be opened again.
void text_lines_close(TextLines& lines);
