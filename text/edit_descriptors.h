// The output edit descriptors Fw.d, Ew.d and Gw.d: one real into a field of exactly w characters.
// Pure functions: any thread may call them.
#pragma once

// Widest field an edit descriptor accepts here.
constexpr int kMaxFieldWidth = 100;

// Each writes exactly `width` characters into `field` (not terminated) and
// returns true, or returns false without writing when width or digits are out
// of range (width 1..kMaxFieldWidth, digits 0..width, and digits >= 1 for E and
// G editing). A value that does not fit is a field of asterisks; negative
// values carry a minus sign, positive ones no sign; a zero before the point of
// a value below one appears only when the field has room for it. Infinities
// and NaN are written as "Infinity" (or "Inf" where that does not fit) and
// "NaN", right-justified, a minus sign before a negative infinity.

// Fw.d: fixed point, `digits` places after the point.
bool edit_f(char* field, int width, int digits, double value);

// Ew.d: 0.ddddddd and an exponent E+nn, or +nnn (without the E) beyond 99.
// With exponent_digits e > 0 it is Ew.dEe: always E, a sign and e digits, and
// asterisks when the exponent needs more (e at most 3; a double needs no more).
bool edit_e(char* field, int width, int digits, double value, int exponent_digits = 0);

// Gw.d: F editing in the first w-4 characters followed by 4 blanks when the
// value rounded to d significant digits lies in [0.1, 10^d) or is zero (zero
// uses d-1 places), otherwise E editing of the whole field. Gw.dEe: the same
// with e+2 blanks after the F form and Ew.dEe.
bool edit_g(char* field, int width, int digits, double value, int exponent_digits = 0);
