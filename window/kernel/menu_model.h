// The frame's menus as plain records: entries, command ids, states and what Pause records; no
// toolkit. Interface thread for the frame's own model (menu_bar.cpp); a model of one's own from any
// one thread.
//
// Menus are numbered from 1 left to right, items from 1 within their menu; item 0 is the top-level
// entry itself. Program flags: 1 grayed, 2 disabled, 4 enabled, 8 separator, 16 checked,
// 32 unchecked.
#pragma once

#include "window/kernel/menu_callback.h"

#include <string>
#include <vector>

// One entry: an item of a menu, a menu's own bar entry, or a plain top-level command.
struct MenuEntry {
    std::string text;       // as shown: '&' before the mnemonic, optionally "\t" and a key
    int id = 0;             // command: standard 1000..1023, the program's from 1101; 0 for a menu
    bool enabled = true;    // shown enabled (a paused program entry is shown greyed)
    bool checked = false;   // shows a check mark
    bool separator = false; // a separator line; its text stays readable
    bool paused_enabled = true; // state recorded by Pause for a program entry, given back by Resume
};

// One top-level entry of the bar.
struct MenuTop {
    MenuEntry entry;              // the bar entry: a menu's title or a plain command (id != 0)
    bool is_menu = false;         // a menu with items, not a plain command
    bool window_list = false;     // the menu that lists the child windows after its items
    std::vector<MenuEntry> items; // in display order, without the window list
};

// All menus of the bar and the program's routines.
struct MenuModel {
    std::vector<MenuTop> menus;          // left to right
    std::vector<MenuCallback> callbacks; // indexed by id - kFirstProgramId; ids are never reused
    bool items_paused = false;           // Pause has recorded the program entries' states
};

// What an insertion did, so that a view of the model can do the same.
enum MenuInsertion {
    kInsertRefused = 0,         // out of range or no text: nothing changed
    kInsertTop = 1,             // a plain top-level command now stands at position menu
    kInsertItem = 2,            // an item now stands at position item of menu
    kInsertItemIntoCommand = 3, // as kInsertItem, and the plain command at menu became a menu first
};

// True for the ids given to the program's own routines.
bool is_program_id(int id);

// A text without '&' gets one in front, so that its first character is the mnemonic.
std::string with_mnemonic(const char* text);

// State flags of an entry as the program reads them: 1 grayed, 8 separator, 16 checked.
int menu_entry_flags(const MenuEntry& e);

// The top-level entry at position menu, or null.
const MenuTop* menu_top(const MenuModel& m, int menu);
MenuTop* menu_top(MenuModel& m, int menu);
// The entry at (menu, item), item 0 being the top-level entry; null when out of range.
const MenuEntry* menu_entry(const MenuModel& m, int menu, int item);
MenuEntry* menu_entry(MenuModel& m, int menu, int item);
// Position of the first item with command id: its menu and item numbers; false when none has it.
bool find_menu_item_position(const MenuModel& m, int id, int& menu, int& item);

// The first item of any menu with command id; null when there is none.
MenuEntry* find_menu_item(MenuModel& m, int id);

// Appends the standard menus File, Edit, View, State, Window and Help with their items;
// "&Input" starts greyed and "&Status Bar" checked.
void add_standard_menus(MenuModel& m);

// Inserts an entry before position item of menu (item 0: a plain top-level command before
// position menu). standard_id is the command a predefined routine brings with it, 0 for a
// program routine, which gets the next program id. A program entry inserted while paused is
// greyed and its state recorded.
MenuInsertion insert_menu_entry(MenuModel& m, int menu, int item, int flags, const char* text,
                                int standard_id, MenuCallback callback);

// Removes an entry (item 0: the whole top-level entry); false when out of range.
bool delete_menu_entry(MenuModel& m, int menu, int item);

// Changes an entry's enabled and checked state by program flags; while paused the enabled state
// of a program entry goes to its record. False when out of range.
bool modify_menu_entry_flags(MenuModel& m, int menu, int item, int flags);

// Replaces an entry's text (a mnemonic added as on insertion); false when out of range or no text.
bool modify_menu_entry_text(MenuModel& m, int menu, int item, const char* text);

// Pause: records the state of each program entry and greys it.
void pause_program_entries(MenuModel& m);
// Resume: gives each program entry back its recorded state.
void resume_program_entries(MenuModel& m);
// End of the program: greys every program entry; no record is kept to give back.
void grey_program_entries(MenuModel& m);

// Shows the State menu's pause item as "&Pause" (paused false) or "&Resume" with its command.
void show_pause_entry(MenuModel& m, bool paused);

// The program routine of a command id; null for other ids.
MenuCallback program_routine(const MenuModel& m, int id);
