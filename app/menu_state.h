// The program's state as its menus see it, and update_menus, the one place that derives the
// enabled or grayed state of every application item from it. Interface thread only.
#pragma once

// How far the workspace has come.
enum class WorkspacePhase {
    none,    // no workspace: only "Open workspace..." can be chosen
    opening, // Hc confirmed, the window being built: "Open workspace..." already grayed
    open,    // the workspace window is up: its items can be chosen
};

// Everything the application's menu items depend on.
struct MenuState {
    WorkspacePhase workspace; // see WorkspacePhase
    bool start_fixed;  // Settings confirmed or a construction started since the workspace opened:
                       // the start point can no longer change, so "Settings..." is grayed
    bool points_drawn; // curve points were drawn in the open workspace: "Save results..." has
                       // something to save (grayed again when the workspace closes)
    bool unsaved;      // points were drawn since the curve was last saved: losing the curve (the
                       // end of the program, Close workspace) asks first
};

// The single instance; every item starts grayed but "Open workspace...".
extern MenuState g_menu_state;

// Sets the state of "Open workspace...", "Close workspace", "Save results...", "Input Hn...",
// "Settings...", "Axes..." and "New curve" from g_menu_state. Call it after every change of
// g_menu_state.
void update_menus();

// The model's construction-started routine: fixes the start point and grays "Settings...".
void on_construction_started();

// The model's points-drawn routine: enables "Save results..." and marks the curve unsaved; says so
// in the workspace when the curve buffer is full.
void on_points_drawn();
