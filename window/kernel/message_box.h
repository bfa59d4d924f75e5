// Modal message boxes owned by the frame, with their styles.
// Any thread; the box is shown on the interface thread and the caller waits.
#pragma once

// Shows text in a box titled title. style: buttons in the low four bits
// (0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No,
// 5 Retry/Cancel), icon 0x10 error, 0x20 question, 0x30 warning,
// 0x40 information, default button 0x100 second, 0x200 third. Result: the
// button chosen (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
int message_box(const char* text, const char* title, int style);

// A question with the buttons of kBoxYesNoCancel under other names: yes_label answers kAnswerYes,
// no_label kAnswerNo, "Cancel" (and closing the box) kAnswerCancel; yes_label is the default. An
// installed answer routine gets the style kBoxYesNoCancel | kBoxIconQuestion.
int ask_question(const char* text, const char* title, const char* yes_label, const char* no_label);

// Styles of message_box, to be combined with |.
constexpr int kBoxOk = 0;                // one OK button
constexpr int kBoxYesNoCancel = 3;       // Yes, No and Cancel buttons
constexpr int kBoxYesNo = 4;             // Yes and No buttons
constexpr int kBoxIconError = 0x10;      // the error icon
constexpr int kBoxIconQuestion = 0x20;   // the question icon
constexpr int kBoxIconWarning = 0x30;    // the warning icon
constexpr int kBoxIconInfo = 0x40;       // the information icon
constexpr int kBoxDefaultSecond = 0x100; // the second button is the default

// Buttons message_box answers with.
constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// Answers message boxes (and the end prompt) without showing them: answer
// gets the text, the title and the style and returns the button id (1 OK,
// 2 Cancel, 6 Yes, 7 No, ...). Null shows them again.
using MessageBoxAnswer = int (*)(const char* text, const char* title, int style);
void set_message_box_answer(MessageBoxAnswer answer);
