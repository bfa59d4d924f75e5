// The program's menu-relevant state and the routine that applies it to the menu bar.
#include "app/menu_state.h"

#include "app/menu_callbacks.h"
#include "app/new_curve.h"
#include "window/kernel/menus.h"

MenuState g_menu_state = {WorkspacePhase::none, false, false, false};

namespace {

void set_item(int menu, int item, bool enabled) {
    modify_menu_flags(menu, item, enabled ? kMenuEnabled : kMenuGrayed);
}

} // namespace

void update_menus() {
    const bool open = g_menu_state.workspace == WorkspacePhase::open;
    set_item(kFileMenu, kOpenWorkspaceItem, g_menu_state.workspace == WorkspacePhase::none);
    set_item(kFileMenu, kCloseWorkspaceItem, open);
    set_item(kFileMenu, kSaveResultsItem, open && g_menu_state.points_drawn);
    set_item(kStateMenu, kInputHnItem, open);
    set_item(kStateMenu, kSettingsItem, open && !g_menu_state.start_fixed);
    set_item(kStateMenu, kAxesItem, open);
    set_item(kStateMenu, kNewCurveItem, open && g_menu_state.points_drawn);
}

void on_construction_started() {
    g_menu_state.start_fixed = true;
    update_menus();
}

void on_points_drawn() {
    g_menu_state.points_drawn = true;
    g_menu_state.unsaved = true;
    update_menus();
    if (curve_buffer_full()) show_curve_full_message();
}
