// Typed numbers read from text by the list-directed input rules.
// Pure functions: any thread may call them.
//
// One value is read from the first `length` characters of a text (or up to a
// NUL character, whichever comes first):
// - blanks (and tabs) before the value are skipped; a blank or empty text is
//   the end of the record and fails;
// - the value ends at a blank, a comma, a slash or the end of the text;
//   nothing after that separator is looked at;
// - r*c repeats the constant c r times (r a non-zero unsigned count): c is read;
// - a comma or a slash before any value, or r* without a constant, is a null
//   value: the read succeeds and the target keeps the value it had;
// - a real is an optional sign, digits with or without a decimal point, and an
//   optional exponent: E or D (either case), an optional sign, digits;
// - an integer is an optional sign and digits, and must fit 32 bits.
// Anything else fails: letters (NaN, Inf, a dangling exponent letter), a sign
// exponent without E or D (1.0+5), a second point, a semicolon, a quote.
// On failure the target is not written either.
#pragma once

// Statuses; 0 is success, callers need only test for zero.
constexpr int kParseOk = 0;
constexpr int kParseEndOfRecord = -1; // nothing but blanks
constexpr int kParseBadValue = 1;     // the text is not a constant of the type
constexpr int kParseOutOfRange = 2;   // a real beyond the largest double, an integer beyond 32 bits

// A real too small for a double reads as zero of its sign (or the nearest
// subnormal); one too large (1e999) fails with kParseOutOfRange.
int parse_real(const char* text, int length, double& value);

int parse_int(const char* text, int length, int& value);
