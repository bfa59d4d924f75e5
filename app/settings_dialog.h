// The Settings dialog (102): memory factor, attenuation factor and the start state, applied on OK.
// Interface thread only (menu and dialog callbacks).
#pragma once

#include <cstdint>

struct Dialog;

// Template and control ids of the Settings dialog.
constexpr int32_t kSettingsDialog = 102;
constexpr int32_t kSmemEdit = 1011;
constexpr int32_t kAmemEdit = 1013;
constexpr int32_t kStartNegativeRadio = 1015;
constexpr int32_t kStartPositiveRadio = 1016;
constexpr int32_t kSettingsStatus = 1017;

// Change callback of the Smem and Amem edits: checks that the text reads as a number.
void on_settings_change(Dialog& dialog, int32_t& control_id, int32_t& event);
