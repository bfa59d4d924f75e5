// Modal message boxes owned by the frame, and the layer's internal-error reports.
// Any thread; the box is shown on the interface thread and the caller waits.
#pragma once

// Shows text in a box titled title. style: buttons in the low four bits
// (0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No,
// 5 Retry/Cancel), icon 0x10 error, 0x20 question, 0x30 warning,
// 0x40 information, default button 0x100 second, 0x200 third. Result: the
// button chosen (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
int message_box(const char* text, const char* title, int style);

// Styles of message_box, to be combined with |.
constexpr int kBoxOk = 0;                // one OK button
constexpr int kBoxYesNo = 4;             // Yes and No buttons
constexpr int kBoxIconError = 0x10;      // the error icon
constexpr int kBoxIconQuestion = 0x20;   // the question icon
constexpr int kBoxIconWarning = 0x30;    // the warning icon
constexpr int kBoxIconInfo = 0x40;       // the information icon
constexpr int kBoxDefaultSecond = 0x100; // the second button is the default

// Kinds of internal error.
enum InternalErrorKind { kInternalWarning = 0, kInternalError = 1, kInternalFatal = 2 };

// Reports an internal error of the window layer: code 4 "Out of Memory",
// 5 "Internal Error - unexpected error", 6 "Possible internal inconsistency",
// with the source file and line. A fatal error ends the program (never returns).
void report_internal_error(int kind, int code, const char* file, int line);

// The text such a report shows (tests); returns its length.
int internal_error_text(int kind, int code, const char* file, int line, char* buf, int size);
