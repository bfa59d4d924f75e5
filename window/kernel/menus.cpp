// The menu bar's items, their states and the standard commands behind them.
#include "window/kernel/menus.h"

#include "window/kernel/frame.h"
#include "window/kernel/menu_bar.h"
#include "window/kernel/internal_error.h"
#include "window/kernel/message_box.h"
#include "window/kernel/program_state.h"
#include "window/kernel/command_ids.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/stop_guard.h"
#include "window/kernel/window_table.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

// One item of a menu.
struct Item {
    QAction* action = nullptr;  // the entry: text, enabled, checked, separator
    int id = 0;                 // command id: standard 1000..1023, or the program's from 1101
    bool paused_enabled = true; // enabled state recorded by Pause, given back by Resume
};

// One top-level entry of the menu bar.
struct TopMenu {
    QAction* action = nullptr;  // the bar entry: the menu's own action or a plain command
    QMenu* menu = nullptr;      // null for a plain top-level command
    int id = 0;                 // command of a plain entry (0 for a menu)
    bool paused_enabled = true; // as Item::paused_enabled, for a plain program command
    bool window_list = false;   // the menu that lists the child windows
    std::vector<Item> items;    // the items, in display order (without the window list)
};

std::vector<TopMenu> g_menus;
// Program callbacks, indexed by command id - kFirstProgramId; ids are never reused.
std::vector<MenuCallback> g_callbacks;
QMenu* g_reduced = nullptr;               // the bar shown while no child window exists
std::vector<QAction*> g_window_actions;   // the child window list at the end of the window menu
bool g_items_paused = false;              // Pause has recorded the program items' states
StandardCommandRunner g_runner = nullptr; // runs the standard commands

// Predefined routines and the standard commands they stand for.
struct Predefined {
    MenuCallback routine;
    int id;
};
const Predefined kPredefined[] = {
    {menu_exit, kCmdExit},
    {menu_select_text, kCmdSelectText},
    {menu_select_graphics, kCmdSelectGraphics},
    {menu_select_all, kCmdSelectAll},
    {menu_copy, kCmdCopy},
    {menu_size_to_fit, kCmdSizeToFit},
    {menu_full_screen, kCmdFullScreen},
    {menu_pause, kCmdPause},
    {menu_resume, kCmdResume},
    {menu_cascade, kCmdCascade},
    {menu_tile, kCmdTile},
    {menu_arrange_icons, kCmdArrangeIcons},
    {menu_status_bar, kCmdStatusBar},
    {menu_help_contents, kCmdHelpContents},
    {menu_help_using, kCmdHelpUsing},
    {menu_about, kCmdAbout},
    {menu_print, kCmdPrint},
    {menu_save, kCmdSave},
    {menu_paste, kCmdPaste},
    {menu_clear_paste, kCmdClearPaste},
    {menu_input, kCmdInput},
};

int predefined_id(MenuCallback cb) {
    for (const Predefined& p : kPredefined)
        if (p.routine == cb) return p.id;
    return 0;
}

bool is_program_id(int id) {
    return id >= kFirstProgramId;
}

QString qtext(const std::string& s) {
    return QString::fromUtf8(s.c_str());
}

// A text without '&' gets one in front, so its first character is the mnemonic.
std::string with_mnemonic(const char* text) {
    std::string t = text;
    if (!t.empty() && t.find('&') == std::string::npos) t.insert(t.begin(), '&');
    return t;
}

// State flags of an entry as the program sees them: 1 grayed, 8 separator, 16 checked.
int flags_of(const QAction* a) {
    return (a->isEnabled() ? 0 : 1) | (a->isSeparator() ? 8 : 0) | (a->isChecked() ? 16 : 0);
}

void set_checked(QAction* a, bool on) {
    a->setCheckable(on);
    a->setChecked(on);
}

void on_triggered(QAction* a) {
    // A checkable action has already toggled itself; menu items here keep
    // their check mark until the program changes it.
    bool checked = a->isChecked();
    if (a->isCheckable()) {
        checked = !checked;
        a->setChecked(checked);
    }
    run_command(a->data().toInt(), checked ? 8 : 0);
}

QAction* new_action(const std::string& text, int id, QObject* parent) {
    auto* a = new QAction(qtext(text), parent);
    a->setData(id);
    QObject::connect(a, &QAction::triggered, a, [a] { on_triggered(a); });
    return a;
}

// One standard item: its text and command id.
struct StandardItem {
    const char* text;
    int id;
};

