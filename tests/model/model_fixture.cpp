// A workspace opened as the program opens it, and the reference readers of the model tests.
#include "model_fixture.h"

#include "tests/support/reference_data.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "model/density_lorentz.h"
#include "model/curve_construction.h"
#include "model/preisach.h"
#include "model/state_sequences.h"

ModelState& opened_workspace(double Hc) {
    static ModelState* m = new ModelState;
    reset_to_program_start(*m);
    set_startup_parameters(*m);
    open_workspace_saturation(*m);
    if (Hc != kStartupHc) {
        m->density.parameter[kLorentzHc] = Hc;
        compute_kmax(*m);
    }
    open_workspace_reset(*m);
    m->PlotRight = 983;
    m->PlotBottom = 616;
    m->HperPixel = (m->Hmax - m->Hmin) / (m->PlotRight - m->PlotLeft);
    m->BperPixel = (m->Bmax - m->Bmin) / (m->PlotBottom - m->PlotTop);
    return *m;
}

void right_click(ModelState& m, double Hn) {
    m.Hn = Hn;
    construct_to_hn(m);
    commit_new_points(m);
}

std::vector<double> drawn_H(const ModelState& m) {
    return std::vector<double>(m.Hcurve, m.Hcurve + m.Ndrawn + 1);
}

std::vector<double> drawn_B(const ModelState& m) {
    return std::vector<double>(m.Bcurve, m.Bcurve + m.Ndrawn + 1);
}

ReferenceTable read_reference(const std::string& name) {
    ReferenceTable t;
    std::ifstream in(reference_file(name));
    if (!in) return t;
    std::string line;
    while (std::getline(in, line) && !line.empty() && line[0] == '#')
        if (t.comment.empty()) t.comment = line;
    if (!in) return t; // no header line
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::stringstream row(line);
        std::string cell;
        size_t j = 0;
        while (std::getline(row, cell, ',')) {
            if (t.cols.size() <= j) t.cols.resize(j + 1);
            t.cols[j].push_back(std::strtod(cell.c_str(), nullptr));
            ++j;
        }
    }
    t.ok = !t.cols.empty();
    return t;
}

double relative_difference(double a, double b) {
    const double scale = std::fmax(1.0, std::fmax(std::fabs(a), std::fabs(b)));
    return std::fabs(a - b) / scale;
}
