// Pause and Resume, the end of the program, stop and its unwinding, exit modes.
#include "tests/window/kernel/kernel_fixture.h"

#include "window/kernel/child_window.h"
#include "window/kernel/frame.h"
#include "window/kernel/program_state.h"
#include "window/kernel/stop_guard.h"
#include "window/kernel/units.h"
#include "window/kernel/window_hooks.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

int g_calls = 0;           // times counting_routine ran
bool g_after_stop = false; // stopping_routine went on after stop_program
const char* g_stop_message = nullptr;

void counting_routine(int32_t&) {
    ++g_calls;
}

void stopping_routine(int32_t&) {
    ++g_calls;
    stop_program(g_stop_message);
    g_after_stop = true;
}

std::string status_word() {
    return frame()->state_label->text().toStdString();
}

class ProgramTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        g_calls = 0;
        g_after_stop = false;
        g_stop_message = nullptr;
        ASSERT_EQ(open_window_unit(10, "work"), 1);
        // The application's State menu: pause item, then three of its own.
        ASSERT_EQ(insert_menu_item(4, 2, 4, "Input Hn...", counting_routine), 1);
        ASSERT_EQ(insert_menu_item(4, 3, 1, "Settings...", counting_routine), 1);
        ASSERT_EQ(insert_menu_item(4, 4, 4, "Axes...", stopping_routine), 1);
    }
};

TEST_F(ProgramTest, StatusBarShowsTheProgramState) {
    EXPECT_EQ(status_word(), "Running");
    ASSERT_EQ(choose_menu_item(4, 1), 1);
    EXPECT_EQ(program_state(), 1);
    EXPECT_EQ(status_word(), "Paused");
    EXPECT_EQ(item_text(4, 1), "&Resume\tCtrl+Q");
    EXPECT_EQ(menu_item_id(4, 1), 1009);
    ASSERT_EQ(choose_menu_item(4, 1), 1);
    EXPECT_EQ(program_state(), 0);
    EXPECT_EQ(status_word(), "Running");
    EXPECT_EQ(item_text(4, 1), "&Pause\tCtrl+S");
    EXPECT_EQ(menu_item_id(4, 1), 1008);
}

TEST_F(ProgramTest, CallbackIsWithheldWhilePaused) {
    int32_t state = 0;
    menu_pause(state);
    // Pause greys the item, so it cannot be chosen; the dispatcher withholds
    // the callback also when the command arrives anyway.
    EXPECT_EQ(choose_menu_item(4, 2), 0);
    bool ran = false;
    EXPECT_FALSE(dispatch_program_callback([](void* r) { *static_cast<bool*>(r) = true; }, &ran));
    EXPECT_FALSE(ran);
    menu_resume(state);
    EXPECT_EQ(choose_menu_item(4, 2), 1);
    EXPECT_EQ(g_calls, 1);
    EXPECT_TRUE(dispatch_program_callback([](void* r) { *static_cast<bool*>(r) = true; }, &ran));
    EXPECT_TRUE(ran);
}

TEST_F(ProgramTest, ResumeRestoresTheStatesThatPauseRecorded) {
    ASSERT_EQ(menu_item_flags(4, 2), 0);
    ASSERT_EQ(menu_item_flags(4, 3), 1);
    int32_t state = 0;
    menu_pause(state);
    for (int i = 2; i <= 4; ++i)
        EXPECT_EQ(menu_item_flags(4, i), 1) << i;
    EXPECT_EQ(menu_item_flags(4, 1), 0) << "the standard item stays enabled";
    menu_resume(state);
    EXPECT_EQ(menu_item_flags(4, 2), 0);
    EXPECT_EQ(menu_item_flags(4, 3), 1) << "Resume must not enable what the program greyed";
    EXPECT_EQ(menu_item_flags(4, 4), 0);
}

TEST_F(ProgramTest, ResumeWhileRunningDoesNothing) {
    int32_t state = 0;
    menu_resume(state);
    EXPECT_EQ(menu_item_flags(4, 3), 1);
    EXPECT_EQ(program_state(), 0);
    EXPECT_EQ(item_text(4, 1), "&Pause\tCtrl+S");
}

