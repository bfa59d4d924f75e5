// Building the control records and the value operations while no window is shown.
#include "dialogm/dialog.h"
#include "dialogm/template_store.h"
#include "tests/dialogm/template_builder.h"

#include "text/output_unit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

std::string text_of(Dialog& d, int32_t id, int32_t sel = sel_default, int length = 256) {
    std::string s(static_cast<size_t>(length), '#');
    if (!dlg_get(d, id, &s[0], length, sel)) return "<failed>";
    return s;
}

std::string pad(const std::string& s) {
    return s + std::string(256 - s.size(), ' ');
}

int32_t expected_kind(const BuildItem& it) {
    if (it.atom == 0x82) return kKindStatic;
    if (it.atom == 0x81) return kKindEdit;
    switch (it.style & 0xF) {
    case 7:
        return kKindGroupBox;
    case 3:
        return kKindCheckBox;
    case 9:
        return kKindRadioButton;
    default:
        return kKindPushButton;
    }
}

// Captures the standard output unit and the stop while a test runs.
struct Captured {
    static std::vector<std::string> lines;
    static int stops;
    static void sink(int unit, const char* line, int length) {
        lines.push_back(std::to_string(unit) + ":" +
                        std::string(line, static_cast<size_t>(length)));
    }
    static void stop(const char* message) {
        ++stops;
        if (message) lines.push_back(std::string("stop:") + message);
    }
    Captured() {
        lines.clear();
        stops = 0;
        set_line_sink(sink);
        set_stop_routine(stop);
    }
    ~Captured() {
        set_line_sink(nullptr);
        set_stop_routine(nullptr);
    }
};
std::vector<std::string> Captured::lines;
int Captured::stops = 0;

void noop(Dialog&, int32_t&, int32_t&) {}

} // namespace

TEST(DialogInit, BuildsTheTablesControls) {
    for (const auto& [id, want] : program_dialogs()) {
        SCOPED_TRACE(id);
        Dialog d;
        ASSERT_TRUE(dlg_init(d, id));
        EXPECT_EQ(d.template_id, id);
        EXPECT_EQ(d.return_value, 1);
        EXPECT_TRUE(d.dirty);
        EXPECT_FALSE(d.in_update);
        EXPECT_TRUE(d.selection_gate);
        EXPECT_EQ(d.window, nullptr);
        ASSERT_EQ(d.controls.size(), want.items.size());
        for (size_t k = 0; k < want.items.size(); ++k) {
            const DialogControl& c = d.controls[k];
            const BuildItem& w = want.items[k];
            SCOPED_TRACE(w.id);
            EXPECT_EQ(c.id, w.id);
            EXPECT_EQ(c.kind, expected_kind(w));
            EXPECT_TRUE(c.dirty);
            EXPECT_FALSE(c.duplicate);
            ASSERT_EQ(c.texts.size(), 1u);
            EXPECT_EQ(c.texts[0], pad(w.text));
            EXPECT_TRUE(c.logicals[0]);
            size_t callbacks = c.kind == kKindEdit ? 2 : c.kind >= kKindPushButton ? 1 : 0;
            EXPECT_EQ(c.callbacks.size(), callbacks);
        }
        EXPECT_TRUE(dlg_uninit(d));
        EXPECT_TRUE(d.controls.empty());
    }
}

TEST(DialogInit, RadioButtonsOfSettingsFormOneGroupWithTheFirstChecked) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 102));
    const DialogControl& r1 = d.controls[8];
    const DialogControl& r2 = d.controls[9];
    ASSERT_EQ(r1.id, 1015);
    ASSERT_EQ(r2.id, 1016);
    EXPECT_EQ(r1.ints, (std::vector<int32_t>{8, 9}));
    EXPECT_EQ(r2.ints, (std::vector<int32_t>{8, 9}));
    bool on = false;
    ASSERT_TRUE(dlg_get(d, 1015, on));
    EXPECT_TRUE(on);
    ASSERT_TRUE(dlg_get(d, 1016, on, sel_state));
    EXPECT_FALSE(on);

    // Unchecking the second leaves the first checked; checking it unchecks the first.
    ASSERT_TRUE(dlg_set(d, 1016, false));
    ASSERT_TRUE(dlg_get(d, 1015, on));
    EXPECT_TRUE(on);
    ASSERT_TRUE(dlg_set(d, 1016, true));
    ASSERT_TRUE(dlg_get(d, 1015, on));
    EXPECT_FALSE(on);
    ASSERT_TRUE(dlg_get(d, 1016, on));
    EXPECT_TRUE(on);
    // The opening sequence of Settings: 1015 checked, then 1016 unchecked.
    ASSERT_TRUE(dlg_set(d, 1015, true));
    ASSERT_TRUE(dlg_set(d, 1016, false));
    ASSERT_TRUE(dlg_get(d, 1015, on));
    EXPECT_TRUE(on);
    ASSERT_TRUE(dlg_get(d, 1016, on));
    EXPECT_FALSE(on);
}

