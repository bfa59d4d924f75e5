// "Save PNG..." and "Save SVG...": the workspace's picture, beside the BMP of "Save bitmaps...".
#include <string>

#include "app/measurement.h"
#include "app/menu_callbacks.h"
#include "app/workspace.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "model/plot_svg.h"
#include "window/graph/file_save.h"
#include "window/graph/png_file.h"
#include "window/kernel/message_box.h"
#include "window/kernel/window_program.h"

void on_save_png(int32_t& state) {
    (void)state;
    save_unit_png(kWorkspaceUnit);
}

// The plot as vector shapes (model/plot_svg.h), at the workspace surface's size. Written under a
// temporary name and renamed; a failure is reported in a message box.
void on_save_svg(int32_t& state) {
    (void)state;
    static const SaveFilter filters[] = {{"SVG Files(*.svg)", "*.svg"}, {"All Files(*.*)", "*.*"}};
    char path[4096];
    if (ask_save_file_name("Save SVG", filters, 2, "svg", path, sizeof path) != 1) return;
    std::string svg;
    char reason[512] = "the workspace has no picture";
    if (format_plot_svg(g_model, plot_surface_width(), plot_surface_height(), svg,
                        &g_measurement.overlay) &&
        write_file_safely(path, svg.data(), static_cast<int64_t>(svg.size()), reason,
                          sizeof reason))
        return;
    std::string text = "The picture could not be saved to ";
    text += path;
    text += ": ";
    text += reason;
    message_box(text.c_str(), program_name(), kBoxOk | kBoxIconError);
}
