// Format strings such as "(a,g14.7)" applied to fixed-length text buffers.
#include "text/number_format.h"

#include "text/edit_descriptors.h"

#include <cstring>

namespace {

// One numeric edit descriptor, optionally preceded by a character item.
struct EditFormat {
    bool has_label; // the format starts with "a,"
    char kind;      // 'F', 'E' or 'G'
    int width;      // field width w
    int digits;     // d: decimals (F) or significant digits (E, G)
};

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Reads an unsigned decimal number of at most three digits at text[i].
bool read_count(const char* text, int n, int& i, int& value) {
    int start = i;
    value = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9' && i - start < 3)
        value = value * 10 + (text[i++] - '0');
    return i > start && !(i < n && text[i] >= '0' && text[i] <= '9');
}

// "([a,]Xw.d)" with blanks ignored and letters in either case.
bool parse_format(std::string_view format, EditFormat& out) {
    char text[64];
    int n = 0;
    for (char c : format) {
        if (c == ' ') continue;
        if (n == static_cast<int>(sizeof text)) return false;
        text[n++] = upper(c);
    }
    int i = 0;
    if (i >= n || text[i++] != '(') return false;
    out.has_label = false;
    if (i + 1 < n && text[i] == 'A' && text[i + 1] == ',') {
        out.has_label = true;
        i += 2;
    }
    if (i >= n) return false;
    out.kind = text[i++];
    if (out.kind != 'F' && out.kind != 'E' && out.kind != 'G') return false;
    if (!read_count(text, n, i, out.width)) return false;
    if (i >= n || text[i++] != '.') return false;
    if (!read_count(text, n, i, out.digits)) return false;
    return i + 1 == n && text[i] == ')';
}

bool edit(const EditFormat& f, char* field, double value) {
    switch (f.kind) {
    case 'F':
        return edit_f(field, f.width, f.digits, value);
    case 'E':
        return edit_e(field, f.width, f.digits, value);
    default:
        return edit_g(field, f.width, f.digits, value);
    }
}

// Writes a record into the caller's buffer and blank-pads the rest.
struct Record {
    char* buffer;  // the caller's buffer
    int length;    // its declared length
    int position;  // characters written so far
    bool too_long; // something did not fit
};

void put(Record& r, std::string_view text) {
    const char* chars = text.data();
    size_t n = text.size();
    size_t room = static_cast<size_t>(r.length - r.position);
    if (n > room) {
        r.too_long = true;
        n = room;
    }
    if (n > 0) std::memcpy(r.buffer + r.position, chars, n);
    r.position += static_cast<int>(n);
}

int finish(Record& r) {
    if (r.position < r.length)
        std::memset(r.buffer + r.position, ' ', static_cast<size_t>(r.length - r.position));
    return r.too_long ? kFormatRecordTooLong : kFormatOk;
}

int write_items(char* buffer, int length, const EditFormat& f, std::string_view label,
                double value) {
    char field[kMaxFieldWidth];
    if (!edit(f, field, value)) {
        std::memset(buffer, ' ', static_cast<size_t>(length));
        return kFormatUnknown;
    }
    Record r{buffer, length, 0, false};
    if (f.has_label) put(r, label);
    put(r, std::string_view(field, static_cast<size_t>(f.width)));
    return finish(r);
}

int refuse_format(char* buffer, int length) {
    std::memset(buffer, ' ', static_cast<size_t>(length));
    return kFormatUnknown;
}

} // namespace

int format_real(char* buffer, int length, std::string_view format, double value) {
    if (!buffer || length < 0) return kFormatBadBuffer;
    EditFormat f;
    if (!parse_format(format, f) || f.has_label) return refuse_format(buffer, length);
    return write_items(buffer, length, f, std::string_view(), value);
}

int format_label_real(char* buffer, int length, std::string_view format, std::string_view label,
                      double value) {
    if (!buffer || length < 0) return kFormatBadBuffer;
    EditFormat f;
    if (!parse_format(format, f) || !f.has_label) return refuse_format(buffer, length);
    return write_items(buffer, length, f, label, value);
}

int format_label_pairs(char* buffer, int length, std::string_view label1, double value1,
                       std::string_view label2, double value2) {
    if (!buffer || length < 0) return kFormatBadBuffer;
    constexpr int kWidth = 13;
    constexpr int kDigits = 7;
    char field[kWidth];
    Record r{buffer, length, 0, false};
    put(r, label1);
    edit_g(field, kWidth, kDigits, value1);
    put(r, std::string_view(field, kWidth));
    put(r, label2);
    edit_g(field, kWidth, kDigits, value2);
    put(r, std::string_view(field, kWidth));
    return finish(r);
}
