// The program's entry: the window layer runs the frame and the application's main routine.
#include "app/main_routine.h"
#include "window/kernel/window_program.h"

int main(int argc, char** argv) {
    return run_window_program(argc, argv, app_main_routine);
}
