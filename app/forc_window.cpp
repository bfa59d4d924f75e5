// The FORC diagram's child window: drawn with cairo into plain pixels, shown by the window layer.
#include "app/forc_window.h"

#include <cairo.h>

#include <cstdint>

#include "app/measurement.h"
#include "app/menu_callbacks.h"
#include "forc/forc_drift.h"
#include "forc/forc_from_curves.h"
#include "forc/forc_regression.h"
#include "forc/forc_table.h"
#include "window/graph/image_window.h"
#include "window/kernel/message_box.h"
#include "window/kernel/program_end.h"

namespace {

std::string base_name(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool measured_forc_diagram(const ForcCurves& curves, const std::string& path, ForcGrid& grid,
                           ForcDiagramText& text, std::string& error) {
    ForcCurves corrected = curves;
    bool all_calibrated = !corrected.curves.empty();
    for (const ForcCurve& c : corrected.curves)
        all_calibrated = all_calibrated && c.has_calibration;
    ForcTable table;
    if ((all_calibrated && !forc_correct_drift(corrected, error)) ||
        !forc_table_from_curves(corrected, table, error) ||
        !forc_check_smoothing(table, kDefaultSmoothingFactor, error)) {
        error = path + ": " + error;
        return false;
    }
    text = forc_diagram_text(base_name(path), kDefaultSmoothingFactor, curves.field_unit.reported,
                             curves.moment_unit.reported);
    forc_diagram_grid(table, kDefaultSmoothingFactor, grid, text);
    return true;
}

void on_forc_diagram(int32_t& state) {
    (void)state;
    if (!g_measurement.is_forc) return;
    const std::string& path = g_measurement.overlay.source;
    ForcGrid grid;
    ForcDiagramText text;
    std::string error;
    if (!measured_forc_diagram(g_measurement.forc, path, grid, text, error)) {
        message_box(error.c_str(), program_name(), kBoxOk | kBoxIconError);
        return;
    }
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kDiagramWidth, kDiagramHeight);
    cairo_t* cr = cairo_create(surface);
    paint_forc_diagram(cr, kDiagramWidth, kDiagramHeight, grid, text);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const bool drawn =
        cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
        open_image_window(kForcDiagramUnit, ("FORC diagram - " + text.title).c_str(),
                          reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface)),
                          cairo_image_surface_get_width(surface),
                          cairo_image_surface_get_height(surface),
                          cairo_image_surface_get_stride(surface)) == 1;
    cairo_surface_destroy(surface);
    if (!drawn)
        message_box("The FORC diagram could not be shown.", program_name(), kBoxOk | kBoxIconError);
}
