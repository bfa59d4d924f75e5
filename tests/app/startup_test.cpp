// The start-up of the application: model constants, the reshaped menus and the About text.
#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "model/density_lorentz.h"
#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "model/model_state.h"
#include "shell_driver.h"
#include "window/graph/graphics_data.h"
#include "window/graph/text_grid.h"
#include "window/kernel/child_window.h"
#include "window/kernel/menus.h"

namespace {

// An item's text with the mnemonic marks removed.
std::string item_text(int menu, int item) {
    char buf[256];
    const int n = menu_item_text(menu, item, buf, sizeof buf);
    if (n < 0) return "<none>";
    std::string s(buf, static_cast<size_t>(n));
    std::string plain;
    for (char c : s)
        if (c != '&') plain += c;
    return plain;
}

bool grayed(int menu, int item) {
    return (menu_item_flags(menu, item) & 1) != 0;
}

} // namespace

TEST(Startup, ModelConstantsAreTheWidenedSinglePrecisionValues) {
    EXPECT_EQ(g_model.density.parameter[kLorentzHc], 0.4000000059604645);
    EXPECT_EQ(g_model.density.norm, 3.2385880947113037);
}

TEST(Startup, FileMenuInOrderWithOneSeparatorAboveExit) {
    ASSERT_EQ(menu_item_count(1), 11);
    EXPECT_EQ(item_text(1, 1), "Open workspace...");
    EXPECT_EQ(item_text(1, 2), "Close workspace");
    EXPECT_EQ(item_text(1, 3), "Save results...");
    EXPECT_EQ(item_text(1, 4), "Save bitmaps...");
    EXPECT_EQ(item_text(1, 5), "Save PNG...");
    EXPECT_EQ(item_text(1, 6), "Save SVG...");
    EXPECT_EQ(item_text(1, 7), "Open measurement...");
    EXPECT_EQ(item_text(1, 8), "Open material model...");
    EXPECT_EQ(item_text(1, 9), "FORC diagram...");
    EXPECT_EQ(item_text(1, 11).rfind("Exit", 0), 0u) << item_text(1, 11);
    int separators = 0;
    for (int i = 1; i <= 11; ++i)
        if (menu_item_flags(1, i) & 8) ++separators;
    EXPECT_EQ(separators, 1);
    EXPECT_NE(menu_item_flags(1, 10) & 8, 0);
    // The standard print command is gone; the standard save command stays under its new text.
    for (int i = 1; i <= 11; ++i)
        EXPECT_NE(menu_item_id(1, i), 1019) << i;
    EXPECT_EQ(menu_item_id(1, 4), 1020);
    EXPECT_EQ(menu_item_id(1, 11), 1000);
}

TEST(Startup, StateMenuInOrder) {
    ASSERT_EQ(menu_item_count(4), 5);
    EXPECT_EQ(item_text(4, 1).rfind("Pause", 0), 0u) << item_text(4, 1);
    EXPECT_EQ(item_text(4, 2), "Input Hn...");
    EXPECT_EQ(item_text(4, 3), "Settings...");
    EXPECT_EQ(item_text(4, 4), "Axes...");
    EXPECT_EQ(item_text(4, 5), "New curve");
}

// Items are found by command id: an item inserted above them renumbers their places, not what
// update_menus sets. Save results stays grayed and Open workspace enabled.
TEST(Startup, AnInsertedItemShiftsNothingThatTheMenuTableSets) {
    const int open = app_menu_item(AppCommand::open_workspace);
    const int save = app_menu_item(AppCommand::save_results);
    ASSERT_EQ(insert_menu_item(kFileMenu, 1, kMenuEnabled, "Inserted", menu_nothing), 1);
    EXPECT_EQ(app_menu_item(AppCommand::open_workspace), open + 1);
    EXPECT_EQ(app_menu_item(AppCommand::save_results), save + 1);
    update_menus();
    EXPECT_FALSE(grayed(1, 1)) << "the inserted item is not the table's";
    EXPECT_FALSE(grayed(1, open + 1));
    EXPECT_TRUE(grayed(1, save + 1));
    ASSERT_EQ(delete_menu_item(kFileMenu, 1), 1);
    EXPECT_EQ(app_menu_item(AppCommand::save_results), save);
}

// Every row has its own program id, and its item runs the row's callback.
TEST(Startup, EachTableItemHasItsOwnCommandId) {
    std::set<int> ids;
    for (int c = 0; c < static_cast<int>(AppCommand::count); ++c) {
        const int id = app_command_id(static_cast<AppCommand>(c));
        EXPECT_GE(id, 1101) << c;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), static_cast<size_t>(AppCommand::count));
}

TEST(Startup, OnlyOpenWorkspaceCanBeChosen) {
    EXPECT_FALSE(grayed(1, 1));
    EXPECT_TRUE(grayed(1, 2));
    EXPECT_TRUE(grayed(1, 3));
    EXPECT_TRUE(grayed(4, 2));
    EXPECT_TRUE(grayed(4, 3));
    EXPECT_TRUE(grayed(4, 4));
    EXPECT_TRUE(grayed(4, 5));
}

TEST(Startup, AboutTextIsSet) {
    char buf[600];
    const int n = about_text(buf, sizeof buf);
    ASSERT_GT(n, 0);
    const std::string about(buf, static_cast<size_t>(n));
    EXPECT_NE(about.find("Preisach"), std::string::npos) << about;
    EXPECT_NE(about.find("hysteresis developers"), std::string::npos) << about;
}

namespace {

// The instructions as the text window must show them, line by line.
const char* const kInstructions[] = {
    " Short Instructions (January 7, 2003):",
    "",
    " 1) To initiate modeling, select the menu item",
    "       File --> Open workspace...",
    " 2) Input value of the parameter Hc",
    " 3) Use left mouse button (to set a next reversal) and",
    "    right mouse button (to construct the curve).",
    " 4) You may also use the menu item",
    "       State --> Input Hn... ",
    "    to set the next reversal point numerically.",
};

std::string without_trailing_blanks(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

} // namespace

TEST(Startup, InstructionsWrittenAsTenRecords) {
    const std::vector<std::string>& lines = written_lines();
    ASSERT_GE(lines.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(lines[i], kInstructions[i]) << "line " << i + 1;
}

TEST(Startup, InstructionsShownInTheStandardTextWindow) {
    ChildWindow* cw = window_for_unit(0);
    ASSERT_NE(cw, nullptr);
    std::string shown;
    {
        std::lock_guard<std::mutex> hold(cw->lock);
        shown = text_store_all(graphics_of(cw).text);
    }
    std::vector<std::string> rows;
    size_t from = 0;
    for (size_t at; (at = shown.find('\n', from)) != std::string::npos; from = at + 1)
        rows.push_back(shown.substr(from, at - from));
    rows.push_back(shown.substr(from));
    ASSERT_GE(rows.size(), 10u) << shown;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(without_trailing_blanks(rows[i]), without_trailing_blanks(kInstructions[i]))
            << "row " << i + 1;
}