void add_standard_menu(Frame* f, const char* title, std::initializer_list<StandardItem> items,
                       bool window_list = false) {
    TopMenu top;
    top.menu = new QMenu(QString::fromUtf8(title), f);
    top.action = top.menu->menuAction();
    top.window_list = window_list;
    for (const StandardItem& s : items) {
        Item it;
        it.id = s.id;
        it.action = new_action(s.text, s.id, top.menu);
        top.menu->addAction(it.action);
        top.items.push_back(it);
    }
    g_menus.push_back(top);
}

// Lists the child windows at the end of the window menu; each entry activates its window.
void list_windows(QMenu* menu) {
    for (QAction* a : g_window_actions)
        delete a;
    g_window_actions.clear();
    Frame* f = frame();
    if (!f) return;
    const auto subs = f->mdi->subWindowList();
    if (subs.isEmpty()) return;
    g_window_actions.push_back(menu->addSeparator());
    int n = 0;
    for (QMdiSubWindow* sub : subs) {
        auto* a = menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sub->windowTitle()));
        set_checked(a, sub == f->mdi->currentSubWindow());
        QObject::connect(a, &QAction::triggered, a, [sub] {
            if (frame()) frame()->mdi->setActiveSubWindow(sub);
        });
        g_window_actions.push_back(a);
    }
}

QAction* find_action(int id) {
    for (TopMenu& top : g_menus)
        for (Item& it : top.items)
            if (it.id == id) return it.action;
    return nullptr;
}

// Turns a plain top-level command into a menu with the same text and state;
// its own command is dropped.
void make_menu(TopMenu& top) {
    auto* menu = new QMenu(top.action->text(), frame());
    // While paused a program command is greyed by the pause, not by the
    // program: the menu takes the state the program gave the command, since
    // Resume no longer looks after it once it is a menu.
    const bool paused_program = g_items_paused && is_program_id(top.id);
    menu->menuAction()->setEnabled(paused_program ? top.paused_enabled : top.action->isEnabled());
    delete top.action;
    top.action = menu->menuAction();
    top.menu = menu;
    top.id = 0;
    top.paused_enabled = true;
}

TopMenu* top_at(int menu) {
    if (menu < 1 || menu > static_cast<int>(g_menus.size())) return nullptr;
    return &g_menus[menu - 1];
}

Item* item_at(int menu, int item) {
    TopMenu* top = top_at(menu);
    if (!top || item < 1 || item > static_cast<int>(top->items.size())) return nullptr;
    return &top->items[item - 1];
}

// The action of (menu, item), item 0 being the top-level entry; null if out of range.
QAction* action_at(int menu, int item) {
    if (item == 0) {
        TopMenu* top = top_at(menu);
        return top ? top->action : nullptr;
    }
    Item* it = item_at(menu, item);
    return it ? it->action : nullptr;
}

// The recorded-state slot of a program entry while paused, else null.
bool* paused_slot(int menu, int item) {
    if (!g_items_paused) return nullptr;
    if (item == 0) {
        TopMenu* top = top_at(menu);
        return top && is_program_id(top->id) ? &top->paused_enabled : nullptr;
    }
    Item* it = item_at(menu, item);
    return it && is_program_id(it->id) ? &it->paused_enabled : nullptr;
}

int insert_on_ui(int menu, int item, int flags, const char* text, MenuCallback callback) {
    Frame* f = frame();
    const int n = static_cast<int>(g_menus.size());
    if (!f || !text || menu < 1 || item < 0) return 0;
    if (item == 0 ? menu > n + 1 : menu > n) return 0;
    if (item > 0) {
        TopMenu& top = g_menus[menu - 1];
        const int count = top.menu ? static_cast<int>(top.items.size()) : 0;
        if (item > count + 1) return 0;
    }
    // Everything is checked: from here on the insertion happens.
    const std::string t = with_mnemonic(text);
    int id = predefined_id(callback);
    if (id == 0) {
        id = kFirstProgramId + static_cast<int>(g_callbacks.size());
        g_callbacks.push_back(callback);
    }
    const bool enabled = !(flags & 3);
    if (item == 0) {
        TopMenu top;
        top.action = new_action(t, id, f);
        top.id = id;
        top.action->setEnabled(enabled);
        if (flags & 16) set_checked(top.action, true);
        if (g_items_paused && is_program_id(id)) {
            top.paused_enabled = enabled;
            top.action->setEnabled(false);
        }
        g_menus.insert(g_menus.begin() + (menu - 1), top);
        refresh_menu_bar();
        return 1;
    }
    TopMenu& top = g_menus[menu - 1];
    if (!top.menu) {
        make_menu(top);
        refresh_menu_bar();
    }
    Item it;
    it.id = id;
    it.action = new_action(t, id, top.menu);
    if (flags & 8) it.action->setSeparator(true);
    it.action->setEnabled(enabled);
    if (flags & 16) set_checked(it.action, true);
    if (g_items_paused && is_program_id(id)) {
        it.paused_enabled = enabled;
        it.action->setEnabled(false);
    }
    QAction* before = nullptr;
    if (item <= static_cast<int>(top.items.size()))
        before = top.items[item - 1].action;
    else if (top.window_list && !g_window_actions.empty())
        before = g_window_actions.front();
    top.menu->insertAction(before, it.action);
    top.items.insert(top.items.begin() + (item - 1), it);
    return 1;
}