TEST(DialogInit, GroupsEndAtTheNextGroupStart) {
    // radio, radio | static(group) radio radio: two groups of two.
    BuildDialog b;
    b.items = {{kRadio, 0x80, 10, "a", 0, 0, 1, 1},
               {kRadio, 0x80, 11, "b", 0, 0, 1, 1},
               {kLeft | kGroupStart, 0x82, 12, "s", 0, 0, 1, 1},
               {kRadio, 0x80, 13, "c", 0, 0, 1, 1},
               {kRadio, 0x80, 14, "d", 0, 0, 1, 1},
               {kRadio | kGroupStart, 0x80, 15, "e", 0, 0, 1, 1}};
    std::vector<unsigned char> bytes = build_template(b);
    add_template(900, bytes.data(), bytes.size());
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 900));
    std::vector<std::vector<int32_t>> groups;
    std::vector<bool> checked;
    for (const DialogControl& c : d.controls)
        if (c.kind == kKindRadioButton) {
            groups.push_back(c.ints);
            checked.push_back(c.logicals[1]);
        }
    EXPECT_EQ(groups, (std::vector<std::vector<int32_t>>{{0, 1}, {0, 1}, {3, 4}, {3, 4}, {5, 5}}));
    EXPECT_EQ(checked, (std::vector<bool>{true, false, true, false, true}));
    // Setting in the second group leaves the first alone.
    ASSERT_TRUE(dlg_set(d, 14, true));
    bool on = false;
    ASSERT_TRUE(dlg_get(d, 10, on));
    EXPECT_TRUE(on);
    ASSERT_TRUE(dlg_get(d, 13, on));
    EXPECT_FALSE(on);
    remove_template(900);
}

TEST(DialogInit, MissingTemplateFails) {
    Dialog d;
    EXPECT_FALSE(dlg_init(d, 104));
    EXPECT_TRUE(d.controls.empty());
    std::vector<unsigned char> junk = {1, 2, 3};
    add_template(901, junk.data(), junk.size());
    EXPECT_FALSE(dlg_init(d, 901));
    remove_template(901);
}

TEST(DialogInit, SkipsUnknownAndNamedClasses) {
    BuildDialog b;
    b.items = {{kLeft, 0x86, 1, "unknown atom", 0, 0, 1, 1},
               {kLeft, 0, 2, "named", 0, 0, 1, 1, "STATIC"},
               {kLeft, 0x82, 3, "kept", 0, 0, 1, 1}};
    std::vector<unsigned char> bytes = build_template(b);
    add_template(902, bytes.data(), bytes.size());
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 902));
    ASSERT_EQ(d.controls.size(), 1u);
    EXPECT_EQ(d.controls[0].id, 3);
    EXPECT_FALSE(dlg_set(d, 1, "x", 1));
    remove_template(902);
}

