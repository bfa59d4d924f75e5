// The frame's menu model: standard menus, the program's items, pause greying; private.
// Interface thread only.
#pragma once

class Frame;
class QAction;

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
// program's); state is the item's state flags. Interface thread only.
void run_command(int id, int state);

// Runs a standard command (ids 1000 to 1023) for run_command; the frame's
// standard commands install it at start-up. Null: standard commands do nothing.
using StandardCommandRunner = void (*)(int id);
void set_standard_command_runner(StandardCommandRunner runner);

// True when the item's standard command (Copy, Paste) is enabled.
bool command_enabled(int id);
