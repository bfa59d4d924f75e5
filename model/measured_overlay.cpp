// Normalising a measurement onto the workspace's axes.
#include "model/measured_overlay.h"

#include <algorithm>
#include <cmath>

#include "model/reversible_part.h"

bool make_measured_overlay(const std::vector<std::vector<double>>& H,
                           const std::vector<std::vector<double>>& M, double Hs, double Bs,
                           const ReversiblePart* reversible, const std::string& source,
                           MeasuredOverlay& overlay) {
    overlay = MeasuredOverlay{};
    double h_max = 0.0, m_max = 0.0;
    const size_t count = std::min(H.size(), M.size());
    for (size_t c = 0; c < count; ++c) {
        const size_t n = std::min(H[c].size(), M[c].size());
        for (size_t i = 0; i < n; ++i) {
            if (!std::isfinite(H[c][i]) || !std::isfinite(M[c][i])) continue;
            h_max = std::max(h_max, std::fabs(H[c][i]));
            m_max = std::max(m_max, std::fabs(M[c][i]));
        }
    }
    const bool material = std::isfinite(Hs) && Hs > 0.0 && std::isfinite(Bs) && Bs > 0.0;
    if (material) {
        h_max = Hs;
        m_max = Bs;
    }
    if (!material) reversible = nullptr;
    // A zero scale has no normalised picture (every point would sit on an axis or at infinity).
    if (!(h_max > 0.0) || !(m_max > 0.0)) return false;
    for (size_t c = 0; c < count; ++c) {
        OverlayCurve curve;
        const size_t n = std::min(H[c].size(), M[c].size());
        for (size_t i = 0; i < n; ++i) {
            if (!std::isfinite(H[c][i]) || !std::isfinite(M[c][i])) continue;
            const double h = H[c][i] / h_max;
            const double b = M[c][i] / m_max;
            curve.H.push_back(h);
            curve.B.push_back(reversible ? b - reversible_moment(*reversible, h) : b);
        }
        if (!curve.H.empty()) overlay.curves.push_back(std::move(curve));
    }
    overlay.field_scale = h_max;
    overlay.moment_scale = m_max;
    overlay.source = source;
    return true;
}

bool overlay_shown(const MeasuredOverlay& overlay) {
    return !overlay.curves.empty();
}
