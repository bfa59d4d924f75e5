// The measurement shown in the workspace ("Open measurement..."): the record the workspace owns
// and the menu's reading of a loop or FORC file. Interface thread only.
#pragma once

#include <string>

#include "measure/forc_curves.h"
#include "model/measured_overlay.h"

// What the workspace keeps of the last measured file opened.
struct WorkspaceMeasurement {
    MeasuredOverlay overlay; // the curves as drawn, normalised (empty: nothing shown)
    bool is_forc = false;    // the file held first-order reversal curves (forc is valid)
    ForcCurves forc;         // those curves as read, in SI, for the FORC diagram
};

// The single instance, empty until a file is opened and again once the workspace closes.
extern WorkspaceMeasurement g_measurement;

// Reads path as a loop file or a measured FORC file and, on success, replaces the workspace's
// measurement with it (registered with the plot; the caller redraws). False with one line in
// error, the shown measurement kept.
bool open_measurement_file(const std::string& path, std::string& error);

// Forgets the measurement and unregisters it from the plot (Close workspace).
void clear_measurement();
