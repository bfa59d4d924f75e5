// Shared fixture of the window kernel tests: a frame per test, answered boxes, a caught exit.
#pragma once

#include "window/kernel/menus.h"
#include "window/kernel/window_program.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

// What the answered message boxes and the replaced process end saw.
struct Recorded {
    int boxes = 0;         // message boxes shown
    std::string text;      // text of the last box
    std::string title;     // title of the last box
    int style = -1;        // style of the last box
    int answer = 7;        // the button the next boxes answer (7 No)
    int ends = 0;          // times the process would have ended
    std::string last_line; // last line written to the standard output unit
    int lines = 0;         // lines written to the standard output unit
};
Recorded& recorded();

// Runs fn on a new thread and keeps the event loop turning until it ends.
void run_on_thread(const std::function<void()>& fn);

// Turns the event loop until done() or about two seconds have passed.
bool pump_until(const std::function<bool()>& done);

// Text of an item as a string ("" when out of range).
std::string item_text(int menu, int item);

// One frame per test, shut down afterwards.
class KernelTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};