int delete_on_ui(int menu, int item) {
    if (!frame()) return 0;
    TopMenu* top = top_at(menu);
    if (!top) return 0;
    if (item == 0) {
        if (top->window_list) {
            g_window_actions.clear(); // owned by the menu, deleted with it
        }
        if (top->menu)
            delete top->menu;
        else
            delete top->action;
        g_menus.erase(g_menus.begin() + (menu - 1));
        refresh_menu_bar();
        return 1;
    }
    Item* it = item_at(menu, item);
    if (!it) return 0;
    delete it->action;
    top->items.erase(top->items.begin() + (item - 1));
    return 1;
}

int modify_flags_on_ui(int menu, int item, int flags) {
    QAction* a = action_at(menu, item);
    if (!a) return 0;
    bool* recorded = paused_slot(menu, item);
    if (flags & 3) {
        if (recorded)
            *recorded = false;
        else
            a->setEnabled(false);
    } else if (flags & 4) {
        // While paused a program item stays greyed; Resume gives it this state.
        if (recorded)
            *recorded = true;
        else
            a->setEnabled(true);
    }
    if (flags & 16)
        set_checked(a, true);
    else if (flags & 32)
        set_checked(a, false);
    return 1;
}

int modify_text_on_ui(int menu, int item, const char* text) {
    QAction* a = action_at(menu, item);
    if (!a || !text) return 0;
    a->setText(qtext(with_mnemonic(text)));
    return 1;
}

// Copies s into buf (NUL-terminated, truncated to size); returns s's length.
int copy_out(const QString& s, char* buf, int size) {
    const QByteArray b = s.toUtf8();
    if (buf && size > 0) {
        const int n = std::min(size - 1, static_cast<int>(b.size()));
        std::memcpy(buf, b.constData(), static_cast<size_t>(n));
        buf[n] = '\0';
    }
    return static_cast<int>(b.size());
}

int ui_int(const std::function<int()>& fn) {
    int r = 0;
    run_on_ui([&] { r = fn(); });
    return r;
}

} // namespace

// --- The menu model (menu_bar.h) -------------------------------------------

void build_standard_menus(Frame* f) {
    add_standard_menu(
        f, "&File",
        {{"&Print...", kCmdPrint}, {"&Save...", kCmdSave}, {"E&xit\tCtrl+C", kCmdExit}});
    add_standard_menu(f, "&Edit",
                      {{"Select &Text", kCmdSelectText},
                       {"Select &Graphics", kCmdSelectGraphics},
                       {"Select &All", kCmdSelectAll},
                       {"&Copy\tCtrl+Ins", kCmdCopy},
                       {"&Paste", kCmdPaste}});
    add_standard_menu(
        f, "&View", {{"&Size To Fit", kCmdSizeToFit}, {"&Full Screen\tAlt+Enter", kCmdFullScreen}});
    add_standard_menu(f, "&State", {{"&Pause\tCtrl+S", kCmdPause}});
    add_standard_menu(f, "&Window",
                      {{"&Cascade", kCmdCascade},
                       {"&Tile", kCmdTile},
                       {"&Arrange Icons", kCmdArrangeIcons},
                       {"&Input", kCmdInput},
                       {"C&lear Paste", kCmdClearPaste},
                       {"&Status Bar", kCmdStatusBar}},
                      true);
    add_standard_menu(
        f, "&Help",
        {{"&Contents", kCmdHelpContents}, {"Using &Help", kCmdHelpUsing}, {"&About", kCmdAbout}});

    find_action(kCmdInput)->setEnabled(false);
    set_checked(find_action(kCmdStatusBar), true);
    for (TopMenu& top : g_menus)
        if (top.window_list)
            QObject::connect(top.menu, &QMenu::aboutToShow, top.menu,
                             [m = top.menu] { list_windows(m); });

    g_reduced = new QMenu(QStringLiteral("&File"), f);
    g_reduced->addAction(new_action("E&xit", kCmdExit, g_reduced));

    QObject::connect(f->mdi, &QMdiArea::subWindowActivated, f, [](QMdiSubWindow* sub) {
        // A null activation also comes when the frame loses focus to another
        // program: the bar follows whether child windows exist, not focus.
        refresh_menu_bar();
        if (sub) refresh_check_marks();
    });
}

