// Recording of messages: the placeholder store and the expansion of templates by E1MES.
#include "numerics/error_state.h"

#include "text/output_unit.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Letters that may name a placeholder in a template; only I, D and L can be set.
const char PLACEHOLDER_LETTERS[] = "ACDIKLRSZ";

// Appends an entry; an entry that does not fit in the remaining store is dropped whole.
void add_placeholder(char letter, int n, const char* value, int length) {
    ErrorState& s = error_state();
    if (length < 0) length = 0;
    if (s.store_length + kPlaceholderEntryOverhead + length > kPlaceholderStoreCapacity) return;
    char* entry = s.store + s.store_length;
    entry[0] = letter;
    entry[1] = static_cast<char>('0' + n);
    entry[2] = static_cast<char>('0' + length / 100);
    entry[3] = static_cast<char>('0' + length / 10 % 10);
    entry[4] = static_cast<char>('0' + length % 10);
    std::memcpy(entry + kPlaceholderEntryOverhead, value, static_cast<size_t>(length));
    s.store_length += kPlaceholderEntryOverhead + length;
}

// Finds the first entry with key letter+digit; returns its value and length, or null.
const char* find_placeholder(const ErrorState& s, char letter, char digit, int& length) {
    int at = 0;
    while (at + kPlaceholderEntryOverhead <= s.store_length) {
        const char* entry = s.store + at;
        const int n = (entry[2] - '0') * 100 + (entry[3] - '0') * 10 + (entry[4] - '0');
        if (entry[0] == letter && entry[1] == digit) {
            length = n;
            return entry + kPlaceholderEntryOverhead;
        }
        at += kPlaceholderEntryOverhead + n;
    }
    return nullptr;
}

// Expands TEXT (its first 1024 characters) into the message buffer, cut at 1024 characters.
void expand_template(ErrorState& s, const char* text, int n) {
    int out = 0;
    auto put = [&](const char* from, int count) {
        if (count > kErrorMessageCapacity - out) count = kErrorMessageCapacity - out;
        if (count <= 0) return;
        std::memcpy(s.message + out, from, static_cast<size_t>(count));
        out += count;
    };
    int i = 0;
    while (i < n) {
        if (text[i] == '%' && i + 4 < n && text[i + 1] == '(' && text[i + 2] != '\0' &&
            std::strchr(PLACEHOLDER_LETTERS, text[i + 2]) && text[i + 3] >= '0' &&
            text[i + 3] <= '9' && text[i + 4] == ')') {
            int length = 0;
            if (const char* value = find_placeholder(s, text[i + 2], text[i + 3], length)) {
                put(value, length);
                i += 5;
                continue;
            }
        }
        put(text + i, 1);
        ++i;
    }
    s.message_length = out;
}

// Length of a NUL-terminated text, counting at most `limit` characters.
int bounded_length(const char* text, int limit) {
    int n = 0;
    while (n < limit && text[n] != '\0')
        ++n;
    return n;
}

} // namespace

void E1MES(const int& TYPE, const int& CODE, const char* TEXT) {
    ErrorState& s = error_state();
    ErrorLevel& level = s.levels[s.level];
    if (TYPE != -1) {
        if (TYPE < -1 || TYPE > kErrorFatalNow) {
            set_pending_message(s, ".  Error from E1MES.  Illegal error type specified.");
            print_message();
            stop_run(nullptr);
            clear_placeholders(s);
            return;
        }
        level.type = TYPE;
    }
    if (CODE >= 0) level.code = CODE;
    if (TYPE == kErrorNone || CODE == 0) {
        s.message_length = 0;
        clear_placeholders(s);
        return;
    }
    // Only the first 1024 characters of the template count.
    const int n = TEXT ? bounded_length(TEXT, kErrorMessageCapacity) : 0;
    const bool keep_pending = n == 0 || (n == 1 && TEXT[0] == ' ');
    if (!keep_pending) expand_template(s, TEXT, n);
    if (level.type == kErrorWarningNow) s.type6_seen = true;
    if (level.type == kErrorFatalNow) s.type7_seen = true;
    if (level.type >= kErrorTerminal && s.print[level.type]) print_message();
    clear_placeholders(s);
}

void set_message_int(const int& N, const int& VALUE) {
    if (N < 1 || N > 9) return;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%d", VALUE);
    add_placeholder('I', N, text, length);
}

void set_message_double(const int& N, const double& VALUE) {
    if (N < 1 || N > 9) return;
    char text[32];
    int length;
    if (std::isnan(VALUE))
        length = std::snprintf(text, sizeof text, "NaN");
    else if (std::isinf(VALUE))
        length = std::snprintf(text, sizeof text, VALUE > 0 ? "Infinity" : "-Infinity");
    else
        // One digit before the point, 15 after; zero comes out as 0.000000000000000E+00.
        length = std::snprintf(text, sizeof text, "%.15E", VALUE);
    add_placeholder('D', N, text, length);
}

void set_message_text(const int& N, const char* TEXT, int length) {
    if (N == 0 || N < -9 || N > 9) return;
    if (!TEXT || length < 0) length = 0;
    if (length > kPlaceholderTextMax) length = kPlaceholderTextMax;
    if (N > 0)
        while (length > 0 && TEXT[length - 1] == ' ')
            --length;
    add_placeholder('L', N < 0 ? -N : N, TEXT, length);
}

void set_message_text(const int& N, const char* TEXT) {
    // Only the first 255 characters count, so never read further than that.
    const int length = TEXT ? bounded_length(TEXT, kPlaceholderTextMax) : 0;
    set_message_text(N, TEXT, length);
}
