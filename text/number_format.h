// Numbers into fixed-length text buffers by the edit formats the program uses.
// Pure functions over the caller's buffer: any thread may call them.
//
// The formats understood are "(g14.7)", "(a,g14.7)", "(a,G13.7)", "(F8.2)" and, by
// format_label_pairs, "(2(a,G13.7))"; more generally "([a,]Xw.d)" with X one of
// F, E, G in either case (blanks inside the format text are ignored).
// A buffer is `length` characters, not terminated: the conversion writes from
// its first character and blanks whatever it does not fill.
#pragma once

#include <string_view>

// Conversion statuses; 0 is success.
constexpr int kFormatOk = 0;
// The format text is not one of the forms above: the buffer is all blanks.
constexpr int kFormatUnknown = 1;
// The record is longer than the buffer: the buffer holds its first `length`
// characters (an internal write never runs past its buffer).
constexpr int kFormatRecordTooLong = 2;
// Null buffer or negative length: nothing is written.
constexpr int kFormatBadBuffer = 3;

// One real by a format with one numeric descriptor, e.g. "(g14.7)" or "(F8.2)".
int format_real(char* buffer, int length, std::string_view format, double value);

// A label copied unchanged, then the number at once, by "(a,g14.7)" or "(a,G13.7)".
int format_label_real(char* buffer, int length, std::string_view format, std::string_view label,
                      double value);

// "(2(a,G13.7))": label1, value1 in G13.7, label2, value2 in G13.7, nothing between.
int format_label_pairs(char* buffer, int length, std::string_view label1, double value1,
                       std::string_view label2, double value2);
