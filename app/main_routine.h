// The application's main routine: start-up values, menus, About text, instructions, then an endless
// wait. Runs on the program thread that the window layer starts; it never returns.
#pragma once

// The whole main routine: program_seams, program_startup, then wait_forever.
[[noreturn]] void app_main_routine();

// Connects the program's routines to the seams of the model and of the standard output unit:
// the standard output to the default text window, the start of a construction to greying
// "Settings...", each leg of an Execute to draw_new_points_under_marker and its end to
// finish_execute.
void connect_program_seams();

// Steps 1 to 7 of the start-up: Hc and Kmax, the frame maximised, the File and State menus,
// the About text, the standard text window maximised and the instructions written.
void program_startup();

// Waits without end and without using a processor; callbacks go on running on the interface
// thread meanwhile.
[[noreturn]] void wait_forever();
