// "FORC diagram...": the measured FORC file's diagram in a child window, the picture the
// command-line tool writes. Interface thread only.
#pragma once

#include <string>

#include "measure/forc_curves.h"
#include "picture/forc_diagram.h"

// Unit of the diagram's window (closed with the workspace).
constexpr int kForcDiagramUnit = 11;

// The diagram of measured curves read from path as the command-line tool makes it by default:
// the drift corrected when every curve has its calibration point, the default smoothing factor,
// the file's name as title. False with one line naming the file in error.
bool measured_forc_diagram(const ForcCurves& curves, const std::string& path, ForcGrid& grid,
                           ForcDiagramText& text, std::string& error);