TEST_F(ProgramTest, ChangesWhilePausedTakeEffectAtResume) {
    int32_t state = 0;
    menu_pause(state);
    ASSERT_EQ(modify_menu_flags(4, 3, 4), 1);
    ASSERT_EQ(modify_menu_flags(4, 2, 1), 1);
    EXPECT_EQ(menu_item_flags(4, 3), 1) << "still greyed while paused";
    ASSERT_EQ(insert_menu_item(4, 5, 4, "Later", counting_routine), 1);
    EXPECT_EQ(menu_item_flags(4, 5), 1);
    menu_resume(state);
    EXPECT_EQ(menu_item_flags(4, 2), 1);
    EXPECT_EQ(menu_item_flags(4, 3), 0);
    EXPECT_EQ(menu_item_flags(4, 5), 0);
}

TEST_F(ProgramTest, CommandTurnedIntoAMenuWhilePausedIsEnabledAgainAtResume) {
    int32_t state = 0;
    menu_pause(state);
    ASSERT_EQ(insert_menu_item(7, 0, 0, "Run", counting_routine), 1);
    EXPECT_EQ(menu_item_flags(7, 0), 1) << "greyed by the pause";
    ASSERT_EQ(insert_menu_item(7, 1, 0, "Step", counting_routine), 1);
    menu_resume(state);
    EXPECT_EQ(menu_item_flags(7, 0), 0) << "the menu keeps the state the program gave it";
    EXPECT_EQ(menu_item_flags(7, 1), 0);
    ASSERT_EQ(choose_menu_item(7, 1), 1);
    EXPECT_EQ(g_calls, 1);
}

