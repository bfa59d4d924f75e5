// How the process ends (Exit, frame close, "Yes" at the end prompt). Any thread.
#pragma once

// Ends the process through the installed routine.
void end_process(int code);

// Replaces how the process ends. Null restores the default, which ends the
// process at once with the code, whatever the program thread is doing.
using ProcessEnd = void (*)(int code);
void set_process_end(ProcessEnd end);