TEST(DialogInit, KindsOfTheOtherClasses) {
    BuildDialog b;
    b.items = {{kChild, 0x84, 1, "", 0, 0, 1, 1},
               {kChild, 0x83, 2, "", 0, 0, 1, 1},
               {kChild | 1, 0x85, 3, "ab", 0, 0, 1, 1},
               {kChild | 3, 0x85, 4, "", 0, 0, 1, 1},
               {kChild | 4, 0x80, 5, "r", 0, 0, 1, 1}};
    std::vector<unsigned char> bytes = build_template(b);
    add_template(903, bytes.data(), bytes.size());
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 903));
    ASSERT_EQ(d.controls.size(), 5u);
    EXPECT_EQ(d.controls[0].kind, kKindScrollBar);
    EXPECT_EQ(d.controls[0].ints, (std::vector<int32_t>{0, 100, 1, 10}));
    EXPECT_EQ(d.controls[1].kind, kKindListBox);
    EXPECT_EQ(d.controls[2].kind, kKindComboBox);
    EXPECT_EQ(d.controls[2].callbacks.size(), 4u);
    EXPECT_EQ(d.controls[3].kind, kKindDropDown);
    // A group of one non-automatic radio button still closes on itself.
    EXPECT_EQ(d.controls[4].kind, kKindRadioButton);
    EXPECT_EQ(d.controls[4].ints, (std::vector<int32_t>{4, 4}));
    remove_template(903);
}

// Each rejected style writes its line and stops; dlg_init then reports failure.
struct RejectCase {
    uint16_t atom;
    uint32_t style;
    const char* name;
};

TEST(DialogInit, RejectedStylesStopWithTheirLine) {
    const RejectCase cases[] = {
        {0x80, 11, "BS_OWNERDRAW"},
        {0x80, 8, "BS_USERBUTTON"},
        {0x80, 2, "<unknown>"},
        {0x80, 10, "<unknown>"},
        {0x80, 12, "<unknown>"},
        {0x80, 13, "<unknown>"},
        {0x80, 14, "<unknown>"},
        {0x80, 15, "<unknown>"},
        {0x81, 0x4, "ES_MULTILINE"},
        {0x83, 0x10, "LBS_OWNERDRAWFIXED"},
        {0x83, 0x20, "LBS_OWNERDRAWVARIABLE"},
        {0x85, 0x10, "CBS_OWNERDRAWFIXED"},
        {0x85, 0x21, "CBS_OWNERDRAWVARIABLE"},
    };
    for (const RejectCase& rc : cases) {
        SCOPED_TRACE(rc.name);
        BuildDialog b;
        b.items = {{kLeft, 0x82, 5, "before", 0, 0, 1, 1},
                   {kChild | rc.style, rc.atom, 1234, "", 0, 0, 1, 1}};
        std::vector<unsigned char> bytes = build_template(b);
        add_template(904, bytes.data(), bytes.size());
        Captured cap;
        Dialog d;
        EXPECT_FALSE(dlg_init(d, 904));
        EXPECT_EQ(Captured::stops, 1);
        ASSERT_EQ(Captured::lines.size(), 1u);
        std::string id_field = "1234" + std::string(16, ' ');
        EXPECT_EQ(Captured::lines[0],
                  std::string("6:Invalid style ") + rc.name + " used for control " + id_field);
        remove_template(904);
    }
}

TEST(DialogInit, AcceptedStylesDoNotStop) {
    Captured cap;
    BuildDialog b;
    b.items = {{kChild | 0x80 | 0x1, 0x81, 1, "", 0, 0, 1, 1}, // edit: auto scroll, centred
               {kChild | 0x9, 0x80, 2, "", 0, 0, 1, 1},        // auto radio
               {kChild | 0x40, 0x83, 3, "", 0, 0, 1, 1}};      // list box without owner draw
    std::vector<unsigned char> bytes = build_template(b);
    add_template(905, bytes.data(), bytes.size());
    Dialog d;
    EXPECT_TRUE(dlg_init(d, 905));
    EXPECT_EQ(Captured::stops, 0);
    EXPECT_TRUE(Captured::lines.empty());
    remove_template(905);
}

