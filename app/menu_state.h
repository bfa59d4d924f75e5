// The program's state as its menus see it, and update_menus, the one place that derives the
// enabled or grayed state of every application item from it. Interface thread only.
#pragma once

#include <cstdint>

#include <cstdint>

// How far the workspace has come.
enum class WorkspacePhase {
    none,    // no workspace: only "Open workspace..." can be chosen
    opening, // Hc confirmed, the window being built: "Open workspace..." already grayed
    open,    // the workspace window is up: its items can be chosen
};

// Everything the application's menu items depend on.
struct MenuState {
    WorkspacePhase workspace; // see WorkspacePhase
    bool start_fixed;   // Settings confirmed or a construction started since the workspace opened:
                        // the start point can no longer change, so "Settings..." is grayed
    bool points_drawn;  // curve points were drawn in the open workspace: "Save results..." has
                        // something to save (grayed again when the workspace closes)
    bool unsaved;       // points were drawn since the curve was last saved: losing the curve (the
                        // end of the program, Close workspace) asks first
    bool forc_measured; // the workspace shows a measured FORC file: "FORC diagram..." can draw it
};

// The single instance; every item starts grayed but "Open workspace...".
extern MenuState g_menu_state;

// The application's own menu items, one per row of the menu table (app/menu_state.cpp).
enum class AppCommand {
    open_workspace,
    close_workspace,
    save_results,
    save_png,
    save_svg,
    input_hn,
    settings,
    axes,
    new_curve,
    open_measurement,
    open_material,
    forc_diagram,
    count, // number of commands, not a command
};

// One row of the menu table: an item, where it goes, what it runs and when it is enabled.
struct AppMenuRow {
    AppCommand command;                  // the item (a separator row repeats the one above it)
    int menu;                            // kFileMenu or kStateMenu
    int before;                          // the standard command id it stands before; 0: the end
    const char* text;                    // as shown, without the accelerator
    const char* key;                     // accelerator shown after a tab ("" for none)
    void (*callback)(int32_t& state);    // the menu callback
    bool (*enabled)(const MenuState& s); // when it can be chosen; null for a separator
};

// Builds the application's menus from the table: each row inserted where it says (the program
// thread's first use of the window layer), the print item dropped, the standard save item
// renamed "Save bitmaps...". Records each item's command id. Program or interface thread.
void build_app_menus();

// The command id the menu bar gave to an item (0 before build_app_menus).
int app_command_id(AppCommand command);

// Where an item stands now in its menu (tests and diagnostics); -1 when it is not there.
int app_menu_item(AppCommand command);

// Sets the enabled or grayed state of every item of the table from g_menu_state, by command id.
// Call it after every change of g_menu_state. Pause and Resume need nothing from here: the
// window layer greys and gives back every item the program inserted.
void update_menus();

// The model's construction-started routine: fixes the start point and grays "Settings...".
void on_construction_started();

// Enables "Save results..." and marks the curve unsaved (part of the model's points-drawn routine,
// on_curve_points_drawn).
void on_points_drawn();
