// Menu operations on the frame's menu bar, its standard commands and their predefined routines.
// Any thread; calls from other threads are carried out on the interface thread.
//
// Menus are numbered from 1 left to right, items from 1 within their menu;
// item 0 means the top-level entry itself. Flags: 1 grayed, 2 disabled,
// 4 enabled, 8 separator, 16 checked, 32 unchecked.
#pragma once

// The About box's text is set and read along with the menus.
#include "window/kernel/about_text.h"

#include "window/kernel/menu_callback.h"

#include <cstdint>

// Inserts an item before position item of menu (item = count + 1 appends);
// item 0 inserts a new top-level command before position menu. A text without
// '&' gets one in front of its first character. 1 on success, 0 on failure.
int insert_menu_item(int menu, int item, int flags, const char* text, MenuCallback callback);

// Removes an item (item 0: the whole top-level menu). 1 / 0.
int delete_menu_item(int menu, int item);

// Changes an item's enabled and checked state (all flags but 8). 1 / 0.
int modify_menu_flags(int menu, int item, int flags);

// Replaces an item's text; its command, callback and state stay. 1 / 0.
int modify_menu_text(int menu, int item, const char* text);

// --- Items addressed by command id: what positions an insertion shifts stays addressed ------

// Inserts an item into menu before the item with command id before_id (0: at the end of the
// menu), as insert_menu_item does. Returns the new item's command id (a predefined routine's
// standard command, else a new program id), 0 on failure.
int insert_menu_item_before(int menu, int before_id, int flags, const char* text,
                            MenuCallback callback);

// Where the first item with command id stands now: 1 with menu and item set, 0 when none has it.
int menu_item_position(int id, int& menu, int& item);

// delete_menu_item, modify_menu_flags and modify_menu_text for the first item with command id.
int delete_menu_item_by_id(int id);
int modify_menu_flags_by_id(int id, int flags);
int modify_menu_text_by_id(int id, const char* text);

// Predefined routines: inserted into a menu they bring their standard command
// with them; called directly they run it.
void menu_exit(int32_t& state);            // 1000
void menu_select_text(int32_t& state);     // 1001
void menu_select_graphics(int32_t& state); // 1002
void menu_select_all(int32_t& state);      // 1003
void menu_copy(int32_t& state);            // 1004
void menu_size_to_fit(int32_t& state);     // 1006
void menu_full_screen(int32_t& state);     // 1007
void menu_pause(int32_t& state);           // 1008
void menu_resume(int32_t& state);          // 1009
void menu_cascade(int32_t& state);         // 1010
void menu_tile(int32_t& state);            // 1011
void menu_arrange_icons(int32_t& state);   // 1012
void menu_status_bar(int32_t& state);      // 1015
void menu_help_contents(int32_t& state);   // 1016
void menu_help_using(int32_t& state);      // 1017
void menu_about(int32_t& state);           // 1018
void menu_print(int32_t& state);           // 1019
void menu_save(int32_t& state);            // 1020
void menu_paste(int32_t& state);           // 1021
void menu_clear_paste(int32_t& state);     // 1022
void menu_input(int32_t& state);           // 1023
// Does nothing; for separators and placeholders (an ordinary program routine).
void menu_nothing(int32_t& state);

// --- Reading the menus (tests and diagnostics) ----------------------------

// Number of top-level entries of the full menu bar.
int menu_count();
// Number of items of a menu; -1 if menu is out of range.
int menu_item_count(int menu);
// Copies the text of an item (item 0: the top-level entry) into buf; returns
// its length, or -1 if out of range.
int menu_item_text(int menu, int item, char* buf, int size);
// State of an item: 1 grayed, 8 separator, 16 checked; -1 if out of range.
int menu_item_flags(int menu, int item);
// Command id of an item; -1 if out of range.
int menu_item_id(int menu, int item);
// Chooses an item as the user would (only an enabled item of the bar being
// shown acts); 1 if the item's command ran or was passed on, 0 otherwise.
int choose_menu_item(int menu, int item);
// Number of entries the menu bar shows now (the reduced bar has one).
int shown_menu_count();
// Text of the index-th shown entry (from 1) into buf; length or -1.
int shown_menu_text(int index, char* buf, int size);
