// The menu model shown through the toolkit's actions, the reduced bar, the window list and chosen
// commands.
#include "window/kernel/menu_bar.h"

#include "window/kernel/command_ids.h"
#include "window/kernel/frame.h"
#include "window/kernel/stop_guard.h"
#include "window/kernel/window_table.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <vector>

namespace {

// The toolkit's objects showing one top-level entry of the model; the frame owns them.
struct TopActions {
    QAction* action = nullptr;   // the bar entry: the menu's own action or a plain command
    QMenu* menu = nullptr;       // null for a plain top-level command
    std::vector<QAction*> items; // one per item of the model's menu, in the same order
};

MenuModel g_model;                        // what the bar shows while child windows exist
std::vector<TopActions> g_tops;           // one per g_model.menus entry, in the same order
QMenu* g_reduced = nullptr;               // the bar shown while no child window exists
std::vector<QAction*> g_window_actions;   // the child window list at the end of the window menu
StandardCommandRunner g_runner = nullptr; // runs the standard commands

QString qtext(const std::string& s) {
    return QString::fromUtf8(s.c_str());
}

void set_checked(QAction* a, bool on) {
    a->setCheckable(on);
    a->setChecked(on);
}

// Brings an action up to its model entry; a menu's own action carries no command.
void show(QAction* a, const MenuEntry& e, bool command) {
    a->setText(qtext(e.text));
    if (command) a->setData(e.id);
    a->setSeparator(e.separator);
    a->setEnabled(e.enabled);
    set_checked(a, e.checked);
}

void show_all() {
    for (size_t i = 0; i < g_tops.size(); ++i) {
        const MenuTop& top = g_model.menus[i];
        show(g_tops[i].action, top.entry, !top.is_menu);
        for (size_t k = 0; k < top.items.size(); ++k)
            show(g_tops[i].items[k], top.items[k], true);
    }
}

// Shows the model's entry (menu, item) on its action; both exist.
void show_entry(int menu, int item) {
    const MenuTop& top = g_model.menus[menu - 1];
    const TopActions& t = g_tops[menu - 1];
    if (item == 0)
        show(t.action, top.entry, !top.is_menu);
    else
        show(t.items[item - 1], top.items[item - 1], true);
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

QAction* new_action(const MenuEntry& e, QObject* parent) {
    auto* a = new QAction(qtext(e.text), parent);
    a->setData(e.id);
    QObject::connect(a, &QAction::triggered, a, [a] { on_triggered(a); });
    show(a, e, true);
    return a;
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

// A menu showing the model's top-level entry top, its items not yet added.
QMenu* new_menu(const MenuTop& top, Frame* f) {
    auto* menu = new QMenu(qtext(top.entry.text), f);
    show(menu->menuAction(), top.entry, false);
    if (top.window_list)
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { list_windows(menu); });
    return menu;
}

void delete_top(TopActions& t) {
    if (t.menu)
        delete t.menu; // with its items and any window list
    else
        delete t.action;
}

} // namespace

void build_standard_menus(Frame* f) {
    add_standard_menus(g_model);
    for (const MenuTop& top : g_model.menus) {
        TopActions t;
        t.menu = new_menu(top, f);
        t.action = t.menu->menuAction();
        for (const MenuEntry& e : top.items) {
            t.items.push_back(new_action(e, t.menu));
            t.menu->addAction(t.items.back());
        }
        g_tops.push_back(t);
    }

    g_reduced = new QMenu(QStringLiteral("&File"), f);
    MenuEntry exit_entry;
    exit_entry.text = "E&xit";
    exit_entry.id = kCmdExit;
    g_reduced->addAction(new_action(exit_entry, g_reduced));

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
        for (TopActions& t : g_tops)
            bar->addAction(t.action);
    } else if (g_reduced) {
        bar->addAction(g_reduced->menuAction());
    }
}

void refresh_check_marks() {
    Frame* f = frame();
    if (!f) return;
    ChildWindow* cw = window_for_sub(f->mdi->currentSubWindow());
    for (MenuTop& top : g_model.menus)
        for (MenuEntry& e : top.items) {
            if (e.id == kCmdSizeToFit) e.checked = cw && cw->display_scaled;
            if (e.id == kCmdStatusBar) e.checked = f->statusBar()->isVisible();
        }
    show_all();
}

void forget_menus() {
    for (TopActions& t : g_tops)
        delete_top(t);
    g_tops.clear();
    g_model = MenuModel{};
    g_window_actions.clear();
    delete g_reduced;
    g_reduced = nullptr;
}

void pause_program_items() {
    pause_program_entries(g_model);
    show_all();
}

void resume_program_items() {
    resume_program_entries(g_model);
    show_all();
}

