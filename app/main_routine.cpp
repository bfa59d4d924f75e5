// The main routine on the program thread: start-up values, the reshaped menus, the instructions.
#include "app/main_routine.h"

#include <condition_variable>
#include <mutex>

#include "app/input_hn.h"
#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "app/new_curve.h"
#include "app/save_results.h"
#include "model/model_seams.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "text/write_line.h"
#include "window/graph/text_window.h"
#include "window/kernel/menus.h"
#include "window/kernel/process_end.h"
#include "window/kernel/stoppable_work.h"
#include "window/kernel/units.h"

namespace {

constexpr const char* kAboutText = "Hysteresis modeling with the classical Preisach model\r"
                                   "and a Lorentzian distribution\r"
                                   "\r"
                                   "Authors: the hysteresis developers\r"
                                   "The hysteresis project";

void maximise(int32_t unit) {
    const WindowStateRecord maximised = {kWindowMaximise, 0, 0, 0, 0};
    set_window_state(unit, maximised);
}

void write_instructions() {
    write_line({"Short Instructions (January 7, 2003):"});
    write_line();
    write_line({"1) To initiate modeling, select the menu item"});
    write_line({"      File --> Open workspace..."});
    write_line({"2) Input value of the parameter Hc"});
    write_line({"3) Use left mouse button (to set a next reversal) and"});
    write_line({"   right mouse button (to construct the curve)."});
    write_line({"4) You may also use the menu item"});
    write_line({"      State --> Input Hn... "});
    write_line({"   to set the next reversal point numerically."});
}

} // namespace

void connect_program_seams() {
    connect_standard_output();
    set_construction_started(on_construction_started);
    set_points_drawn(on_curve_points_drawn);
    set_leg_draw(draw_new_points_under_marker);
    set_execute_finished(finish_execute);
    set_end_confirmation(confirm_program_end);
    set_stop_check(poll_stoppable_work);
}

void program_startup() {
    set_startup_parameters(g_model);
    maximise(kFrameUnit);
    build_app_menus();
    set_about_text(kAboutText);
    maximise(0);
    write_instructions();
}

void wait_forever() {
    // Nothing ever notifies: the thread sleeps until the process ends.
    std::mutex mutex;
    std::condition_variable never;
    std::unique_lock<std::mutex> lock(mutex);
    for (;;)
        never.wait(lock);
}

void app_main_routine() {
    connect_program_seams();
    program_startup();
    wait_forever();
}
