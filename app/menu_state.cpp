// The program's menu-relevant state and the routine that applies it to the menu bar.
#include "app/menu_state.h"

#include "app/menu_callbacks.h"
#include "window/kernel/menus.h"

ProgramState g_program = {WorkspacePhase::none, false, false};

namespace {

void set_item(int menu, int item, bool enabled) {
    modify_menu_flags(menu, item, enabled ? kMenuEnabled : kMenuGrayed);
}

} // namespace

void update_menus() {
    const bool open = g_program.workspace == WorkspacePhase::open;
    set_item(kFileMenu, kOpenWorkspaceItem, g_program.workspace == WorkspacePhase::none);
    set_item(kFileMenu, kCloseWorkspaceItem, open);
    set_item(kFileMenu, kSaveResultsItem, g_program.points_drawn);
    set_item(kStateMenu, kInputHnItem, open);
    set_item(kStateMenu, kSettingsItem, open && !g_program.start_fixed);
    set_item(kStateMenu, kAxesItem, open);
}

void on_construction_started() {
    g_program.start_fixed = true;
    update_menus();
}

void on_points_drawn() {
    g_program.points_drawn = true;
    update_menus();
}
