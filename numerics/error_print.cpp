// Printing of the pending message: header, line breaking, "%/" line ends and the traceback.
#include "numerics/error_state.h"

#include "numerics/machine_constants.h"
#include "text/output_unit.h"

#include <cstdio>
#include <cstring>

namespace {

// Widest first line: " *** " + 8 + " ERROR" + header (at most 53) + message part (at most 59).
constexpr int kLineCapacity = 160;
// Characters of message on a continuation line.
constexpr int kContinuationWidth = 64;
// The first line holds at most kFirstLineBudget - e - h characters of message.
constexpr int kFirstLineBudget = 59;

// A line being assembled; never overflows (appends are cut at the capacity).
struct Line {
    char text[kLineCapacity]; // the characters so far
    int length;               // characters in use
};

void append(Line& line, const char* from, int count) {
    if (count > kLineCapacity - line.length) count = kLineCapacity - line.length;
    if (count <= 0) return;
    std::memcpy(line.text + line.length, from, static_cast<size_t>(count));
    line.length += count;
}

void append(Line& line, const char* text) {
    append(line, text, static_cast<int>(std::strlen(text)));
}

// Copies a stacked name, raising its first letter when it is lower case before an upper-case
// letter ("dTWODQ" reads "DTWODQ"). Stops at the first blank when `to_blank`, else copies all 32.
int display_name(const ErrorLevel& level, bool to_blank, char (&out)[kErrorNameLength]) {
    int n = 0;
    while (n < kErrorNameLength && !(to_blank && level.name[n] == ' ')) {
        out[n] = level.name[n];
        ++n;
    }
    if (n >= 2 && out[0] >= 'a' && out[0] <= 'z' && out[1] >= 'A' && out[1] <= 'Z')
        out[0] = static_cast<char>(out[0] - 'a' + 'A');
    return n;
}

// Index of the first "%/" at or after `from` and before `limit`, or -1.
int find_break(const char* text, int length, int from, int limit) {
    for (int i = from; i < limit && i + 1 < length; ++i)
        if (text[i] == '%' && text[i + 1] == '/') return i;
    return -1;
}

// Index of the last blank in [from, limit), or -1.
int last_blank(const char* text, int from, int limit) {
    for (int i = limit - 1; i >= from; --i)
        if (text[i] == ' ') return i;
    return -1;
}

void print_traceback(const ErrorState& s, int unit) {
    static const char* const head[3] = {
        "     Here is a traceback of subprogram calls in reverse order:",
        "     Routine name                    Error type  Error code",
        "     ------------                    ----------  ----------"};
    for (const char* text : head)
        emit_line(unit, text, static_cast<int>(std::strlen(text)));
    for (int k = s.level; k >= 1; --k) {
        const ErrorLevel& level = s.levels[k];
        char name[kErrorNameLength];
        display_name(level, false, name);
        Line line{};
        append(line, "     ");
        append(line, name, kErrorNameLength);
        char numbers[48];
        std::snprintf(numbers, sizeof numbers, "%6d      %6d", level.type, level.code);
        append(line, numbers);
        if (k >= 2 && !s.levels[k - 1].user) append(line, "    (Called internally)");
        emit_line(unit, line.text, line.length);
    }
}

} // namespace

void print_message() {
    ErrorState& s = error_state();
    if (s.message_length == 0) return;
    const ErrorLevel& level = s.levels[s.level];
    const char* msg = s.message;
    const int len = s.message_length;
    int unit = 0;
    UMACH(3, unit);

    // Header: " <code> from <name>" and ".  " unless the message brings its own.
    Line header{};
    char code[16];
    std::snprintf(code, sizeof code, " %d from ", level.code);
    append(header, code);
    char name[kErrorNameLength];
    append(header, name, display_name(level, true, name));
    int e = 0;
    if (!(len >= 3 && std::memcmp(msg, ".  ", 3) == 0)) {
        append(header, ".  ");
        e = 3;
    }
    const int h = header.length;
    int r = kFirstLineBudget - e - h;
    if (r < 0) r = 0;

    // First line and where the rest starts.
    int part = len;     // characters of message on the first line
    int rest = len;     // index where the continuation starts
    bool broke = false; // the line just written ended at "%/"
    const int mark = find_break(msg, len, 0, len);
    if (mark >= 0 && mark + 1 < r) {
        part = mark;
        rest = mark + 2;
        broke = true;
    } else if (len > r) {
        const int blank = last_blank(msg, 0, r);
        part = blank >= 0 ? blank : r;
        rest = part; // a blank cut leaves the blank as the leading blank of the next line
    }
    Line line{};
    append(line, " *** ");
    append(line, error_type_name(level.type));
    append(line, " ERROR");
    append(line, header.text, header.length);
    append(line, msg, part);
    emit_line(unit, "", 0);
    emit_line(unit, line.text, line.length);

    // Continuation lines of at most 64 characters.
    int at = rest;
    while (at < len) {
        if (msg[at] == ' ' && !broke) {
            ++at;
            if (at >= len) break;
        }
        const int window = at + kContinuationWidth < len ? at + kContinuationWidth : len;
        int end;  // end of the characters printed
        int next; // where the following line starts
        broke = false;
        const int brk = find_break(msg, len, at, window);
        if (brk >= 0) {
            end = brk;
            next = brk + 2;
            broke = true;
        } else if (len - at <= kContinuationWidth) {
            end = next = len;
        } else {
            const int blank = last_blank(msg, at, window);
            end = next = blank >= 0 ? blank + 1 : window; // the blank stays on this line
        }
        Line more{};
        append(more, " ***          ");
        append(more, msg + at, end - at);
        emit_line(unit, more.text, more.length);
        at = next;
    }

    s.message_length = 0;
    clear_placeholders(s);
    const int type = level.type;
    if (type >= 1 && type <= 7 && s.traceback[type] && s.level > 2) print_traceback(s, unit);
}