void refresh_menu_bar() {
    Frame* f = frame();
    if (!f) return;
    QMenuBar* bar = f->menuBar();
    bar->clear();
    if (window_count() > 0) {
        for (TopMenu& top : g_menus)
            bar->addAction(top.action);
    } else if (g_reduced) {
        bar->addAction(g_reduced->menuAction());
    }
}

void refresh_check_marks() {
    Frame* f = frame();
    if (!f) return;
    ChildWindow* cw = window_for_sub(f->mdi->currentSubWindow());
    for (TopMenu& top : g_menus)
        for (Item& it : top.items) {
            if (it.id == kCmdSizeToFit) set_checked(it.action, cw && cw->display_scaled);
            if (it.id == kCmdStatusBar) set_checked(it.action, f->statusBar()->isVisible());
        }
}

void forget_menus() {
    for (TopMenu& top : g_menus) {
        if (top.menu)
            delete top.menu;
        else
            delete top.action;
    }
    g_menus.clear();
    g_callbacks.clear();
    g_window_actions.clear();
    delete g_reduced;
    g_reduced = nullptr;
    g_items_paused = false;
}

void pause_program_items() {
    for (TopMenu& top : g_menus) {
        if (is_program_id(top.id)) {
            top.paused_enabled = top.action->isEnabled();
            top.action->setEnabled(false);
        }
        for (Item& it : top.items)
            if (is_program_id(it.id)) {
                it.paused_enabled = it.action->isEnabled();
                it.action->setEnabled(false);
            }
    }
    g_items_paused = true;
}

void resume_program_items() {
    if (!g_items_paused) return;
    for (TopMenu& top : g_menus) {
        if (is_program_id(top.id)) top.action->setEnabled(top.paused_enabled);
        for (Item& it : top.items)
            if (is_program_id(it.id)) it.action->setEnabled(it.paused_enabled);
    }
    g_items_paused = false;
}

void grey_program_items() {
    for (TopMenu& top : g_menus) {
        if (is_program_id(top.id)) top.action->setEnabled(false);
        for (Item& it : top.items)
            if (is_program_id(it.id)) it.action->setEnabled(false);
    }
    // The recorded states die with the program: nothing may enable them again.
    g_items_paused = false;
}

void show_pause_item(bool paused) {
    for (TopMenu& top : g_menus)
        for (Item& it : top.items)
            if (it.id == kCmdPause || it.id == kCmdResume) {
                it.id = paused ? kCmdResume : kCmdPause;
                it.action->setData(it.id);
                it.action->setText(paused ? QStringLiteral("&Resume\tCtrl+Q")
                                          : QStringLiteral("&Pause\tCtrl+S"));
            }
}

void enable_input_item(bool enabled) {
    if (QAction* a = find_action(kCmdInput)) a->setEnabled(enabled);
}

bool command_enabled(int id) {
    QAction* a = find_action(id);
    return a && a->isEnabled();
}

void run_command(int id, int state) {
    if (!is_program_id(id)) {
        if (g_runner) g_runner(id);
        return;
    }
    const size_t index = static_cast<size_t>(id - kFirstProgramId);
    if (index >= g_callbacks.size() || !g_callbacks[index]) return;
    struct Call {
        MenuCallback callback; // the program's routine
        int32_t state;         // the item's state flags when chosen
    } call{g_callbacks[index], state};
    dispatch_program_callback(
        [](void* c) {
            auto* p = static_cast<Call*>(c);
            p->callback(p->state);
        },
        &call);
}

// --- Predefined routines (menus.h) ---------------------------------------------

namespace {
// A predefined routine called directly runs its command, on the interface thread.
void run_on_ui_command(int id) {
    run_on_ui([id] { run_command(id, 0); });
}
} // namespace

