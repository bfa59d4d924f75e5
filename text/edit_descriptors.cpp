// The F, E and G output edit descriptors on one real.
#include "text/edit_descriptors.h"

#include "text/decimal_rounding.h"

#include <cmath>
#include <cstring>

namespace {

// The longest text any descriptor builds before it is placed in its field.
constexpr int kScratch = kMaxFieldWidth + 8;

void fill(char* field, int width, char c) {
    std::memset(field, c, static_cast<size_t>(width));
}

// Places `text` right-justified in the field, or asterisks when it is too long.
void place_right(char* field, int width, const char* text, int length) {
    if (length > width) {
        fill(field, width, '*');
        return;
    }
    fill(field, width, ' ');
    std::memcpy(field + width - length, text, static_cast<size_t>(length));
}

void edit_non_finite(char* field, int width, double value) {
    if (std::isnan(value)) {
        place_right(field, width, "NaN", 3);
        return;
    }
    const char* text = value < 0 ? "-Infinity" : "Infinity";
    int length = static_cast<int>(std::strlen(text));
    if (length > width) {
        text = value < 0 ? "-Inf" : "Inf";
        length = static_cast<int>(std::strlen(text));
    }
    place_right(field, width, text, length);
}

// The sign, an optional zero, the point and the rest: `body` is everything
// after the point. The zero before the point is kept when the field has room.
void place_with_optional_zero(char* field, int width, bool negative, const char* before_point,
                              int before_length, const char* body, int body_length) {
    char text[kScratch + kMaxDecimalDigits];
    int n = 0;
    if (negative) text[n++] = '-';
    int needed = n + before_length + 1 + body_length;
    if (before_length == 0 && needed + 1 <= width) {
        text[n++] = '0';
    }
    if (needed > width) {
        fill(field, width, '*');
        return;
    }
    std::memcpy(text + n, before_point, static_cast<size_t>(before_length));
    n += before_length;
    text[n++] = '.';
    std::memcpy(text + n, body, static_cast<size_t>(body_length));
    n += body_length;
    place_right(field, width, text, n);
}

bool valid(int width, int digits, int least_digits) {
    return width >= 1 && width <= kMaxFieldWidth && digits >= least_digits && digits <= width;
}

} // namespace

bool edit_f(char* field, int width, int digits, double value) {
    if (!valid(width, digits, 0)) return false;
    if (!std::isfinite(value)) {
        edit_non_finite(field, width, value);
        return true;
    }
    DecimalDigits r;
    if (!round_decimals(value, digits, r)) {
        // More digits than any field holds.
        fill(field, width, '*');
        return true;
    }
    // count = exponent + digits (or 0): the integer part is the first
    // `exponent` digits, the fraction the next `digits` places.
    char before[kMaxDecimalDigits];
    char after[kMaxDecimalDigits];
    int before_length = r.exponent > 0 ? r.exponent : 0;
    for (int i = 0; i < before_length; ++i)
        before[i] = r.digits[i];
    for (int j = 0; j < digits; ++j) {
        int place = r.exponent + j; // index into r.digits of the (j+1)-th decimal
        after[j] = (r.count > 0 && place >= 0 && place < r.count) ? r.digits[place] : '0';
    }
    place_with_optional_zero(field, width, value < 0, before, before_length, after, digits);
    return true;
}

bool edit_e(char* field, int width, int digits, double value, int exponent_digits) {
    if (!valid(width, digits, 1) || exponent_digits < 0 || exponent_digits > 3) return false;
    if (!std::isfinite(value)) {
        edit_non_finite(field, width, value);
        return true;
    }
    DecimalDigits r;
    round_significant(value, digits, r);
    char body[kScratch + kMaxDecimalDigits];
    int n = 0;
    for (int i = 0; i < digits; ++i)
        body[n++] = i < r.count ? r.digits[i] : '0';
    int exponent = r.count > 0 ? r.exponent : 0;
    int magnitude = exponent < 0 ? -exponent : exponent;
    // Ew.d: two exponent digits after E; three without the letter beyond 99 (a
    // double never needs four). Ew.dEe: E and exactly e digits.
    int shown = exponent_digits > 0 ? exponent_digits : (magnitude > 99 ? 3 : 2);
    int limit = shown == 1 ? 9 : (shown == 2 ? 99 : 999);
    if (magnitude > limit) {
        fill(field, width, '*');
        return true;
    }
    if (exponent_digits > 0 || magnitude <= 99) body[n++] = 'E';
    body[n++] = exponent < 0 ? '-' : '+';
    for (int place = shown - 1, scale = 1; place >= 0; --place) {
        body[n + place] = static_cast<char>('0' + magnitude / scale % 10);
        scale *= 10;
    }
    n += shown;
    place_with_optional_zero(field, width, value < 0, "", 0, body, n);
    return true;
}

bool edit_g(char* field, int width, int digits, double value, int exponent_digits) {
    if (!valid(width, digits, 1) || exponent_digits < 0 || exponent_digits > 3) return false;
    if (!std::isfinite(value)) {
        edit_non_finite(field, width, value);
        return true;
    }
    // The blanks stand where the exponent of the E form would be.
    const int kTrailingBlanks = exponent_digits > 0 ? exponent_digits + 2 : 4;
    int f_width = width - kTrailingBlanks;
    int f_digits = -1;
    if (value == 0) {
        f_digits = digits - 1;
    } else {
        DecimalDigits r;
        round_significant(value, digits, r);
        // exponent = number of digits before the point after rounding: 0 for
        // [0.1, 1), ..., d for [10^(d-1), 10^d).
        if (r.exponent >= 0 && r.exponent <= digits) f_digits = digits - r.exponent;
    }
    if (f_digits < 0) return edit_e(field, width, digits, value, exponent_digits);
    if (f_width < 1 || f_digits > f_width) {
        // No room for the fixed form at all.
        fill(field, width, '*');
        return true;
    }
    edit_f(field, f_width, f_digits, value);
    fill(field + f_width, kTrailingBlanks, ' ');
    return true;
}
