// Menu operations: the standard bar, insertion, numbering, mnemonics, ids, flags, bad input.
#include "tests/window/kernel/kernel_fixture.h"

#include "window/kernel/units.h"

#include <string>
#include <vector>

namespace {

int g_calls = 0;   // times a_routine ran
int g_state = -1;  // the state it last received
int g_b_calls = 0; // times b_routine ran
void a_routine(int32_t& state) {
    ++g_calls;
    g_state = state;
}
void b_routine(int32_t&) {
    ++g_b_calls;
}

struct StdItem {
    int menu, item;
    const char* text;
    int id;
};

// The standard bar, item by item.
const StdItem kStandard[] = {
    {1, 1, "&Print...", 1019},
    {1, 2, "&Save...", 1020},
    {1, 3, "E&xit\tCtrl+C", 1000},
    {2, 1, "Select &Text", 1001},
    {2, 2, "Select &Graphics", 1002},
    {2, 3, "Select &All", 1003},
    {2, 4, "&Copy\tCtrl+Ins", 1004},
    {2, 5, "&Paste", 1021},
    {3, 1, "&Size To Fit", 1006},
    {3, 2, "&Full Screen\tAlt+Enter", 1007},
    {4, 1, "&Pause\tCtrl+S", 1008},
    {5, 1, "&Cascade", 1010},
    {5, 2, "&Tile", 1011},
    {5, 3, "&Arrange Icons", 1012},
    {5, 4, "&Input", 1023},
    {5, 5, "C&lear Paste", 1022},
    {5, 6, "&Status Bar", 1015},
    {6, 1, "&Contents", 1016},
    {6, 2, "Using &Help", 1017},
    {6, 3, "&About", 1018},
};

class MenuTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        g_calls = 0;
        g_state = -1;
        g_b_calls = 0;
        // A child window shows the full bar.
        ASSERT_EQ(open_window_unit(10, "work"), 1);
    }
};

TEST_F(MenuTest, StandardMenusHaveTheTableTextsIdsAndOrder) {
    ASSERT_EQ(menu_count(), 6);
    const char* tops[] = {"&File", "&Edit", "&View", "&State", "&Window", "&Help"};
    const int counts[] = {3, 5, 2, 1, 6, 3};
    for (int m = 1; m <= 6; ++m) {
        EXPECT_EQ(item_text(m, 0), tops[m - 1]);
        EXPECT_EQ(menu_item_count(m), counts[m - 1]) << tops[m - 1];
    }
    for (const StdItem& s : kStandard) {
        EXPECT_EQ(item_text(s.menu, s.item), s.text) << s.menu << "," << s.item;
        EXPECT_EQ(menu_item_id(s.menu, s.item), s.id) << s.text;
    }
    EXPECT_EQ(menu_item_flags(5, 4) & 1, 1) << "&Input starts grayed";
    EXPECT_EQ(menu_item_flags(5, 6) & 16, 16) << "&Status Bar is checked while shown";
    EXPECT_EQ(shown_menu_count(), 6);
}

