// Clipping line segments with outcodes against an inclusive pixel box.
#include "window/graph/line_clip.h"

#include <cmath>

namespace {

int outcode(double x, double y, const ClipBox& b) {
    int code = 0;
    if (!(x >= b.left)) code |= 1; // NaN lands here and below
    if (!(x <= b.right)) code |= 2;
    if (!(y >= b.top)) code |= 4;
    if (!(y <= b.bottom)) code |= 8;
    return code;
}

} // namespace

SegmentPlace classify_segment(const Segment& s, const ClipBox& box) {
    int a = outcode(s.x0, s.y0, box);
    int b = outcode(s.x1, s.y1, box);
    if ((a & b) != 0) return SEGMENT_OUTSIDE;
    if ((a | b) != 0) return SEGMENT_PARTIAL;
    return SEGMENT_INSIDE;
}

bool limit_segment(Segment& s, const ClipBox& box, double limit) {
    if (std::isnan(s.x0) || std::isnan(s.y0) || std::isnan(s.x1) || std::isnan(s.y1)) return false;
    const double cx = 0.5 * (box.left + box.right), cy = 0.5 * (box.top + box.bottom);
    auto far = [&](double x, double y) {
        return !std::isfinite(x) || !std::isfinite(y) || std::fabs(x - cx) > limit ||
               std::fabs(y - cy) > limit;
    };
    bool far0 = far(s.x0, s.y0), far1 = far(s.x1, s.y1);
    if (!far0 && !far1) return true;
    if (far0 && far1) {
        // Both far: usable only when the span itself is finite; precision is
        // then that of the coordinates, but never undefined.
        return std::isfinite(s.x1 - s.x0) && std::isfinite(s.y1 - s.y0) && std::isfinite(s.x0) &&
               std::isfinite(s.y0);
    }
    // Exactly one end is far: move it towards the near one.
    double nx = far0 ? s.x1 : s.x0, ny = far0 ? s.y1 : s.y0;
    double fx = far0 ? s.x0 : s.x1, fy = far0 ? s.y0 : s.y1;
    double dx = fx - nx, dy = fy - ny;
    bool infinite = std::isinf(dx) || std::isinf(dy);
    if (infinite) {
        // Only the infinite components decide the direction of an infinite end.
        dx = std::isinf(dx) ? std::copysign(1.0, dx) : 0.0;
        dy = std::isinf(dy) ? std::copysign(1.0, dy) : 0.0;
    }
    double m = std::fmax(std::fabs(dx), std::fabs(dy));
    // The near end is within `limit` of the centre, so 2 * limit from it is
    // still outside the box; a finite end is never moved past itself.
    double k = 2.0 * limit / m;
    if (!infinite) k = std::fmin(1.0, k);
    fx = nx + dx * k;
    fy = ny + dy * k;
    if (far0) {
        s.x0 = fx;
        s.y0 = fy;
    } else {
        s.x1 = fx;
        s.y1 = fy;
    }
    return true;
}

bool clip_segment(Segment& s, const ClipBox& box, bool& start_cut, bool& end_cut) {
    start_cut = false;
    end_cut = false;
    double dx = s.x1 - s.x0;
    double dy = s.y1 - s.y0;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {s.x0 - box.left, box.right - s.x0, s.y0 - box.top, box.bottom - s.y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false; // parallel to this edge and outside it
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    double x0 = s.x0, y0 = s.y0;
    if (t1 < 1.0) {
        s.x1 = x0 + t1 * dx;
        s.y1 = y0 + t1 * dy;
        end_cut = true;
    }
    if (t0 > 0.0) {
        s.x0 = x0 + t0 * dx;
        s.y0 = y0 + t0 * dy;
        start_cut = true;
    }
    return true;
}

double round_half_away(double v) {
    return v > 0.0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5);
}
