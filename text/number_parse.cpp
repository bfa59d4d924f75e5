// List-directed reading of one real or one integer from a text.
#include "text/number_parse.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}
bool is_separator(char c) {
    return is_blank(c) || c == ',' || c == '/';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// The constant of the first list item: begin/end of its text, or none for a
// null value.
struct ListItemText {
    const char* begin; // first character of the constant
    const char* end;   // one past its last character
    bool null_value;   // the item is null: the target keeps its value
};

// Finds the first item of the record; returns a parse status.
int first_item(const char* text, int length, ListItemText& item) {
    item = ListItemText{nullptr, nullptr, true};
    if (!text || length <= 0) return kParseEndOfRecord;
    int n = 0;
    while (n < length && text[n] != '\0')
        ++n;
    int i = 0;
    while (i < n && is_blank(text[i]))
        ++i;
    if (i == n) return kParseEndOfRecord;
    if (text[i] == ',' || text[i] == '/') return kParseOk;
    int start = i;
    while (i < n && !is_separator(text[i]))
        ++i;
    const char* begin = text + start;
    const char* end = text + i;
    for (const char* p = begin; p != end; ++p) {
        if (*p != '*') continue;
        // Repeat count: unsigned, non-zero.
        bool non_zero = false;
        for (const char* q = begin; q != p; ++q) {
            if (!is_digit(*q)) return kParseBadValue;
            non_zero = non_zero || *q != '0';
        }
        if (!non_zero) return kParseBadValue;
        begin = p + 1;
        if (begin == end) return kParseOk; // r* : r null values
        break;
    }
    item = ListItemText{begin, end, false};
    return kParseOk;
}

// Adds a decimal digit to a magnitude that saturates far beyond any exponent
// a double can use, so no digit string can overflow it.
void accumulate(std::int64_t& magnitude, char digit) {
    constexpr std::int64_t kSaturated = 1000000000;
    if (magnitude < kSaturated) magnitude = magnitude * 10 + (digit - '0');
}

int read_real(const char* p, const char* end, double& value) {
    // The constant is checked and rewritten in the form the standard library
    // reads (no plus sign, E for D); its decimal exponent is found on the way,
    // so that a value out of range can be told too large or too small.
    std::string clean;
    clean.reserve(static_cast<size_t>(end - p) + 1);
    if (p != end && (*p == '+' || *p == '-')) {
        if (*p == '-') clean.push_back('-');
        ++p;
    }
    int mantissa_digits = 0;
    bool seen_non_zero = false;
    std::int64_t integer_places = 0; // significant digits before the point
    std::int64_t leading_zeros = 0;  // zeros after the point before the first non-zero digit
    for (; p != end && is_digit(*p); ++p, ++mantissa_digits) {
        clean.push_back(*p);
        seen_non_zero = seen_non_zero || *p != '0';
        if (seen_non_zero && integer_places < 1000000000) ++integer_places;
    }
    if (p != end && *p == '.') {
        clean.push_back('.');
        for (++p; p != end && is_digit(*p); ++p, ++mantissa_digits) {
            clean.push_back(*p);
            if (!seen_non_zero && *p == '0' && leading_zeros < 1000000000) ++leading_zeros;
            seen_non_zero = seen_non_zero || *p != '0';
        }
    }
    if (mantissa_digits == 0) return kParseBadValue;
    std::int64_t exponent = 0;
    bool exponent_negative = false;
    if (p != end) {
        if (*p != 'E' && *p != 'e' && *p != 'D' && *p != 'd') return kParseBadValue;
        clean.push_back('e');
        ++p;
        if (p != end && (*p == '+' || *p == '-')) {
            exponent_negative = *p == '-';
            clean.push_back(*p);
            ++p;
        }
        if (p == end) return kParseBadValue;
        for (; p != end; ++p) {
            if (!is_digit(*p)) return kParseBadValue;
            clean.push_back(*p);
            accumulate(exponent, *p);
        }
    }
    double result = 0;
    auto [ptr, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), result,
                                     std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (!seen_non_zero) return kParseBadValue; // cannot happen: zero is in range
        // value = 0.d... x 10^place: positive place means too large.
        std::int64_t place = (integer_places > 0 ? integer_places : -leading_zeros) +
                             (exponent_negative ? -exponent : exponent);
        if (place > 0) return kParseOutOfRange;
        result = clean[0] == '-' ? -0.0 : 0.0;
    } else if (ec != std::errc() || ptr != clean.data() + clean.size()) {
        return kParseBadValue;
    }
    value = result;
    return kParseOk;
}

int read_int(const char* p, const char* end, int& value) {
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    if (p == end) return kParseBadValue;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    bool too_large = false;
    for (; p != end; ++p) {
        if (!is_digit(*p)) return kParseBadValue;
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) {
            too_large = true;
            magnitude = limit; // keeps the product bounded; the remaining digits are still checked
        }
    }
    if (too_large) return kParseOutOfRange;
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return kParseOk;
}

} // namespace

int parse_real(const char* text, int length, double& value) {
    ListItemText item;
    int status = first_item(text, length, item);
    if (status != kParseOk || item.null_value) return status;
    return read_real(item.begin, item.end, value);
}

int parse_int(const char* text, int length, int& value) {
    ListItemText item;
    int status = first_item(text, length, item);
    if (status != kParseOk || item.null_value) return status;
    return read_int(item.begin, item.end, value);
}
