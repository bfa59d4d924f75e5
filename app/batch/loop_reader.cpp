// Streaming reader of "H,B" loop files with a check of every number.
#include "app/batch/loop_reader.h"

#include <sys/stat.h>

#include <cstring>

#include "measure/number_cells.h"

namespace {

// "FILE line N", for messages; built only when one is needed, so reading allocates nothing.
std::string line_name(const LoopReader& reader) {
    return reader.path + " line " + std::to_string(reader.line);
}

// Size and modification time of the open file.
bool file_stamp(const LoopReader& reader, int64_t& size, int64_t& modified_ns) {
    struct stat st {};
    if (!reader.lines.file || fstat(fileno(reader.lines.file), &st) != 0) return false;
    size = static_cast<int64_t>(st.st_size);
    modified_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

} // namespace

bool loop_reader_open(LoopReader& reader, const std::string& path, std::string& error) {
    loop_reader_close(reader);
    reader.path = path;
    reader.line = 0;
    reader.points = 0;
    reader.header_allowed = true;
    reader.kept.clear();
    reader.replaying = false;
    reader.replayed = 0;
    if (!text_lines_open(reader.lines, path, error)) return false;
    reader.keep = !reader.lines.regular;
    file_stamp(reader, reader.size, reader.modified_ns);
    return true;
}

int loop_reader_next(LoopReader& reader, double& H, double& B, std::string& error) {
    if (reader.replaying) {
        if (reader.replayed * 2 >= reader.kept.size()) return 0;
        H = reader.kept[2 * reader.replayed];
        B = reader.kept[2 * reader.replayed + 1];
        ++reader.replayed;
        ++reader.points;
        return 1;
    }
    if (!reader.lines.file) {
        error = "no loop file is open";
        return -1;
    }
    for (;;) {
        const int got = text_lines_next(reader.lines, reader.text, error);
        reader.line = reader.lines.line;
        if (got <= 0) return got;
        if (reader.text.size() > static_cast<size_t>(kLoopLineMax)) {
            error =
                line_name(reader) + ": longer than " + std::to_string(kLoopLineMax) + " characters";
            return -1;
        }
        const std::string_view t = trim_blanks(reader.text);
        if (t.empty() || t[0] == '#') continue;

        const size_t comma = t.find(',');
        if (comma == std::string_view::npos) {
            error = line_name(reader) + ": expected two numbers H,B";
            return -1;
        }
        if (t.find(',', comma + 1) != std::string_view::npos) {
            error = line_name(reader) + ": more than two columns";
            return -1;
        }
        double h = 0.0, b = 0.0;
        const int hs = read_number(t.substr(0, comma), h);
        const int bs = read_number(t.substr(comma + 1), b);
        if (hs == kNumberText && bs == kNumberText && reader.header_allowed) {
            // The column names of the first line.
            reader.header_allowed = false;
            continue;
        }
        reader.header_allowed = false;
        if (hs == kNumberNotFinite || bs == kNumberNotFinite) {
            error = line_name(reader) + ": not a finite number";
            return -1;
        }
        if (hs != kNumberOk || bs != kNumberOk) {
            error = line_name(reader) + ": text where a number belongs";
            return -1;
        }
        H = h;
        B = b;
        ++reader.points;
        if (reader.keep) {
            reader.kept.push_back(h);
            reader.kept.push_back(b);
        }
        return 1;
    }
}

bool loop_reader_unchanged(const LoopReader& reader) {
    if (reader.keep) return true;
    int64_t size = 0, modified = 0;
    return file_stamp(reader, size, modified) && size == reader.size &&
           modified == reader.modified_ns;
}

bool loop_reader_rewind(LoopReader& reader, std::string& error) {
    reader.points = 0;
    reader.line = 0;
    reader.header_allowed = true;
    if (reader.keep) {
        reader.replaying = true;
        reader.replayed = 0;
        return true;
    }
    if (!loop_reader_unchanged(reader)) {
        error = reader.path + ": changed while being read";
        return false;
    }
    std::FILE* file = reader.lines.file;
    reader.lines.file = nullptr;
    const std::string path = reader.lines.path;
    const bool regular = reader.lines.regular;
    const int64_t size = reader.lines.size;
    std::rewind(file);
    reader.lines = TextLines{};
    reader.lines.file = file;
    reader.lines.path = path;
    reader.lines.regular = regular;
    reader.lines.size = size;
    reader.lines.buffer.resize(1 << 16);
    return true;
}

void loop_reader_close(LoopReader& reader) {
    text_lines_close(reader.lines);
}
