// The application's menu callbacks of the File and State menus.
// The window layer calls them on the interface thread; the argument (the item's state) is ignored.
#pragma once

#include <cstdint>

// File menu.
void on_open_workspace(int32_t& state);  // asks for Hc, opens and draws the workspace
void on_close_workspace(int32_t& state); // removes the workspace window, restores the menus
void on_save_results(int32_t& state);    // saves the constructed curve

// State menu.
void on_input_hn(int32_t& state); // the reversal input dialog
void on_settings(int32_t& state); // memory factors and the start state
void on_axes(int32_t& state);     // the plotted ranges

// Menu and item numbers of the application's items (menus counted from 1 in the bar).
constexpr int kFileMenu = 1;
constexpr int kStateMenu = 4;
constexpr int kOpenWorkspaceItem = 1;
constexpr int kCloseWorkspaceItem = 2;
constexpr int kSaveResultsItem = 3;
constexpr int kSaveBitmapsItem = 4;
constexpr int kInputHnItem = 2;
constexpr int kSettingsItem = 3;
constexpr int kAxesItem = 4;
constexpr int kNewCurveItem = 5;

// Menu flags as the window layer takes them.
constexpr int kMenuGrayed = 1;
constexpr int kMenuEnabled = 4;
constexpr int kMenuSeparator = 8;
