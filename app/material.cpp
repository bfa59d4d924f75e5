// "Open material model...": a fitted or identified density in the workspace.
#include "app/material.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "app/measurement.h"
#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "app/save_results.h"
#include "model/density_lorentz.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "model/state_sequences.h"
#include "window/graph/file_open.h"
#include "window/kernel/child_window.h"
#include "window/kernel/message_box.h"
#include "window/kernel/program_end.h"

WorkspaceMaterial g_material;

namespace {

// The start-up Lorentzian, kept while a file's density is the model's.
Density g_startup_density = {};

} // namespace

bool open_material_file(const std::string& path, std::string& error) {
    // Read into a record of its own: the model's density may point into the present file, which
    // must stay until the new density replaces it.
    auto file = std::make_unique<ModelFile>();
    if (!model_file_read(path, *file, error)) return false;
    Density density = {};
    if (!model_file_density(*file, density, error)) return false;
    if (!g_material.file) g_startup_density = g_model.density;
    g_model.density = density;
    g_material.file = std::move(file);
    open_workspace_reset(g_model);
    return true;
}

std::string material_words() {
    if (!g_material.file || !g_model.density.family) return "";
    const DensityFamily& f = *g_model.density.family;
    std::string words = std::string("Material: ") + f.name;
    for (int i = 0; i < f.parameter_count; ++i) {
        char value[64];
        std::snprintf(value, sizeof value, "  %s=%.6g", f.parameters[i].name,
                      g_model.density.parameter[i]);
        words += value;
    }
    return words;
}

void restore_startup_density() {
    if (!g_material.file) return;
    g_model.density = g_startup_density;
    g_material.file.reset();
}

void on_open_material(int32_t& state) {
    (void)state;
    static const SaveFilter filters[] = {{"Model Files(*.json)", "*.json"},
                                         {"All Files(*.*)", "*"}};
    char path[4096];
    if (ask_open_file_name("Open material model", filters, 2, path, sizeof path) != 1) return;
    if (!may_lose_curve("before the material changes")) return;
    std::string error;
    if (!open_material_file(path, error)) {
        message_box(error.c_str(), program_name(), kBoxOk | kBoxIconError);
        return;
    }
    // A measurement shown is scaled anew: by the material's Hs and Bs when their units agree.
    if (overlay_shown(g_measurement.overlay)) {
        const std::string measured = g_measurement.overlay.source;
        if (!open_measurement_file(measured, error)) clear_measurement();
    }
    redraw_plot(g_model);
    set_status_message(material_words().c_str());
    // The curve went with the old material: a new one starts at negative saturation.
    g_menu_state.start_fixed = false;
    g_menu_state.points_drawn = false;
    g_menu_state.unsaved = false;
    update_menus();
}