TEST_F(ProgramTest, KeysOfTheChildWindowPauseAndResume) {
    ChildWindow* cw = window_for_unit(10);
    ASSERT_NE(cw, nullptr);
    QKeyEvent ctrl_s(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
    QCoreApplication::sendEvent(cw->view, &ctrl_s);
    EXPECT_EQ(program_state(), 1);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(cw->view, &esc);
    EXPECT_EQ(program_state(), 0);
    EXPECT_EQ(menu_item_flags(4, 3), 1);
    QCoreApplication::sendEvent(cw->view, &ctrl_s);
    QKeyEvent ctrl_q(QEvent::KeyPress, Qt::Key_Q, Qt::ControlModifier, QStringLiteral("\x11"));
    QCoreApplication::sendEvent(cw->view, &ctrl_q);
    EXPECT_EQ(program_state(), 0);
    QKeyEvent ctrl_c(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    QCoreApplication::sendEvent(cw->view, &ctrl_c);
    EXPECT_EQ(recorded().ends, 1);
}

TEST_F(ProgramTest, PauseHoldsAProgramThreadUntilResume) {
    int32_t state = 0;
    menu_pause(state);
    std::atomic<bool> done{false};
    std::thread t([&] {
        modify_menu_flags(4, 2, 1);
        done = true;
    });
    pump_until([] { return false; }); // about two seconds of events
    EXPECT_FALSE(done.load());
    menu_resume(state);
    EXPECT_TRUE(pump_until([&] { return done.load(); }));
    t.join();
    EXPECT_EQ(menu_item_flags(4, 2), 1);
}

TEST_F(ProgramTest, StopShowsThePromptAndGreysTheProgramsItems) {
    recorded().answer = 7; // No: keep the windows
    g_stop_message = "Missing dialog template";
    ASSERT_EQ(choose_menu_item(4, 4), 1);
    EXPECT_EQ(recorded().last_line, "Missing dialog template");
    EXPECT_EQ(recorded().boxes, 1);
    EXPECT_EQ(recorded().text, "Program Terminated with exit code 0\nExit Window?");
    EXPECT_EQ(recorded().title, "kernel_test");
    EXPECT_EQ(recorded().style, 4 | 0x30 | 0x100) << "Yes/No, warning icon, No default";
    EXPECT_EQ(recorded().ends, 0);
    EXPECT_EQ(program_state(), 2);
    EXPECT_EQ(status_word(), "Finished");
    for (int i = 2; i <= 4; ++i)
        EXPECT_EQ(menu_item_flags(4, i), 1) << i;
    // The standard commands still work.
    EXPECT_EQ(choose_menu_item(5, 6), 1);
    EXPECT_EQ(menu_item_flags(5, 6) & 16, 0);
}

TEST_F(ProgramTest, StopWithoutMessageWritesTheDefaultLine) {
    ASSERT_EQ(choose_menu_item(4, 4), 1);
    EXPECT_EQ(recorded().last_line, "Stop - Program terminated.");
}

TEST_F(ProgramTest, StoppedCallbackIsAbandonedAndNoCallbackRunsAfterwards) {
    ASSERT_EQ(choose_menu_item(4, 4), 1);
    EXPECT_EQ(g_calls, 1);
    EXPECT_FALSE(g_after_stop) << "stop_program returned into its caller";
    EXPECT_TRUE(program_stopped());
    // Even re-enabled by the program, its items call nothing.
    ASSERT_EQ(modify_menu_flags(4, 2, 4), 1);
    ASSERT_EQ(choose_menu_item(4, 2), 1);
    EXPECT_EQ(g_calls, 1);
    // Mouse callbacks go through the same dispatcher.
    bool ran = false;
    EXPECT_FALSE(dispatch_program_callback([](void* r) { *static_cast<bool*>(r) = true; }, &ran));
    EXPECT_FALSE(ran);
}

TEST_F(ProgramTest, StopInsideANestedGuardUnwindsToItAndOnOutward) {
    // A layer running program code under its own toolkit frames catches the
    // stop, leaves them, then passes the stop on.
    static bool inner_returned, outer_went_on;
    inner_returned = outer_went_on = false;
    struct Outer {
        static void run(void*) {
            const bool finished = run_stoppable([](void*) { stop_program(nullptr); }, nullptr);
            inner_returned = !finished;
            if (!finished) resume_stop();
            outer_went_on = true;
        }
    };
    EXPECT_FALSE(dispatch_program_callback(Outer::run, nullptr));
    EXPECT_TRUE(inner_returned);
    EXPECT_FALSE(outer_went_on);
}

TEST_F(ProgramTest, YesAtThePromptEndsTheProcess) {
    recorded().answer = 6;
    ASSERT_EQ(choose_menu_item(4, 4), 1);
    EXPECT_EQ(recorded().ends, 1);
}

TEST_F(ProgramTest, ExitModes) {
    struct Case {
        int mode;
        int boxes; // prompts shown
        int ends;  // process ended
    } cases[] = {{1, 1, 0}, {2, 0, 1}, {0, 0, 0}, {3, 0, 0}};
    for (const Case& c : cases) {
        recorded().boxes = 0;
        recorded().ends = 0;
        clear_program_stopped();
        clear_program_end();
        set_program_state(0);
        ASSERT_EQ(modify_menu_flags(4, 4, 4), 1);
        set_exit_mode(c.mode);
        ASSERT_EQ(choose_menu_item(4, 4), 1) << c.mode;
        EXPECT_EQ(recorded().boxes, c.boxes) << "mode " << c.mode;
        EXPECT_EQ(recorded().ends, c.ends) << "mode " << c.mode;
        EXPECT_EQ(program_state(), 2);
    }
}

TEST_F(ProgramTest, StopOnTheProgramThreadParksIt) {
    std::atomic<bool> returned{false};
    std::thread t([&] {
        stop_program("Fatal");
        returned = true;
    });
    t.detach(); // parked for good
    EXPECT_TRUE(pump_until([] { return program_state() == 2; }));
    EXPECT_EQ(recorded().text, "Program Terminated with exit code 0\nExit Window?");
    EXPECT_EQ(recorded().last_line, "Fatal");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned.load());
    EXPECT_EQ(menu_item_flags(4, 2), 1);
}

TEST_F(ProgramTest, EndOfProgramRunsOnce) {
    end_of_program(0);
    end_of_program(0);
    EXPECT_EQ(recorded().boxes, 1);
}

TEST_F(ProgramTest, FinishedWhilePausedKeepsItemsGreyAndShowsPause) {
    int32_t state = 0;
    menu_pause(state);
    end_of_program(0);
    EXPECT_EQ(program_state(), 2);
    EXPECT_EQ(item_text(4, 1), "&Pause\tCtrl+S");
    menu_resume(state);
    EXPECT_EQ(menu_item_flags(4, 2), 1) << "a finished program's items stay grey";
    menu_pause(state);
    EXPECT_EQ(program_state(), 2);
}

} // namespace