TEST(DialogValues, DuplicateIdsAreNotAddressableAndStaticMinusOneIs) {
    BuildDialog b;
    b.items = {{kLeft, 0x82, 7, "one", 0, 0, 1, 1},
               {kEdit, 0x81, 7, "two", 0, 0, 1, 1},
               {kLeft, 0x82, 65535, "label", 0, 0, 1, 1}};
    std::vector<unsigned char> bytes = build_template(b);
    add_template(906, bytes.data(), bytes.size());
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 906));
    EXPECT_TRUE(d.controls[0].duplicate);
    EXPECT_TRUE(d.controls[1].duplicate);
    EXPECT_EQ(d.controls[2].id, 65535);
    std::vector<DialogControl> before = d.controls;
    char buf[8];
    bool flag = true;
    EXPECT_FALSE(dlg_set(d, 7, "x", 1));
    EXPECT_FALSE(dlg_set(d, 7, false, sel_enable));
    EXPECT_FALSE(dlg_get(d, 7, buf, 8));
    EXPECT_FALSE(dlg_get(d, 7, flag));
    EXPECT_FALSE(dlg_set_callback(d, 7, noop));
    for (size_t k = 0; k < before.size(); ++k)
        EXPECT_EQ(d.controls[k].texts, before[k].texts);

    EXPECT_EQ(text_of(d, 65535, sel_default, 5), "label");
    EXPECT_TRUE(dlg_set(d, 65535, "new", 3));
    EXPECT_EQ(text_of(d, 65535), pad("new"));
    remove_template(906);
}

TEST(DialogValues, TextsArePaddedTruncatedAndDeliveredAtTheCallersLength) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 105));
    ASSERT_TRUE(dlg_set(d, 1032, "0.4", 3));
    EXPECT_EQ(text_of(d, 1032, sel_default, 5), "0.4  ");
    EXPECT_EQ(text_of(d, 1032, sel_state, 2), "0.");
    std::string long_text(300, 'z');
    ASSERT_TRUE(dlg_set(d, 1033, long_text.c_str(), 300));
    EXPECT_EQ(text_of(d, 1033, sel_default, 260), std::string(256, 'z') + "    ");
    ASSERT_TRUE(dlg_set(d, 1033, "", 0));
    EXPECT_EQ(text_of(d, 1033), pad(""));
    EXPECT_EQ(text_of(d, 1033, sel_default, 0), "");
    EXPECT_FALSE(dlg_set(d, 1033, nullptr, 3));
    EXPECT_FALSE(dlg_set(d, 1033, "x", -1));
}

// Which selectors each form accepts on each kind.
struct SelectorCase {
    int32_t id;       // control of dialog 101 or 102
    int32_t selector; // selector tried
    bool text_ok;     // the text form accepts it
    bool logical_ok;  // the logical form accepts it
    bool int_ok;      // the integer form accepts it
};

TEST(DialogValues, SelectorRulesPerKind) {
    const SelectorCase cases[] = {
        // static 1008
        {1008, sel_default, true, true, false},
        {1008, sel_text, true, false, false},
        {1008, sel_enable, false, true, false},
        {1008, sel_state, false, false, false},
        {1008, sel_clicked, false, false, false},
        {1008, 3, false, false, false},
        // group box 1003
        {1003, sel_text, true, false, false},
        {1003, sel_state, false, false, false},
        // push button 1007
        {1007, sel_default, true, true, false},
        {1007, sel_state, false, false, false},
        // check box 1004
        {1004, sel_default, true, true, false},
        {1004, sel_state, false, true, false},
        {1004, sel_text, true, false, false},
        {1004, sel_enable, false, true, false},
        // edit 1002
        {1002, sel_default, true, true, false},
        {1002, sel_text, false, false, false},
        {1002, sel_state, true, false, false},
        {1002, sel_change, false, false, false},
        {1002, sel_position, false, false, false},
    };
    for (const SelectorCase& sc : cases) {
        SCOPED_TRACE(std::to_string(sc.id) + " " + std::to_string(sc.selector));
        Dialog d;
        ASSERT_TRUE(dlg_init(d, 101));
        std::vector<DialogControl> before = d.controls;
        char buf[4];
        bool flag = false;
        int32_t number = 0;
        EXPECT_EQ(dlg_get(d, sc.id, buf, 4, sc.selector), sc.text_ok);
        EXPECT_EQ(dlg_get(d, sc.id, flag, sc.selector), sc.logical_ok);
        EXPECT_EQ(dlg_get(d, sc.id, number, sc.selector), sc.int_ok);
        EXPECT_EQ(dlg_set(d, sc.id, "v", 1, sc.selector), sc.text_ok);
        EXPECT_EQ(dlg_set(d, sc.id, true, sc.selector), sc.logical_ok);
        EXPECT_EQ(dlg_set(d, sc.id, int32_t{5}, sc.selector), sc.int_ok);
        if (!sc.text_ok && !sc.logical_ok && !sc.int_ok)
            for (size_t k = 0; k < before.size(); ++k) {
                EXPECT_EQ(d.controls[k].texts, before[k].texts);
                EXPECT_EQ(d.controls[k].logicals, before[k].logicals);
            }
    }
}