TEST_F(KernelTest, ReducedBarWhileNoChildWindowExists) {
    ASSERT_EQ(shown_menu_count(), 1);
    char buf[64];
    ASSERT_GT(shown_menu_text(1, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "&File");
    // Only Exit acts.
    EXPECT_EQ(choose_menu_item(1, 2), 0);
    EXPECT_EQ(choose_menu_item(4, 1), 0);
    EXPECT_EQ(choose_menu_item(1, 1), 1);
    EXPECT_EQ(recorded().ends, 1);

    ASSERT_EQ(open_window_unit(3, nullptr), 1);
    EXPECT_EQ(shown_menu_count(), 6);
    ASSERT_EQ(close_window_unit(3, "DELETE"), 1);
    EXPECT_EQ(shown_menu_count(), 1);
}

TEST_F(MenuTest, AppendsAtCountPlusOneAndFailsPastIt) {
    ASSERT_EQ(menu_item_count(4), 1);
    EXPECT_EQ(insert_menu_item(4, 3, 0, "Too far", a_routine), 0);
    EXPECT_EQ(menu_item_count(4), 1);
    EXPECT_EQ(insert_menu_item(4, 2, 0, "Last", a_routine), 1);
    EXPECT_EQ(menu_item_count(4), 2);
    EXPECT_EQ(item_text(4, 2), "&Last");
    // The failed insertion used no id.
    EXPECT_EQ(menu_item_id(4, 2), 1101);
}

TEST_F(MenuTest, MnemonicIsAddedOnlyWhenTheTextHasNone) {
    struct Case {
        const char* given;
        const char* shown;
    } cases[] = {{"Axes...", "&Axes..."},
                 {"E&xit", "E&xit"},
                 {"Input Hn...", "&Input Hn..."},
                 {"&Open", "&Open"}};
    int item = 1;
    for (const Case& c : cases) {
        ASSERT_EQ(insert_menu_item(6, item, 0, c.given, a_routine), 1);
        EXPECT_EQ(item_text(6, item), c.shown);
        ++item;
    }
    ASSERT_EQ(modify_menu_text(6, 1, "Save bitmaps..."), 1);
    EXPECT_EQ(item_text(6, 1), "&Save bitmaps...");
}

TEST_F(MenuTest, IdsComeFrom1101InOrderAndAreNeverReused) {
    ASSERT_EQ(insert_menu_item(1, 1, 0, "One", a_routine), 1);
    ASSERT_EQ(insert_menu_item(1, 2, 0, "Two", b_routine), 1);
    EXPECT_EQ(menu_item_id(1, 1), 1101);
    EXPECT_EQ(menu_item_id(1, 2), 1102);
    ASSERT_EQ(delete_menu_item(1, 2), 1);
    ASSERT_EQ(insert_menu_item(1, 2, 0, "Three", a_routine), 1);
    EXPECT_EQ(menu_item_id(1, 2), 1103);
    // A predefined routine brings its standard command.
    ASSERT_EQ(insert_menu_item(1, 1, 0, "Store", menu_save), 1);
    EXPECT_EQ(menu_item_id(1, 1), 1020);
    ASSERT_EQ(insert_menu_item(1, 1, 0, "Quit", menu_exit), 1);
    EXPECT_EQ(menu_item_id(1, 1), 1000);
    ASSERT_EQ(insert_menu_item(1, 1, 0, "Next", b_routine), 1);
    EXPECT_EQ(menu_item_id(1, 1), 1104);
}

TEST_F(MenuTest, InsertFlagsSetTheItemsState) {
    struct Case {
        int flags;
        int state; // 1 grayed, 8 separator, 16 checked
    } cases[] = {{0, 0}, {1, 1}, {2, 1}, {4, 0}, {8, 8}, {16, 16}, {17, 17}, {32, 0}};
    int item = 1;
    for (const Case& c : cases) {
        ASSERT_EQ(insert_menu_item(3, item, c.flags, "x", a_routine), 1);
        EXPECT_EQ(menu_item_flags(3, item), c.state) << "flags " << c.flags;
        ++item;
    }
}

TEST_F(MenuTest, ModifyFlagsChangesEnabledAndCheckedButNotSeparator) {
    ASSERT_EQ(insert_menu_item(4, 2, 1, "Item", a_routine), 1);
    EXPECT_EQ(menu_item_flags(4, 2), 1);
    EXPECT_EQ(modify_menu_flags(4, 2, 4), 1);
    EXPECT_EQ(menu_item_flags(4, 2), 0);
    EXPECT_EQ(modify_menu_flags(4, 2, 16), 1);
    EXPECT_EQ(menu_item_flags(4, 2), 16);
    EXPECT_EQ(modify_menu_flags(4, 2, 32 | 2), 1);
    EXPECT_EQ(menu_item_flags(4, 2), 1);
    EXPECT_EQ(modify_menu_flags(4, 2, 8 | 4), 1);
    EXPECT_EQ(menu_item_flags(4, 2), 0) << "8 is not honoured by modify";
}

TEST_F(MenuTest, ApplicationStartUpShapesFileAndStateMenus) {
    ASSERT_EQ(insert_menu_item(1, 1, 4, "Open workspace...", a_routine), 1);
    ASSERT_EQ(insert_menu_item(1, 2, 1, "Close workspace", a_routine), 1);
    ASSERT_EQ(delete_menu_item(1, 3), 1);
    ASSERT_EQ(insert_menu_item(1, 3, 1, "Save results...", a_routine), 1);
    ASSERT_EQ(modify_menu_text(1, 4, "Save bitmaps..."), 1);
    ASSERT_EQ(insert_menu_item(1, 5, 8, "", menu_nothing), 1);
    ASSERT_EQ(insert_menu_item(4, 2, 1, "Input Hn...", a_routine), 1);
    ASSERT_EQ(insert_menu_item(4, 3, 1, "Settings...", a_routine), 1);
    ASSERT_EQ(insert_menu_item(4, 4, 1, "Axes...", a_routine), 1);

    const std::vector<std::string> file = {
        "&Open workspace...", "&Close workspace", "&Save results...", "&Save bitmaps...", "",
        "E&xit\tCtrl+C"};
    ASSERT_EQ(menu_item_count(1), 6);
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(item_text(1, i), file[i - 1]);
    EXPECT_EQ(menu_item_flags(1, 5), 8);
    EXPECT_EQ(menu_item_id(1, 4), 1020) << "the save command stays under its new text";
    EXPECT_EQ(menu_item_flags(1, 1), 0);
    for (int i = 2; i <= 3; ++i)
        EXPECT_EQ(menu_item_flags(1, i), 1);
    const std::vector<std::string> state = {"&Pause\tCtrl+S", "&Input Hn...", "&Settings...",
                                            "&Axes..."};
    ASSERT_EQ(menu_item_count(4), 4);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(item_text(4, i), state[i - 1]);
    // Only "Open workspace..." of the program's items can be chosen.
    EXPECT_EQ(choose_menu_item(1, 1), 1);
    EXPECT_EQ(choose_menu_item(1, 2), 0);
    EXPECT_EQ(choose_menu_item(4, 2), 0);
    EXPECT_EQ(g_calls, 1);
}

TEST_F(MenuTest, OutOfRangeNumbersFailAndChangeNothing) {
    struct Case {
        int menu, item;
    } cases[] = {{0, 1}, {7, 1}, {-1, 1}, {1, -1}, {1, 4}, {4, 2}, {6, 4}, {99, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(delete_menu_item(c.menu, c.item), 0) << c.menu << "," << c.item;
        EXPECT_EQ(modify_menu_flags(c.menu, c.item, 1), 0) << c.menu << "," << c.item;
        EXPECT_EQ(modify_menu_text(c.menu, c.item, "x"), 0) << c.menu << "," << c.item;
        EXPECT_EQ(menu_item_text(c.menu, c.item, nullptr, 0), -1);
    }
    EXPECT_EQ(insert_menu_item(0, 1, 0, "x", a_routine), 0);
    EXPECT_EQ(insert_menu_item(7, 1, 0, "x", a_routine), 0);
    EXPECT_EQ(insert_menu_item(8, 0, 0, "x", a_routine), 0);
    EXPECT_EQ(insert_menu_item(1, -1, 0, "x", a_routine), 0);
    EXPECT_EQ(insert_menu_item(1, 1, 0, nullptr, a_routine), 0);
    EXPECT_EQ(modify_menu_text(1, 1, nullptr), 0);
    EXPECT_EQ(menu_count(), 6);
    const int counts[] = {3, 5, 2, 1, 6, 3};
    for (int m = 1; m <= 6; ++m)
        EXPECT_EQ(menu_item_count(m), counts[m - 1]);
    for (const StdItem& s : kStandard)
        EXPECT_EQ(item_text(s.menu, s.item), s.text);
    // No id was spent by the failures.
    ASSERT_EQ(insert_menu_item(1, 1, 0, "x", a_routine), 1);
    EXPECT_EQ(menu_item_id(1, 1), 1101);
}

TEST_F(MenuTest, TopLevelCommandBecomesAMenuWhenGivenItems) {
    ASSERT_EQ(insert_menu_item(7, 0, 0, "Run", a_routine), 1);
    EXPECT_EQ(menu_count(), 7);
    EXPECT_EQ(item_text(7, 0), "&Run");
    EXPECT_EQ(menu_item_count(7), 0);
    EXPECT_EQ(choose_menu_item(7, 0), 1);
    EXPECT_EQ(g_calls, 1);
    ASSERT_EQ(insert_menu_item(7, 1, 0, "Step", b_routine), 1);
    EXPECT_EQ(item_text(7, 0), "&Run");
    EXPECT_EQ(choose_menu_item(7, 0), 0) << "its own command was dropped";
    EXPECT_EQ(choose_menu_item(7, 1), 1);
    EXPECT_EQ(g_calls, 1);
    EXPECT_EQ(g_b_calls, 1);
    // Inserting before the first menu moves the others right.
    ASSERT_EQ(insert_menu_item(1, 0, 0, "First", a_routine), 1);
    EXPECT_EQ(item_text(2, 0), "&File");
    ASSERT_EQ(delete_menu_item(1, 0), 1);
    EXPECT_EQ(item_text(1, 0), "&File");
    EXPECT_EQ(menu_count(), 7);
}

TEST_F(MenuTest, ModifiedTextKeepsCommandCallbackAndState) {
    ASSERT_EQ(insert_menu_item(4, 2, 16, "Mode", a_routine), 1);
    ASSERT_EQ(modify_menu_text(4, 2, "Other mode"), 1);
    EXPECT_EQ(menu_item_id(4, 2), 1101);
    EXPECT_EQ(menu_item_flags(4, 2), 16);
    ASSERT_EQ(choose_menu_item(4, 2), 1);
    EXPECT_EQ(g_calls, 1);
    EXPECT_EQ(g_state, 8) << "a checked item passes 8";
    EXPECT_EQ(menu_item_flags(4, 2), 16) << "choosing does not toggle the check mark";
    ASSERT_EQ(modify_menu_flags(4, 2, 32), 1);
    ASSERT_EQ(choose_menu_item(4, 2), 1);
    EXPECT_EQ(g_state, 0);
}

TEST_F(MenuTest, CallsFromAProgramThreadAreCarriedOutOnTheInterfaceThread) {
    int inserted = 0, modified = 0, count = 0;
    run_on_thread([&] {
        inserted = insert_menu_item(4, 2, 1, "Thread item", a_routine);
        modified = modify_menu_flags(4, 2, 4);
        count = menu_item_count(4);
    });
    EXPECT_EQ(inserted, 1);
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(menu_item_flags(4, 2), 0);
    ASSERT_EQ(choose_menu_item(4, 2), 1);
    EXPECT_EQ(g_calls, 1);
}

TEST_F(KernelTest, ProgramThreadsFirstInsertCreatesItsDefaultWindow) {
    ASSERT_EQ(child_window_count(), 0);
    int inserted = 0;
    std::string title;
    run_on_thread([&] {
        inserted = insert_menu_item(1, 1, 0, "From thread", a_routine);
        char buf[64];
        if (window_title(current_window_handle(), buf, sizeof buf) > 0) title = buf;
    });
    EXPECT_EQ(inserted, 1);
    EXPECT_EQ(child_window_count(), 1);
    EXPECT_EQ(title, "Graphic 1");
}

TEST_F(KernelTest, AboutTextUpTo512Characters) {
    const std::string ok(512, 'a');
    EXPECT_EQ(set_about_text(ok.c_str()), 0);
    const std::string too_long(513, 'b');
    EXPECT_EQ(set_about_text(too_long.c_str()), -1);
    EXPECT_EQ(set_about_text(nullptr), -1);
    char buf[600];
    ASSERT_EQ(about_text(buf, sizeof buf), 512);
    EXPECT_EQ(std::string(buf), ok);

    ASSERT_EQ(set_about_text("Hysteresis\rversion 1"), 0);
    ASSERT_EQ(open_window_unit(1, nullptr), 1);
    ASSERT_EQ(choose_menu_item(6, 3), 1);
    EXPECT_EQ(recorded().text, "Hysteresis\rversion 1");
    EXPECT_EQ(recorded().title, "kernel_test");
    EXPECT_EQ(recorded().style, 0x40);
}

TEST_F(MenuTest, HelpSaysItIsNotAvailable) {
    ASSERT_EQ(choose_menu_item(6, 1), 1);
    EXPECT_NE(recorded().text.find("not available"), std::string::npos);
    ASSERT_EQ(choose_menu_item(6, 2), 1);
    EXPECT_EQ(recorded().boxes, 2);
}

} // namespace
