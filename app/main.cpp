// The program's entry: the window layer runs the frame and the application's main routine.
#include "app/main_routine.h"
#include "window/graph/graph_setup.h"
#include "window/kernel/window_program.h"

int main(int argc, char** argv) {
    install_window_graph();
    return run_window_program(argc, argv, app_main_routine);
}
