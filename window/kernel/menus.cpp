// The program's menu operations and the predefined routines; they reach the bar through menu_bar.
#include "window/kernel/menus.h"

#include "window/kernel/command_ids.h"
#include "window/kernel/interface_thread.h"
#include "window/kernel/internal_error.h"
#include "window/kernel/menu_bar.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/window_table.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <string>

namespace {

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

// The standard command a predefined routine brings with it; 0 for any other routine.
int predefined_id(MenuCallback cb) {
    for (const Predefined& p : kPredefined)
        if (p.routine == cb) return p.id;
    return 0;
}

// Copies s into buf (NUL-terminated, truncated to size); returns s's length.
int copy_out(const std::string& s, char* buf, int size) {
    if (buf && size > 0) {
        const int n = std::min(size - 1, static_cast<int>(s.size()));
        std::memcpy(buf, s.data(), static_cast<size_t>(n));
        buf[n] = '\0';
    }
    return static_cast<int>(s.size());
}

int ui_int(const std::function<int()>& fn) {
    int r = 0;
    run_on_ui([&] { r = fn(); });
    return r;
}

// A predefined routine called directly runs its command, on the interface thread.
void run_on_ui_command(int id) {
    run_on_ui([id] { run_command(id, 0); });
}

} // namespace

// --- Predefined routines -------------------------------------------------------

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

// --- Public operations -------------------------------------------------------

int insert_menu_item(int menu, int item, int flags, const char* text, MenuCallback callback) {
    // A program thread's first use of the layer gives it its default window.
    if (!on_ui_thread() && !current_window()) return 0;
    return ui_int([&] {
        try {
            return insert_bar_entry(menu, item, flags, text, predefined_id(callback), callback);
        } catch (const std::bad_alloc&) {
            report_internal_error(kInternalWarning, 4, __FILE__, __LINE__);
            return 0;
        }
    });
}

int insert_menu_item_before(int menu, int before_id, int flags, const char* text,
                            MenuCallback callback) {
    if (!on_ui_thread() && !current_window()) return 0;
    return ui_int([&] {
        const MenuTop* top = menu_top(frame_menu_model(), menu);
        if (!top) return 0;
        int item = static_cast<int>(top->items.size()) + 1;
        if (before_id != 0) {
            int m = 0;
            if (!find_menu_item_position(frame_menu_model(), before_id, m, item) || m != menu)
                return 0;
        }
        try {
            if (!insert_bar_entry(menu, item, flags, text, predefined_id(callback), callback))
                return 0;
        } catch (const std::bad_alloc&) {
            report_internal_error(kInternalWarning, 4, __FILE__, __LINE__);
            return 0;
        }
        const MenuEntry* e = menu_entry(frame_menu_model(), menu, item);
        return e ? e->id : 0;
    });
}

int menu_item_position(int id, int& menu, int& item) {
    return ui_int(
        [&] { return find_menu_item_position(frame_menu_model(), id, menu, item) ? 1 : 0; });
}

int delete_menu_item_by_id(int id) {
    return ui_int([&] {
        int menu = 0, item = 0;
        return find_menu_item_position(frame_menu_model(), id, menu, item)
                   ? delete_bar_entry(menu, item)
                   : 0;
    });
}

int modify_menu_flags_by_id(int id, int flags) {
    return ui_int([&] {
        int menu = 0, item = 0;
        return find_menu_item_position(frame_menu_model(), id, menu, item)
                   ? modify_bar_entry_flags(menu, item, flags)
                   : 0;
    });
}

int modify_menu_text_by_id(int id, const char* text) {
    return ui_int([&] {
        int menu = 0, item = 0;
        return find_menu_item_position(frame_menu_model(), id, menu, item)
                   ? modify_bar_entry_text(menu, item, text)
                   : 0;
    });
}

int delete_menu_item(int menu, int item) {
    return ui_int([&] { return delete_bar_entry(menu, item); });
}

int modify_menu_flags(int menu, int item, int flags) {
    return ui_int([&] { return modify_bar_entry_flags(menu, item, flags); });
}

int modify_menu_text(int menu, int item, const char* text) {
    return ui_int([&] { return modify_bar_entry_text(menu, item, text); });
}

int menu_count() {
    return ui_int([] { return static_cast<int>(frame_menu_model().menus.size()); });
}

int menu_item_count(int menu) {
    return ui_int([&] {
        const MenuTop* top = menu_top(frame_menu_model(), menu);
        return top ? static_cast<int>(top->items.size()) : -1;
    });
}

int menu_item_text(int menu, int item, char* buf, int size) {
    return ui_int([&] {
        const MenuEntry* e = menu_entry(frame_menu_model(), menu, item);
        return e ? copy_out(e->text, buf, size) : -1;
    });
}

int menu_item_flags(int menu, int item) {
    return ui_int([&] {
        const MenuEntry* e = menu_entry(frame_menu_model(), menu, item);
        return e ? menu_entry_flags(*e) : -1;
    });
}

int menu_item_id(int menu, int item) {
    return ui_int([&] {
        const MenuEntry* e = menu_entry(frame_menu_model(), menu, item);
        return e ? e->id : -1;
    });
}

int choose_menu_item(int menu, int item) {
    return ui_int([&] { return choose_bar_entry(menu, item); });
}

int shown_menu_count() {
    return ui_int([] { return shown_bar_count(); });
}

int shown_menu_text(int index, char* buf, int size) {
    return ui_int([&] {
        std::string text;
        return shown_bar_text(index, text) ? copy_out(text, buf, size) : -1;
    });
}
