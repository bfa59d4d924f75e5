// How the process ends (Exit, frame close, "Yes" at the end prompt), and the question the program
// may ask first when the user ends it. Any thread, except where noted.
#pragma once

// Ends the process through the installed routine.
void end_process(int code);

// Replaces how the process ends. Null restores the default, which ends the
// process at once with the code, whatever the program thread is doing.
using ProcessEnd = void (*)(int code);
void set_process_end(ProcessEnd end);

// Asked before the user's Exit (the menu item, its key) or a close of the frame ends the
// process; true lets it end, false keeps the program (the user cancelled). Runs on the interface
// thread and may show dialogs. Null (the default): the process always ends.
using EndConfirmation = bool (*)();
void set_end_confirmation(EndConfirmation confirm);

// The user asks to end the process: ends it with code 0 unless the installed confirmation answers
// false. Once the program has stopped or finished nothing is asked. Interface thread only.
void request_process_end();
