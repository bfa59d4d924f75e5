// Exact decimal rounding of a double, the digit source of every edit descriptor.
// Pure functions over a caller's record: any thread may call them.
#pragma once

// Longest digit string a rounding may produce; no field of this system is wider.
constexpr int kMaxDecimalDigits = 120;

// A non-negative decimal number 0.d1 d2 ... dcount x 10^exponent.
// Invariant: digits[0] is not '0' unless count is 0, and count is 0 exactly for zero.
struct DecimalDigits {
    char digits[kMaxDecimalDigits]; // ASCII '0'..'9', most significant first, not terminated
    int count;                      // number of digits held
    int exponent;                   // power of ten of the place just left of digits[0]
};

// Rounds the magnitude of a finite value to `significant` digits (1..kMaxDecimalDigits).
// Ties round away from zero: the decision looks at the exact binary value, so a
// tie is only an exact half, never a double that merely prints like one.
// Returns false for a non-finite value or a digit count out of range.
bool round_significant(double value, int significant, DecimalDigits& out);

// Rounds the magnitude of a finite value to `decimals` places after the point
// (0..kMaxDecimalDigits), ties away from zero. Then count = exponent + decimals,
// or count = 0 when the result is zero. Returns false for a non-finite value, a
// count out of range or a result needing more than kMaxDecimalDigits digits.
bool round_decimals(double value, int decimals, DecimalDigits& out);
