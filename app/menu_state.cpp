// The program's menu-relevant state and the routine that applies it to the menu bar.
#include "app/menu_state.h"

#include "app/menu_callbacks.h"
#include "window/kernel/command_ids.h"
#include "window/kernel/menus.h"

#include <string>

MenuState g_menu_state = {WorkspacePhase::none, false, false, false, false};

namespace {

bool no_workspace(const MenuState& s) {
    return s.workspace == WorkspacePhase::none;
}
bool workspace_open(const MenuState& s) {
    return s.workspace == WorkspacePhase::open;
}
bool curve_drawn(const MenuState& s) {
    return workspace_open(s) && s.points_drawn;
}
bool forc_shown(const MenuState& s) {
    return workspace_open(s) && s.forc_measured;
}
bool start_free(const MenuState& s) {
    return workspace_open(s) && !s.start_fixed;
}

// The menu table, in display order within each menu. A new item is one more row (and one more
// AppCommand): no other item's number changes, since every item is found by its command id.
const AppMenuRow kAppMenu[] = {
    {AppCommand::open_workspace, kFileMenu, kCmdSave, "Open workspace...", "", on_open_workspace,
     no_workspace},
    {AppCommand::close_workspace, kFileMenu, kCmdSave, "Close workspace", "", on_close_workspace,
     workspace_open},
    {AppCommand::save_results, kFileMenu, kCmdSave, "Save results...", "", on_save_results,
     curve_drawn},
    {AppCommand::save_png, kFileMenu, kCmdExit, "Save &PNG...", "", on_save_png, workspace_open},
    {AppCommand::save_svg, kFileMenu, kCmdExit, "Save S&VG...", "", on_save_svg, workspace_open},
    {AppCommand::open_measurement, kFileMenu, kCmdExit, "Open &measurement...", "",
     on_open_measurement, workspace_open},
    {AppCommand::open_material, kFileMenu, kCmdExit, "Open ma&terial model...", "",
     on_open_material, workspace_open},
    {AppCommand::forc_diagram, kFileMenu, kCmdExit, "FORC &diagram...", "", on_forc_diagram,
     forc_shown},
    // The separator above Exit.
    {AppCommand::save_svg, kFileMenu, kCmdExit, "", "", menu_nothing, nullptr},
    {AppCommand::input_hn, kStateMenu, 0, "Input Hn...", "", on_input_hn, workspace_open},
    {AppCommand::settings, kStateMenu, 0, "Settings...", "", on_settings, start_free},
    {AppCommand::axes, kStateMenu, 0, "Axes...", "", on_axes, workspace_open},
    {AppCommand::new_curve, kStateMenu, 0, "New curve", "", on_new_curve, curve_drawn},
};

constexpr int kCommandCount = static_cast<int>(AppCommand::count);
int g_ids[kCommandCount] = {}; // command id of each AppCommand's item, once built

} // namespace

void build_app_menus() {
    // The standard print item goes; the standard save item keeps its command under a new text.
    delete_menu_item_by_id(kCmdPrint);
    modify_menu_text_by_id(kCmdSave, "Save bitmaps...");
    for (const AppMenuRow& row : kAppMenu) {
        std::string text = row.text;
        if (*row.key) text = text + "\t" + row.key;
        const bool separator = row.enabled == nullptr;
        const int flags =
            separator ? kMenuSeparator : (row.enabled(g_menu_state) ? kMenuEnabled : kMenuGrayed);
        const int id =
            insert_menu_item_before(row.menu, row.before, flags, text.c_str(), row.callback);
        if (!separator) g_ids[static_cast<int>(row.command)] = id;
    }
}

int app_command_id(AppCommand command) {
    const int i = static_cast<int>(command);
    return i >= 0 && i < kCommandCount ? g_ids[i] : 0;
}

int app_menu_item(AppCommand command) {
    int menu = 0, item = 0;
    return menu_item_position(app_command_id(command), menu, item) ? item : -1;
}

void update_menus() {
    for (const AppMenuRow& row : kAppMenu)
        if (row.enabled)
            modify_menu_flags_by_id(app_command_id(row.command),
                                    row.enabled(g_menu_state) ? kMenuEnabled : kMenuGrayed);
}

void on_construction_started() {
    g_menu_state.start_fixed = true;
    update_menus();
}

void on_points_drawn() {
    g_menu_state.points_drawn = true;
    g_menu_state.unsaved = true;
    update_menus();
}
