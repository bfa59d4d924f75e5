// The menu model's operations on plain records: insertion, removal, states and the pause records.
#include "window/kernel/menu_model.h"

#include "window/kernel/command_ids.h"

namespace {

// One standard item: its text and command id.
struct StandardItem {
    const char* text;
    int id;
};

void add_standard_menu(MenuModel& m, const char* title, std::initializer_list<StandardItem> items,
                       bool window_list = false) {
    MenuTop top;
    top.entry.text = title;
    top.is_menu = true;
    top.window_list = window_list;
    for (const StandardItem& s : items) {
        MenuEntry e;
        e.text = s.text;
        e.id = s.id;
        top.items.push_back(e);
    }
    m.menus.push_back(top);
}

// A new entry with the state the program's flags give it.
MenuEntry new_entry(const MenuModel& m, const std::string& text, int id, int flags) {
    MenuEntry e;
    e.text = text;
    e.id = id;
    e.enabled = !(flags & 3);
    e.checked = (flags & 16) != 0;
    if (m.items_paused && is_program_id(id)) {
        e.paused_enabled = e.enabled;
        e.enabled = false;
    }
    return e;
}

// Turns a plain top-level command into a menu with the same text and state; its own command is
// dropped.
void make_menu(const MenuModel& m, MenuTop& top) {
    MenuEntry& e = top.entry;
    // While paused a program command is greyed by the pause, not by the program: the menu takes
    // the state the program gave the command, since Resume no longer looks after it once it is a
    // menu.
    if (m.items_paused && is_program_id(e.id)) e.enabled = e.paused_enabled;
    e.id = 0;
    e.checked = false;
    e.separator = false;
    e.paused_enabled = true;
    top.is_menu = true;
}

// The recorded-state slot of a program entry while paused, else null.
bool* paused_slot(MenuModel& m, int menu, int item) {
    if (!m.items_paused) return nullptr;
    MenuEntry* e = menu_entry(m, menu, item);
    return e && is_program_id(e->id) ? &e->paused_enabled : nullptr;
}

// Calls fn on every program entry, top-level commands and items.
template <typename Fn> void for_program_entries(MenuModel& m, Fn fn) {
    for (MenuTop& top : m.menus) {
        if (is_program_id(top.entry.id)) fn(top.entry);
        for (MenuEntry& e : top.items)
            if (is_program_id(e.id)) fn(e);
    }
}

} // namespace

bool is_program_id(int id) {
    return id >= kFirstProgramId;
}

std::string with_mnemonic(const char* text) {
    std::string t = text;
    if (!t.empty() && t.find('&') == std::string::npos) t.insert(t.begin(), '&');
    return t;
}

int menu_entry_flags(const MenuEntry& e) {
    return (e.enabled ? 0 : 1) | (e.separator ? 8 : 0) | (e.checked ? 16 : 0);
}

const MenuTop* menu_top(const MenuModel& m, int menu) {
    if (menu < 1 || menu > static_cast<int>(m.menus.size())) return nullptr;
    return &m.menus[menu - 1];
}

MenuTop* menu_top(MenuModel& m, int menu) {
    return const_cast<MenuTop*>(menu_top(static_cast<const MenuModel&>(m), menu));
}

const MenuEntry* menu_entry(const MenuModel& m, int menu, int item) {
    const MenuTop* top = menu_top(m, menu);
    if (!top) return nullptr;
    if (item == 0) return &top->entry;
    if (item < 1 || item > static_cast<int>(top->items.size())) return nullptr;
    return &top->items[item - 1];
}

MenuEntry* menu_entry(MenuModel& m, int menu, int item) {
    return const_cast<MenuEntry*>(menu_entry(static_cast<const MenuModel&>(m), menu, item));
}

bool find_menu_item_position(const MenuModel& m, int id, int& menu, int& item) {
    for (size_t i = 0; i < m.menus.size(); ++i)
        for (size_t k = 0; k < m.menus[i].items.size(); ++k)
            if (m.menus[i].items[k].id == id) {
                menu = static_cast<int>(i) + 1;
                item = static_cast<int>(k) + 1;
                return true;
            }
    return false;
}

MenuEntry* find_menu_item(MenuModel& m, int id) {
    for (MenuTop& top : m.menus)
        for (MenuEntry& e : top.items)
            if (e.id == id) return &e;
    return nullptr;
}

