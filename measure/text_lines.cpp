// Line reading with bounded memory, line ends of either kind and refusal of binary text.
#include "measure/text_lines.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

// Bytes read from the file at a time.
constexpr size_t kChunk = 1 << 16;

// Refills the buffer, keeping the unread bytes. False at the end of the file or on an error
// (ferror tells).
bool refill(TextLines& lines) {
    if (lines.at_end) return false;
    if (lines.begin > 0) {
        std::memmove(lines.buffer.data(), lines.buffer.data() + lines.begin,
                     lines.end - lines.begin);
        lines.end -= lines.begin;
        lines.begin = 0;
    }
    if (lines.buffer.size() < lines.end + kChunk) lines.buffer.resize(lines.end + kChunk);
    const size_t got = std::fread(lines.buffer.data() + lines.end, 1, kChunk, lines.file);
    lines.end += got;
    if (got < kChunk) lines.at_end = true;
    return got > 0;
}

} // namespace

bool text_lines_open(TextLines& lines, const std::string& path, std::string& error) {
    text_lines_close(lines);
    lines = TextLines{};
    lines.path = path;
    lines.file = std::fopen(path.c_str(), "rb");
    if (!lines.file) {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (fstat(fileno(lines.file), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            error = "cannot read '" + path + "': a folder, not a file";
            text_lines_close(lines);
            return false;
        }
        lines.regular = S_ISREG(st.st_mode);
        lines.size = static_cast<int64_t>(st.st_size);
    }
    lines.buffer.resize(kChunk);
    return true;
}

int text_lines_next(TextLines& lines, std::string& text, std::string& error) {
    if (lines.has_held) {
        lines.has_held = false;
        text.swap(lines.held);
        ++lines.line;
        return 1;
    }
    if (!lines.file) {
        error = "no file is open";
        return -1;
    }
    size_t scanned = lines.begin;
    for (;;) {
        const char* from = lines.buffer.data() + scanned;
        const size_t count = lines.end - scanned;
        const char* nul = static_cast<const char*>(std::memchr(from, '\0', count));
        const char* lf = static_cast<const char*>(std::memchr(from, '\n', count));
        const char* cr = static_cast<const char*>(std::memchr(from, '\r', count));
        const char* stop = lf;
        if (cr && (!stop || cr < stop)) stop = cr;
        if (nul && (!stop || nul < stop)) {
            const bool utf16 = lines.line == 0;
            ++lines.line;
            error = text_lines_where(lines) +
                    (utf16 ? ": not a text file in ASCII, UTF-8 or Latin-1 (UTF-16 or binary)"
                           : ": a NUL byte: not a text file");
            return -1;
        }
        if (stop) {
            const size_t length = static_cast<size_t>(stop - (lines.buffer.data() + lines.begin));
            if (length > kTextLineMax) break;
            text.assign(lines.buffer.data() + lines.begin, length);
            size_t next = static_cast<size_t>(stop - lines.buffer.data()) + 1;
            if (*stop == '\r') {
                // CRLF: the LF may still be unread.
                if (next == lines.end && !lines.at_end) {
                    const size_t keep = next - lines.begin;
                    refill(lines);
                    next = lines.begin + keep;
                    if (std::ferror(lines.file)) {
                        error = "cannot read '" + lines.path + "': read error";
                        return -1;
                    }
                }
                if (next < lines.end && lines.buffer[next] == '\n') ++next;
            }
            lines.begin = next;
            ++lines.line;
            if (lines.line == 1 && text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0)
                text.erase(0, 3);
            if (lines.line == 1 && text.size() >= 2 &&
                (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0)) {
                error = text_lines_where(lines) +
                        ": not a text file in ASCII, UTF-8 or Latin-1 (UTF-16 or binary)";
                return -1;
            }
            return 1;
        }
        if (lines.end - lines.begin > kTextLineMax) break;
        scanned = lines.end;
        const size_t offset = scanned - lines.begin;
        if (!refill(lines)) {
            if (std::ferror(lines.file)) {
                error = "cannot read '" + lines.path + "': read error after line " +
                        std::to_string(lines.line);
                return -1;
            }
            if (lines.end == lines.begin) return 0;
            // The last line has no line end.
            text.assign(lines.buffer.data() + lines.begin, lines.end - lines.begin);
            lines.begin = lines.end;
            ++lines.line;
            if (lines.line == 1 && text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0)
                text.erase(0, 3);
            return 1;
        }
        scanned = lines.begin + offset;
    }
    ++lines.line;
    error =
        text_lines_where(lines) + ": longer than " + std::to_string(kTextLineMax) + " characters";
    return -1;
}

void text_lines_unread(TextLines& lines, const std::string& text) {
    lines.held = text;
    lines.has_held = true;
    --lines.line;
}

std::string text_lines_where(const TextLines& lines) {
    return lines.path + " line " + std::to_string(lines.line);
}

void text_lines_close(TextLines& lines) {
    if (lines.file) std::fclose(lines.file);
    lines.file = nullptr;
}