TEST(DialogValues, LogicalsGoWhereTheSelectorSays) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 101));
    // Default on a check box is its checked state, on a static its enabled state.
    ASSERT_TRUE(dlg_set(d, 1004, true));
    ASSERT_TRUE(dlg_set(d, 1005, false));
    bool v = false;
    ASSERT_TRUE(dlg_get(d, 1004, v, sel_state));
    EXPECT_TRUE(v);
    ASSERT_TRUE(dlg_get(d, 1004, v, sel_enable));
    EXPECT_TRUE(v);
    ASSERT_TRUE(dlg_get(d, 1005, v, sel_enable));
    EXPECT_FALSE(v);
    ASSERT_TRUE(dlg_set(d, 1004, false, sel_enable));
    ASSERT_TRUE(dlg_get(d, 1004, v));
    EXPECT_TRUE(v); // still checked
    ASSERT_TRUE(dlg_get(d, 1004, v, sel_enable));
    EXPECT_FALSE(v);
}

TEST(DialogValues, UnknownIdsFailAndChangeNothing) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 105));
    std::vector<DialogControl> before = d.controls;
    char buf[4];
    bool flag;
    int32_t number;
    EXPECT_FALSE(dlg_set(d, 999, "x", 1));
    EXPECT_FALSE(dlg_set(d, 999, true));
    EXPECT_FALSE(dlg_set(d, 999, int32_t{1}, sel_position));
    EXPECT_FALSE(dlg_get(d, 999, buf, 4));
    EXPECT_FALSE(dlg_get(d, 999, flag));
    EXPECT_FALSE(dlg_get(d, 999, number, sel_position));
    EXPECT_FALSE(dlg_set_callback(d, 999, noop));
    EXPECT_FALSE(dlg_set_callback(d, 0, noop));
    for (size_t k = 0; k < before.size(); ++k) {
        EXPECT_EQ(d.controls[k].texts, before[k].texts);
        EXPECT_EQ(d.controls[k].logicals, before[k].logicals);
        EXPECT_EQ(d.controls[k].callbacks, before[k].callbacks);
    }
}

TEST(DialogValues, ListAndScrollBarValues) {
    Dialog d;
    BuildDialog b;
    b.items = {{kChild, 0x84, 1, "", 0, 0, 1, 1}, {kChild, 0x83, 2, "", 0, 0, 1, 1}};
    std::vector<unsigned char> bytes = build_template(b);
    add_template(907, bytes.data(), bytes.size());
    ASSERT_TRUE(dlg_init(d, 907));
    int32_t n = 0;
    ASSERT_TRUE(dlg_get(d, 1, n, sel_range));
    EXPECT_EQ(n, 100);
    ASSERT_TRUE(dlg_set(d, 1, int32_t{40}, sel_position));
    ASSERT_TRUE(dlg_get(d, 1, n, sel_position));
    EXPECT_EQ(n, 40);
    EXPECT_FALSE(dlg_set(d, 1, "x", 1));
    EXPECT_FALSE(dlg_set(d, 1, int32_t{1}, sel_num_items));
    // Items are appended one past the last and read back by number.
    EXPECT_FALSE(dlg_set(d, 2, "b", 1, 2));
    ASSERT_TRUE(dlg_set(d, 2, "a", 1, 1));
    ASSERT_TRUE(dlg_set(d, 2, "b", 1, 2));
    ASSERT_TRUE(dlg_get(d, 2, n, sel_num_items));
    EXPECT_EQ(n, 2);
    EXPECT_EQ(text_of(d, 2, 2, 1), "b");
    EXPECT_EQ(text_of(d, 2, 3, 1), "<failed>");
    remove_template(907);
}