void grey_program_items() {
    grey_program_entries(g_model);
    show_all();
}

void show_pause_item(bool paused) {
    show_pause_entry(g_model, paused);
    show_all();
}

void enable_input_item(bool enabled) {
    if (MenuEntry* e = find_menu_item(g_model, kCmdInput)) {
        e->enabled = enabled;
        show_all();
    }
}

bool command_enabled(int id) {
    const MenuEntry* e = find_menu_item(g_model, id);
    return e && e->enabled;
}

void run_command(int id, int state) {
    if (!is_program_id(id)) {
        if (g_runner) g_runner(id);
        return;
    }
    const MenuCallback callback = program_routine(g_model, id);
    if (!callback) return;
    struct Call {
        MenuCallback callback; // the program's routine
        int32_t state;         // the item's state flags when chosen
    } call{callback, state};
    dispatch_program_callback(
        [](void* c) {
            auto* p = static_cast<Call*>(c);
            p->callback(p->state);
        },
        &call);
}

void set_standard_command_runner(StandardCommandRunner runner) {
    g_runner = runner;
}

// --- The program's menu operations ---------------------------------------------

int insert_bar_entry(int menu, int item, int flags, const char* text, int standard_id,
                     MenuCallback callback) {
    Frame* f = frame();
    if (!f) return 0;
    const MenuInsertion done =
        insert_menu_entry(g_model, menu, item, flags, text, standard_id, callback);
    if (done == kInsertRefused) return 0;
    const MenuTop& top = g_model.menus[menu - 1];
    if (done == kInsertTop) {
        TopActions t;
        t.action = new_action(top.entry, f);
        g_tops.insert(g_tops.begin() + (menu - 1), t);
        refresh_menu_bar();
        return 1;
    }
    TopActions& t = g_tops[menu - 1];
    if (done == kInsertItemIntoCommand) {
        // The plain command's action goes; a menu with the same text takes its place.
        QMenu* m = new_menu(top, f);
        delete t.action;
        t.action = m->menuAction();
        t.menu = m;
        refresh_menu_bar();
    }
    // The place is found among the actions as they were before this item.
    QAction* before = nullptr;
    if (item <= static_cast<int>(t.items.size()))
        before = t.items[item - 1];
    else if (top.window_list && !g_window_actions.empty())
        before = g_window_actions.front();
    QAction* a = new_action(top.items[item - 1], t.menu);
    t.menu->insertAction(before, a);
    t.items.insert(t.items.begin() + (item - 1), a);
    return 1;
}

int delete_bar_entry(int menu, int item) {
    if (!frame()) return 0;
    const MenuTop* top = menu_top(g_model, menu);
    const bool window_list = top && top->window_list;
    if (!delete_menu_entry(g_model, menu, item)) return 0;
    TopActions& t = g_tops[menu - 1];
    if (item == 0) {
        if (window_list) g_window_actions.clear(); // owned by the menu, deleted with it
        delete_top(t);
        g_tops.erase(g_tops.begin() + (menu - 1));
        refresh_menu_bar();
        return 1;
    }
    delete t.items[item - 1];
    t.items.erase(t.items.begin() + (item - 1));
    return 1;
}

int modify_bar_entry_flags(int menu, int item, int flags) {
    if (!modify_menu_entry_flags(g_model, menu, item, flags)) return 0;
    show_entry(menu, item);
    return 1;
}

int modify_bar_entry_text(int menu, int item, const char* text) {
    if (!modify_menu_entry_text(g_model, menu, item, text)) return 0;
    show_entry(menu, item);
    return 1;
}

const MenuModel& frame_menu_model() {
    return g_model;
}

int choose_bar_entry(int menu, int item) {
    if (!frame()) return 0;
    QAction* a = nullptr;
    if (window_count() == 0) {
        // The reduced bar: only "E&xit".
        if (menu == 1 && item == 1 && g_reduced) a = g_reduced->actions().value(0);
    } else {
        const MenuTop* top = menu_top(g_model, menu);
        if (!top || !top->entry.enabled) return 0;
        if (item == 0)
            a = top->is_menu ? nullptr : g_tops[menu - 1].action;
        else if (menu_entry(g_model, menu, item))
            a = g_tops[menu - 1].items[item - 1];
    }
    if (!a || !a->isEnabled() || a->isSeparator()) return 0;
    a->trigger();
    return 1;
}

int shown_bar_count() {
    return frame() ? static_cast<int>(frame()->menuBar()->actions().size()) : 0;
}

bool shown_bar_text(int index, std::string& text) {
    if (!frame()) return false;
    const auto acts = frame()->menuBar()->actions();
    if (index < 1 || index > acts.size()) return false;
    text = acts[index - 1]->text().toStdString();
    return true;
}