void add_standard_menus(MenuModel& m) {
    add_standard_menu(
        m, "&File",
        {{"&Print...", kCmdPrint}, {"&Save...", kCmdSave}, {"E&xit\tCtrl+C", kCmdExit}});
    add_standard_menu(m, "&Edit",
                      {{"Select &Text", kCmdSelectText},
                       {"Select &Graphics", kCmdSelectGraphics},
                       {"Select &All", kCmdSelectAll},
                       {"&Copy\tCtrl+Ins", kCmdCopy},
                       {"&Paste", kCmdPaste}});
    add_standard_menu(
        m, "&View", {{"&Size To Fit", kCmdSizeToFit}, {"&Full Screen\tAlt+Enter", kCmdFullScreen}});
    add_standard_menu(m, "&State", {{"&Pause\tCtrl+S", kCmdPause}});
    add_standard_menu(m, "&Window",
                      {{"&Cascade", kCmdCascade},
                       {"&Tile", kCmdTile},
                       {"&Arrange Icons", kCmdArrangeIcons},
                       {"&Input", kCmdInput},
                       {"C&lear Paste", kCmdClearPaste},
                       {"&Status Bar", kCmdStatusBar}},
                      true);
    add_standard_menu(
        m, "&Help",
        {{"&Contents", kCmdHelpContents}, {"Using &Help", kCmdHelpUsing}, {"&About", kCmdAbout}});
    find_menu_item(m, kCmdInput)->enabled = false;
    find_menu_item(m, kCmdStatusBar)->checked = true;
}

MenuInsertion insert_menu_entry(MenuModel& m, int menu, int item, int flags, const char* text,
                                int standard_id, MenuCallback callback) {
    const int n = static_cast<int>(m.menus.size());
    if (!text || menu < 1 || item < 0) return kInsertRefused;
    if (item == 0 ? menu > n + 1 : menu > n) return kInsertRefused;
    if (item > 0) {
        const MenuTop& top = m.menus[menu - 1];
        const int count = top.is_menu ? static_cast<int>(top.items.size()) : 0;
        if (item > count + 1) return kInsertRefused;
    }
    // Everything is checked: from here on the insertion happens.
    const std::string t = with_mnemonic(text);
    int id = standard_id;
    if (id == 0) {
        id = kFirstProgramId + static_cast<int>(m.callbacks.size());
        m.callbacks.push_back(callback);
    }
    if (item == 0) {
        MenuTop top;
        top.entry = new_entry(m, t, id, flags);
        m.menus.insert(m.menus.begin() + (menu - 1), top);
        return kInsertTop;
    }
    MenuTop& top = m.menus[menu - 1];
    const bool made_menu = !top.is_menu;
    if (made_menu) make_menu(m, top);
    MenuEntry e = new_entry(m, t, id, flags);
    e.separator = (flags & 8) != 0;
    top.items.insert(top.items.begin() + (item - 1), e);
    return made_menu ? kInsertItemIntoCommand : kInsertItem;
}

bool delete_menu_entry(MenuModel& m, int menu, int item) {
    MenuTop* top = menu_top(m, menu);
    if (!top || !menu_entry(m, menu, item)) return false;
    if (item == 0)
        m.menus.erase(m.menus.begin() + (menu - 1));
    else
        top->items.erase(top->items.begin() + (item - 1));
    return true;
}

bool modify_menu_entry_flags(MenuModel& m, int menu, int item, int flags) {
    MenuEntry* e = menu_entry(m, menu, item);
    if (!e) return false;
    bool* recorded = paused_slot(m, menu, item);
    if (flags & 3) {
        if (recorded)
            *recorded = false;
        else
            e->enabled = false;
    } else if (flags & 4) {
        // While paused a program entry stays greyed; Resume gives it this state.
        if (recorded)
            *recorded = true;
        else
            e->enabled = true;
    }
    if (flags & 16)
        e->checked = true;
    else if (flags & 32)
        e->checked = false;
    return true;
}

bool modify_menu_entry_text(MenuModel& m, int menu, int item, const char* text) {
    MenuEntry* e = menu_entry(m, menu, item);
    if (!e || !text) return false;
    e->text = with_mnemonic(text);
    return true;
}

void pause_program_entries(MenuModel& m) {
    for_program_entries(m, [](MenuEntry& e) {
        e.paused_enabled = e.enabled;
        e.enabled = false;
    });
    m.items_paused = true;
}

void resume_program_entries(MenuModel& m) {
    if (!m.items_paused) return;
    for_program_entries(m, [](MenuEntry& e) { e.enabled = e.paused_enabled; });
    m.items_paused = false;
}

void grey_program_entries(MenuModel& m) {
    for_program_entries(m, [](MenuEntry& e) { e.enabled = false; });
    // The recorded states die with the program: nothing may enable them again.
    m.items_paused = false;
}

void show_pause_entry(MenuModel& m, bool paused) {
    for (MenuTop& top : m.menus)
        for (MenuEntry& e : top.items)
            if (e.id == kCmdPause || e.id == kCmdResume) {
                e.id = paused ? kCmdResume : kCmdPause;
                e.text = paused ? "&Resume\tCtrl+Q" : "&Pause\tCtrl+S";
            }
}

MenuCallback program_routine(const MenuModel& m, int id) {
    if (!is_program_id(id)) return nullptr;
    const size_t index = static_cast<size_t>(id - kFirstProgramId);
    return index < m.callbacks.size() ? m.callbacks[index] : nullptr;
}
