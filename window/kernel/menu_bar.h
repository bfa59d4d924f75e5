// The frame's menu bar: the menu model shown through the toolkit's actions, the reduced bar, the
// window list and the running of chosen commands; private to the window layer. Interface thread
// only.
#pragma once

#include "window/kernel/menu_callback.h"
#include "window/kernel/menu_model.h"

#include <string>

class Frame;

// Builds the standard menus and the reduced bar ("&File" / "E&xit").
void build_standard_menus(Frame* frame);

// Shows the full bar while child windows exist, else the reduced one.
void refresh_menu_bar();

// Brings the check marks of "&Size To Fit" and "&Status Bar" up to date.
void refresh_check_marks();

// Deletes every menu and forgets the ids and callbacks (frame shutdown).
void forget_menus();

// Pause: records the state of each item the program inserted and greys it.
void pause_program_items();
// Resume: gives each such item back its recorded state.
void resume_program_items();
// End of the program: greys every item the program inserted with its own routine.
void grey_program_items();

// Shows the State menu's pause item as "&Pause" (paused false) or "&Resume".
void show_pause_item(bool paused);

// Enables or greys the "&Input" item.
void enable_input_item(bool enabled);

// Runs the command with id as chosen from a menu or key (standard or the
// program's); state is the item's state flags.
void run_command(int id, int state);

// Runs a standard command (ids 1000 to 1023) for run_command; the frame's
// standard commands install it at start-up. Null: standard commands do nothing.
using StandardCommandRunner = void (*)(int id);
void set_standard_command_runner(StandardCommandRunner runner);

// True when the item's standard command (Copy, Paste) is enabled.
bool command_enabled(int id);

// --- The program's menu operations, on the interface thread (see menus.h) ----

// Inserts an entry; standard_id is the command of a predefined routine, 0 for the program's own.
// 1 on success, 0 without a frame or when out of range.
int insert_bar_entry(int menu, int item, int flags, const char* text, int standard_id,
                     MenuCallback callback);
// Removes an entry (item 0: a whole top-level entry); 1 / 0.
int delete_bar_entry(int menu, int item);
// Changes an entry's enabled and checked state; 1 / 0.
int modify_bar_entry_flags(int menu, int item, int flags);
// Replaces an entry's text; 1 / 0.
int modify_bar_entry_text(int menu, int item, const char* text);

// The menus as the bar shows them when child windows exist (for reading only).
const MenuModel& frame_menu_model();

// Chooses an entry as the user would (only an enabled entry of the bar being shown acts);
// 1 if its command ran or was passed on, 0 otherwise.
int choose_bar_entry(int menu, int item);
// Number of entries the bar shows now (the reduced bar has one).
int shown_bar_count();
// Text of the index-th shown entry (from 1); false when there is none.
bool shown_bar_text(int index, std::string& text);
