// Streaming reader of "H,B" loop files with a check of every number.
#include "app/batch/loop_reader.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The cell text[from, to) without blanks around it.
void trim(const char* text, size_t& from, size_t& to) {
    while (from < to && is_blank(text[from]))
        ++from;
    while (to > from && is_blank(text[to - 1]))
        --to;
}

// A whole cell as one number, whatever the process's locale; a leading "+" is allowed.
// Answers 1 for a finite number, 0 for text that is not a number, -1 for NaN, an infinity or a
// value beyond the largest double.
int read_cell(const char* text, size_t from, size_t to, double& value) {
    trim(text, from, to);
    if (from < to && text[from] == '+') ++from;
    if (from == to) return 0;
    double v = 0.0;
    const std::from_chars_result r = std::from_chars(text + from, text + to, v);
    if (r.ptr != text + to) return 0;
    if (r.ec == std::errc::result_out_of_range) return -1;
    if (r.ec != std::errc() || !std::isfinite(v)) return -1;
    value = v;
    return 1;
}

// "FILE line N", for messages; built only when one is needed, so reading allocates nothing.
std::string line_name(const LoopReader& reader) {
    return reader.path + " line " + std::to_string(reader.line);
}

} // namespace

bool loop_reader_open(LoopReader& reader, const std::string& path, std::string& error) {
    loop_reader_close(reader);
    reader.path = path;
    reader.line = 0;
    reader.points = 0;
    reader.header_allowed = true;
    reader.file = std::fopen(path.c_str(), "rb");
    if (!reader.file) {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

int loop_reader_next(LoopReader& reader, double& H, double& B, std::string& error) {
    if (!reader.file) {
        error = "no loop file is open";
        return -1;
    }
    for (;;) {
        if (!std::fgets(reader.buffer, sizeof reader.buffer, reader.file)) {
            if (std::ferror(reader.file)) {
                error = "cannot read '" + reader.path + "': read error after line " +
                        std::to_string(reader.line);
                return -1;
            }
            return 0;
        }
        ++reader.line;
        const size_t length = std::strlen(reader.buffer);
        if (length == sizeof reader.buffer - 1 && reader.buffer[length - 1] != '\n' &&
            !std::feof(reader.file)) {
            error =
                line_name(reader) + ": longer than " + std::to_string(kLoopLineMax) + " characters";
            return -1;
        }
        size_t from = 0, to = length;
        trim(reader.buffer, from, to);
        if (from == to || reader.buffer[from] == '#') continue;

        const char* comma =
            static_cast<const char*>(std::memchr(reader.buffer + from, ',', to - from));
        if (!comma) {
            error = line_name(reader) + ": expected two numbers H,B";
            return -1;
        }
        const size_t split = static_cast<size_t>(comma - reader.buffer);
        if (std::memchr(comma + 1, ',', to - split - 1)) {
            error = line_name(reader) + ": more than two columns";
            return -1;
        }
        double h = 0.0, b = 0.0;
        const int hs = read_cell(reader.buffer, from, split, h);
        const int bs = read_cell(reader.buffer, split + 1, to, b);
        if (hs == 0 && bs == 0 && reader.header_allowed) {
            // The column names of the first line.
            reader.header_allowed = false;
            continue;
        }
        reader.header_allowed = false;
        if (hs < 0 || bs < 0) {
            error = line_name(reader) + ": not a finite number";
            return -1;
        }
        if (hs == 0 || bs == 0) {
            error = line_name(reader) + ": text where a number belongs";
            return -1;
        }
        H = h;
        B = b;
        ++reader.points;
        return 1;
    }
}

void loop_reader_close(LoopReader& reader) {
    if (reader.file) std::fclose(reader.file);
    reader.file = nullptr;
}