TEST(DialogCallbacks, BindByEventAndTemplateId) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 101));
    EXPECT_TRUE(dlg_set_callback(d, 101, noop));
    EXPECT_EQ(d.dialog_callback, noop);
    EXPECT_TRUE(dlg_set_callback(d, 1002, noop));             // change
    EXPECT_TRUE(dlg_set_callback(d, 1002, noop, sel_update)); // update
    EXPECT_FALSE(dlg_set_callback(d, 1002, noop, sel_clicked));
    EXPECT_TRUE(dlg_set_callback(d, 1004, noop, sel_clicked));
    EXPECT_FALSE(dlg_set_callback(d, 1004, noop, sel_change));
    EXPECT_FALSE(dlg_set_callback(d, 1008, noop)); // statics have no events
    EXPECT_FALSE(dlg_set_callback(d, 1003, noop)); // nor group boxes
    int e = 0;
    for (const DialogControl& c : d.controls)
        if (c.id == 1002) {
            EXPECT_EQ(c.callbacks[0], noop);
            EXPECT_EQ(c.callbacks[1], noop);
            ++e;
        }
    EXPECT_EQ(e, 1);
}

TEST(DialogCallbacks, NotShownDialogCannotExit) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 105));
    EXPECT_FALSE(dlg_exit(d));
    EXPECT_TRUE(dlg_set_return(d, 7));
    EXPECT_EQ(d.return_value, 7);
}

namespace {
int fuzz_stops = 0;
void count_stop(const char*) {
    ++fuzz_stops;
}
void drop_line(int, const char*, int) {}

// Ends a dialog as soon as its window exists: every control has been written to it by then, and
// the exit reads every control back.
void exit_when_shown(Dialog& d, int32_t&, int32_t&) {
    dlg_exit(d);
}
} // namespace

// Mutated templates either build records or are refused (or stop on a rejected style); the
// operations on whatever was built stay within the records, and every template that builds is
// also shown (and ended at once) without harm.
TEST(DialogInit, SurvivesMutatedTemplates) {
    set_stop_routine(count_stop);
    set_line_sink(drop_line);
    std::mt19937 rng(777);
    std::vector<std::vector<unsigned char>> seeds;
    for (const auto& entry : program_dialogs())
        seeds.push_back(build_template(entry.second));
    int built = 0;
    for (int run = 0; run < 20000; ++run) {
        std::vector<unsigned char> b = seeds[rng() % seeds.size()];
        int flips = 1 + static_cast<int>(rng() % 6);
        for (int f = 0; f < flips; ++f)
            b[rng() % b.size()] = static_cast<unsigned char>(rng());
        if (rng() % 4 == 0) b.resize(rng() % (b.size() + 1));
        add_template(920, b.data(), b.size());
        Dialog d;
        if (!dlg_init(d, 920)) continue;
        ++built;
        for (const DialogControl& c : d.controls) {
            int32_t id = c.id;
            char buf[8];
            bool flag;
            int32_t n;
            const int32_t selectors[] = {sel_default,  sel_text,      sel_enable, sel_state,
                                         sel_position, sel_num_items, 1,          2};
            for (int32_t sel : selectors) {
                dlg_get(d, id, buf, 8, sel);
                dlg_get(d, id, flag, sel);
                dlg_get(d, id, n, sel);
                dlg_set(d, id, "ab", 2, sel);
                dlg_set(d, id, (rng() & 1) != 0, sel);
                dlg_set(d, id, int32_t{3}, sel);
            }
        }
        for (const DialogControl& c : d.controls)
            for (const std::string& t : c.texts)
                ASSERT_EQ(t.size(), 256u);
        ASSERT_TRUE(dlg_set_callback(d, 920, exit_when_shown));
        const int32_t shown = dlg_modal(d);
        ASSERT_TRUE(shown == -1 || shown == d.return_value);
        ASSERT_EQ(d.window, nullptr);
        for (const DialogControl& c : d.controls)
            for (const std::string& t : c.texts)
                ASSERT_EQ(t.size(), 256u);
    }
    remove_template(920);
    set_stop_routine(nullptr);
    set_line_sink(nullptr);
    EXPECT_GT(built, 100);
}
