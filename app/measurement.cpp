// "Open measurement...": a measured loop or FORC file drawn over the model.
#include "app/measurement.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "app/material.h"
#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "measure/series_reader.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "window/graph/file_open.h"
#include "window/kernel/message_box.h"
#include "window/kernel/program_end.h"

WorkspaceMeasurement g_measurement;

namespace {

// A unit as model files write it: "1" where the measurement has none.
std::string file_unit(const std::string& reported) {
    return reported.empty() ? "1" : reported;
}

// The loaded material's Hs, Bs and reversible part when its units are the measurement's (a model
// fitted to a file of the same instrument); 0, 0 and null (the file's own largest values, the
// moment as measured) otherwise.
void material_scales(const ColumnUnit& field, const ColumnUnit& moment, double& Hs, double& Bs,
                     const ReversiblePart*& reversible) {
    Hs = Bs = 0.0;
    reversible = nullptr;
    const ModelFile* f = g_material.file.get();
    if (f && f->field_unit == file_unit(field.reported) &&
        f->moment_unit == file_unit(moment.reported)) {
        Hs = f->Hs;
        Bs = f->Bs;
        reversible = &f->reversible;
    }
}

} // namespace

bool open_measurement_file(const std::string& path, std::string& error) {
    FileKind kind = FileKind::plain;
    if (!recognise_file(path, kind, error)) return false;
    WorkspaceMeasurement read;
    std::vector<std::vector<double>> H, M;
    double Hs = 0.0, Bs = 0.0;
    const ReversiblePart* reversible = nullptr;
    if (kind == FileKind::micromag_forc) {
        if (!read_forc_file(path, read.forc, error)) return false;
        read.is_forc = true;
        material_scales(read.forc.field_unit, read.forc.moment_unit, Hs, Bs, reversible);
        for (const ForcCurve& c : read.forc.curves) {
            H.push_back(c.H);
            M.push_back(c.M);
        }
    } else {
        std::vector<MeasuredSeries> series;
        int64_t skipped = 0;
        if (!read_series_file(path, "", series, skipped, error)) return false;
        // A table of several specimens shows its first; a loop file has one series.
        if (series.empty()) {
            error = path + ": no measured points";
            return false;
        }
        material_scales(series[0].field_unit, series[0].moment_unit, Hs, Bs, reversible);
        H.push_back(series[0].H);
        M.push_back(series[0].M);
    }
    if (!make_measured_overlay(H, M, Hs, Bs, reversible, path, read.overlay)) {
        error = path + ": no field or moment other than zero to scale the plot by";
        return false;
    }
    g_measurement = std::move(read);
    set_plot_measurement(&g_measurement.overlay);
    return true;
}

void clear_measurement() {
    set_plot_measurement(nullptr);
    g_measurement = WorkspaceMeasurement{};
}

void on_open_measurement(int32_t& state) {
    (void)state;
    static const SaveFilter filters[] = {
        {"All Files(*.*)", "*"},
        {"Text Files(*.txt *.dat *.frc *.csv)", "*.txt *.dat *.frc *.csv"}};
    char path[4096];
    if (ask_open_file_name("Open measurement", filters, 2, path, sizeof path) != 1) return;
    std::string error;
    if (!open_measurement_file(path, error)) {
        message_box(error.c_str(), program_name(), kBoxOk | kBoxIconError);
        return;
    }
    redraw_plot(g_model);
    g_menu_state.forc_measured = g_measurement.is_forc;
    update_menus();
}
