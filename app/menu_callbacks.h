// The application's menu callbacks of the File and State menus.
// The window layer calls them on the interface thread; the argument (the item's state) is ignored.
#pragma once

#include <cstdint>

// File menu.
void on_open_workspace(int32_t& state);   // asks for Hc, opens and draws the workspace
void on_close_workspace(int32_t& state);  // removes the workspace window, restores the menus
void on_save_results(int32_t& state);     // saves the constructed curve
void on_open_measurement(int32_t& state); // a measured loop or FORC file over the model
void on_open_material(int32_t& state);    // a model file's density for the workspace
void on_forc_diagram(int32_t& state);     // the measured FORC file's diagram (app/forc_window.cpp)
void on_save_png(int32_t& state);         // the workspace's picture as PNG (app/save_picture.cpp)
void on_save_svg(int32_t& state);         // the plot as SVG shapes (app/save_picture.cpp)

// State menu.
void on_input_hn(int32_t& state);  // the reversal input dialog
void on_settings(int32_t& state);  // memory factors and the start state
void on_axes(int32_t& state);      // the plotted ranges
void on_new_curve(int32_t& state); // a new curve from the present point (app/new_curve.cpp)

// Menus of the application's items, counted from 1 in the bar. Items are addressed by their
// command ids (app/menu_state.h), never by position.
constexpr int kFileMenu = 1;
constexpr int kStateMenu = 4;

// Menu flags as the window layer takes them.
constexpr int kMenuGrayed = 1;
constexpr int kMenuEnabled = 4;
constexpr int kMenuSeparator = 8;
