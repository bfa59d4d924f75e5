// The menu model without the toolkit: what insertions do and what Pause records and gives back.
#include "window/kernel/command_ids.h"
#include "window/kernel/menu_model.h"

#include <gtest/gtest.h>

namespace {

void routine(int32_t&) {}

// The standard menus plus one program command "&Run" as a plain top-level entry at 7.
MenuModel standard_with_command() {
    MenuModel m;
    add_standard_menus(m);
    EXPECT_EQ(insert_menu_entry(m, 7, 0, 0, "Run", 0, routine), kInsertTop);
    return m;
}

struct InsertCase {
    int menu, item, flags;
    const char* text;
    MenuInsertion done;
    int flags_after; // of the new entry, when inserted
};

TEST(MenuModel, InsertionsAcceptTheRangesAndGiveTheFlagsState) {
    const InsertCase cases[] = {
        {1, 4, 0, "Load", kInsertItem, 0},           // appends after the 3 File items
        {1, 5, 0, "Load", kInsertRefused, 0},        // past count + 1
        {1, 1, 1 | 16, "Load", kInsertItem, 1 | 16}, // grayed and checked, first
        {2, 3, 2 | 8, "-", kInsertItem, 1 | 8},      // disabled separator
        {8, 0, 0, "Go", kInsertTop, 0},              // a top-level command after the last
        {9, 0, 0, "Go", kInsertRefused, 0},          // past count + 1 of the bar
        {7, 1, 0, "Now", kInsertItemIntoCommand, 0}, // the plain command becomes a menu
        {7, 2, 0, "Now", kInsertRefused, 0},         // a plain command has no items yet
        {0, 1, 0, "Load", kInsertRefused, 0},
        {1, -1, 0, "Load", kInsertRefused, 0},
        {1, 1, 0, nullptr, kInsertRefused, 0},
    };
    for (const InsertCase& c : cases) {
        MenuModel m = standard_with_command();
        const MenuModel before = m;
        SCOPED_TRACE(testing::Message() << c.menu << "," << c.item << " flags " << c.flags);
        ASSERT_EQ(insert_menu_entry(m, c.menu, c.item, c.flags, c.text, 0, routine), c.done);
        if (c.done == kInsertRefused) {
            EXPECT_EQ(m.menus.size(), before.menus.size());
            EXPECT_EQ(m.callbacks.size(), before.callbacks.size()); // no id spent
            continue;
        }
        const MenuEntry* e = menu_entry(m, c.menu, c.item);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(menu_entry_flags(*e), c.flags_after);
        EXPECT_EQ(e->id, kFirstProgramId + 1); // "&Run" has the first program id
        EXPECT_EQ(program_routine(m, e->id), &routine);
        if (c.done == kInsertItemIntoCommand) {
            EXPECT_TRUE(m.menus[c.menu - 1].is_menu);
            EXPECT_EQ(menu_entry(m, c.menu, 0)->id, 0); // the command's own id is dropped
            EXPECT_EQ(menu_entry(m, c.menu, 0)->text, "&Run");
        }
    }
}

// One program item's life through Pause and Resume (or the end of the program).
struct PauseCase {
    const char* what;
    int inserted_flags; // when inserted before the pause
    int modified_flags; // by the program while paused; 0: none
    bool ends;          // the program ends while paused instead of resuming
    int flags_paused;   // while paused, after the modification
    int flags_resumed;  // after Resume (or the end)
};

TEST(MenuModel, PauseRecordsProgramStatesAndResumeGivesThemBack) {
    const PauseCase cases[] = {
        {"enabled stays enabled", 0, 0, false, 1, 0},
        {"grayed stays grayed", 1, 0, false, 1, 1},
        {"enabled while paused", 1, 4, false, 1, 0},
        {"grayed while paused", 0, 1, false, 1, 1},
        {"checked at once", 0, 16, false, 1 | 16, 16},
        {"the end keeps it grayed", 0, 4, true, 1, 1},
    };
    for (const PauseCase& c : cases) {
        SCOPED_TRACE(c.what);
        MenuModel m;
        add_standard_menus(m);
        ASSERT_EQ(insert_menu_entry(m, 1, 4, c.inserted_flags, "Run", 0, routine), kInsertItem);
        pause_program_entries(m);
        if (c.modified_flags) {
            ASSERT_TRUE(modify_menu_entry_flags(m, 1, 4, c.modified_flags));
        }
        EXPECT_EQ(menu_entry_flags(*menu_entry(m, 1, 4)), c.flags_paused);
        EXPECT_EQ(menu_entry_flags(*menu_entry(m, 1, 1)), 0) << "a standard item is not paused";
        if (c.ends) {
            grey_program_entries(m);
            resume_program_entries(m); // nothing left to give back
        } else {
            resume_program_entries(m);
        }
        EXPECT_EQ(menu_entry_flags(*menu_entry(m, 1, 4)), c.flags_resumed);
    }
}

TEST(MenuModel, CommandMadeAMenuWhilePausedKeepsTheProgramsState) {
    for (int flags : {0, 1}) {
        MenuModel m = standard_with_command();
        ASSERT_TRUE(modify_menu_entry_flags(m, 7, 0, flags));
        pause_program_entries(m);
        ASSERT_EQ(insert_menu_entry(m, 7, 1, 0, "Now", kCmdAbout, nullptr), kInsertItemIntoCommand);
        // A menu is no program entry: Resume does not look after it, so it shows its state now.
        EXPECT_EQ(menu_entry_flags(*menu_entry(m, 7, 0)), flags);
        EXPECT_EQ(menu_entry(m, 7, 1)->id, kCmdAbout);
        EXPECT_EQ(m.callbacks.size(), 1u) << "a standard command spends no program id";
    }
}

} // namespace