void menu_exit(int32_t&) {
    run_on_ui_command(kCmdExit);
}
void menu_select_text(int32_t&) {
    run_on_ui_command(kCmdSelectText);
}
void menu_select_graphics(int32_t&) {
    run_on_ui_command(kCmdSelectGraphics);
}
void menu_select_all(int32_t&) {
    run_on_ui_command(kCmdSelectAll);
}
void menu_copy(int32_t&) {
    run_on_ui_command(kCmdCopy);
}
void menu_size_to_fit(int32_t&) {
    run_on_ui_command(kCmdSizeToFit);
}
void menu_full_screen(int32_t&) {
    run_on_ui_command(kCmdFullScreen);
}
void menu_pause(int32_t&) {
    run_on_ui_command(kCmdPause);
}
void menu_resume(int32_t&) {
    run_on_ui_command(kCmdResume);
}
void menu_cascade(int32_t&) {
    run_on_ui_command(kCmdCascade);
}
void menu_tile(int32_t&) {
    run_on_ui_command(kCmdTile);
}
void menu_arrange_icons(int32_t&) {
    run_on_ui_command(kCmdArrangeIcons);
}
void menu_status_bar(int32_t&) {
    run_on_ui_command(kCmdStatusBar);
}
void menu_help_contents(int32_t&) {
    run_on_ui_command(kCmdHelpContents);
}
void menu_help_using(int32_t&) {
    run_on_ui_command(kCmdHelpUsing);
}
void menu_about(int32_t&) {
    run_on_ui_command(kCmdAbout);
}
void menu_print(int32_t&) {
    run_on_ui_command(kCmdPrint);
}
void menu_save(int32_t&) {
    run_on_ui_command(kCmdSave);
}
void menu_paste(int32_t&) {
    run_on_ui_command(kCmdPaste);
}
void menu_clear_paste(int32_t&) {
    run_on_ui_command(kCmdClearPaste);
}
void menu_input(int32_t&) {
    run_on_ui_command(kCmdInput);
}
void menu_nothing(int32_t&) {}

void set_standard_command_runner(StandardCommandRunner runner) {
    g_runner = runner;
}

// --- Public operations -------------------------------------------------------

int insert_menu_item(int menu, int item, int flags, const char* text, MenuCallback callback) {
    // A program thread's first use of the layer gives it its default window.
    if (!on_ui_thread() && !current_window()) return 0;
    return ui_int([&] {
        try {
            return insert_on_ui(menu, item, flags, text, callback);
        } catch (const std::bad_alloc&) {
            report_internal_error(kInternalWarning, 4, __FILE__, __LINE__);
            return 0;
        }
    });
}

int delete_menu_item(int menu, int item) {
    return ui_int([&] { return delete_on_ui(menu, item); });
}

int modify_menu_flags(int menu, int item, int flags) {
    return ui_int([&] { return modify_flags_on_ui(menu, item, flags); });
}

int modify_menu_text(int menu, int item, const char* text) {
    return ui_int([&] { return modify_text_on_ui(menu, item, text); });
}

int menu_count() {
    return ui_int([] { return static_cast<int>(g_menus.size()); });
}

int menu_item_count(int menu) {
    return ui_int([&] {
        TopMenu* top = top_at(menu);
        return top ? static_cast<int>(top->items.size()) : -1;
    });
}

int menu_item_text(int menu, int item, char* buf, int size) {
    return ui_int([&] {
        QAction* a = action_at(menu, item);
        return a ? copy_out(a->text(), buf, size) : -1;
    });
}

int menu_item_flags(int menu, int item) {
    return ui_int([&] {
        QAction* a = action_at(menu, item);
        return a ? flags_of(a) : -1;
    });
}

int menu_item_id(int menu, int item) {
    return ui_int([&] {
        if (item == 0) {
            TopMenu* top = top_at(menu);
            return top ? top->id : -1;
        }
        Item* it = item_at(menu, item);
        return it ? it->id : -1;
    });
}

int choose_menu_item(int menu, int item) {
    return ui_int([&] {
        if (!frame()) return 0;
        QAction* a = nullptr;
        if (window_count() == 0) {
            // The reduced bar: only "E&xit".
            if (menu == 1 && item == 1) a = g_reduced->actions().value(0);
        } else {
            TopMenu* top = top_at(menu);
            if (!top || !top->action->isEnabled()) return 0;
            a = item == 0 ? (top->menu ? nullptr : top->action) : action_at(menu, item);
        }
        if (!a || !a->isEnabled() || a->isSeparator()) return 0;
        a->trigger();
        return 1;
    });
}

int shown_menu_count() {
    return ui_int(
        [] { return frame() ? static_cast<int>(frame()->menuBar()->actions().size()) : 0; });
}

int shown_menu_text(int index, char* buf, int size) {
    return ui_int([&] {
        if (!frame()) return -1;
        const auto acts = frame()->menuBar()->actions();
        if (index < 1 || index > acts.size()) return -1;
        return copy_out(acts[index - 1]->text(), buf, size);
    });
}
