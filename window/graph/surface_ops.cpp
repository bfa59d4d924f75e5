// Pixel-level drawing on one window's surface image.
#include "window/graph/surface_ops.h"

#include "window/graph/line_clip.h"
#include "window/graph/palette.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int16_t kOk = 0, kNothing = 1, kClipped = 2, kAltered = 3, kFailed = -1, kBadFill = -4,
                  kBadArgument = 252;

// Far ends are pulled in to this distance before clipping; any clip rectangle
// fits well inside it, and the arithmetic stays exact to far below a pixel.
constexpr double kFarLimit = 1e12;

// Pixel runs (on, off, on, off, ...) of the broken pen kinds.
struct DashPattern {
    int runs[6];
    int count;
    int cycle;
};
const DashPattern kDash = {{6, 2}, 2, 8};
const DashPattern kDot = {{2, 2}, 2, 4};
const DashPattern kDashDot = {{6, 2, 2, 2}, 4, 12};
const DashPattern kDashDotDot = {{6, 2, 2, 2, 2, 2}, 6, 16};

const DashPattern* pattern_for(int kind) {
    switch (kind) {
    case PEN_DASH:
        return &kDash;
    case PEN_DOT:
        return &kDot;
    case PEN_DASH_DOT:
        return &kDashDot;
    case PEN_DASH_DOT_DOT:
        return &kDashDotDot;
    default:
        return nullptr;
    }
}

// Whether the pattern paints the pixel at this phase.
bool pattern_on(const DashPattern* p, long long phase) {
    int pos = static_cast<int>(phase % p->cycle);
    for (int i = 0; i < p->count; ++i) {
        if (pos < p->runs[i]) return (i % 2) == 0;
        pos -= p->runs[i];
    }
    return false;
}

// How one stroke pixel combines with the pixel already there.
inline uint32_t combine(uint32_t dst, uint32_t pen, int mode) {
    switch (mode) {
    case 0:
        return dst | pen;
    case 1:
        return dst & pen;
    case 2:
        return ~pen | 0xFF000000u;
    case 4:
        return (dst ^ pen) | 0xFF000000u;
    default:
        return pen;
    }
}

// A pen for one stroke: colour, write mode, pattern and position in it.
struct Stroke {
    uint32_t colour;
    int mode;
    const DashPattern* pattern; // null: solid
    bool invisible;             // PEN_NULL
    long long phase;            // pixels since the pattern started
};

Stroke stroke_for(const SurfaceState& s, bool copy) {
    Stroke k;
    k.colour = s.palette[std::clamp(s.colour, 0, 255)];
    k.mode = copy ? 3 : s.write_mode;
    k.pattern = pattern_for(s.pen_kind);
    k.invisible = s.pen_kind == PEN_NULL;
    k.phase = 0;
    return k;
}

void add_dirty(SurfaceState& s, const QRect& r) {
    QRect c = r.intersected(QRect(0, 0, s.surface_width, s.surface_height));
    if (!c.isEmpty()) s.dirty = s.dirty.united(c);
}

ClipBox clip_box(const SurfaceState& s) {
    return ClipBox{double(s.clip_left), double(s.clip_top), double(s.clip_right),
                   double(s.clip_bottom)};
}

// Bresenham between integer pixels that are inside the surface; the end pixel
// is painted only when draw_last is set.
void raster_line(SurfaceState& s, int x0, int y0, int x1, int y1, bool draw_last, Stroke& k) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int stepx = x0 < x1 ? 1 : -1, stepy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0, y = y0;
    uchar* bits = s.surface.bits();
    const qsizetype bpl = s.surface.bytesPerLine();
    for (;;) {
        bool last = x == x1 && y == y1;
        if (last && !draw_last) break;
        if (!k.invisible && (!k.pattern || pattern_on(k.pattern, k.phase))) {
            uint32_t* p = reinterpret_cast<uint32_t*>(bits + y * bpl) + x;
            *p = combine(*p, k.colour, k.mode);
        }
        ++k.phase;
        if (last) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += stepx;
        }
        if (e2 <= dx) {
            err += dx;
            y += stepy;
        }
    }
    add_dirty(s, QRect(QPoint(std::min(x0, x1), std::min(y0, y1)),
                       QPoint(std::max(x0, x1), std::max(y0, y1))));
}

// Strokes the segment between two physical points (doubles, possibly far away
// or infinite) clipped to the clip rectangle. False for NaN coordinates.
bool stroke_segment(SurfaceState& s, double x0, double y0, double x1, double y1, bool draw_last,
                    Stroke& k) {
    Segment seg{x0, y0, x1, y1};
    if (!limit_segment(seg, clip_box(s), kFarLimit)) return false;
    double full = std::fmax(std::fabs(seg.x1 - seg.x0), std::fabs(seg.y1 - seg.y0));
    Segment cut = seg;
    bool start_cut = false, end_cut = false;
    if (!clip_segment(cut, clip_box(s), start_cut, end_cut)) {
        k.phase += static_cast<long long>(std::fmod(full, 1e15));
        return true;
    }
    long long phase_end = k.phase + static_cast<long long>(std::fmod(full, 1e15));
    if (start_cut) {
        double skipped = std::fmax(std::fabs(cut.x0 - seg.x0), std::fabs(cut.y0 - seg.y0));
        k.phase += static_cast<long long>(round_half_away(std::fmod(skipped, 1e15)));
    }
    auto px = [&](double v, int lo, int hi) {
        return std::clamp(static_cast<int>(std::clamp(round_half_away(v), double(lo), double(hi))),
                          lo, hi);
    };
    int ix0 = px(cut.x0, s.clip_left, s.clip_right), iy0 = px(cut.y0, s.clip_top, s.clip_bottom);
    int ix1 = px(cut.x1, s.clip_left, s.clip_right), iy1 = px(cut.y1, s.clip_top, s.clip_bottom);
    raster_line(s, ix0, iy0, ix1, iy1, draw_last || end_cut, k);
    k.phase = phase_end;
    return true;
}

int16_t saturate16(double v) {
    if (!(v >= -32768.0)) return v != v ? 0 : -32768;
    if (v > 32767.0) return 32767;
    return static_cast<int16_t>(v);
}

int saturate_int(double v) {
    const double lim = 1073741823.0; // room for later additions of 16-bit values
    if (v != v) return 0;
    return static_cast<int>(std::clamp(v, -lim, lim));
}

void recompute_scale(SurfaceState& s) {
    s.sx = (s.clip_right - s.clip_left) / (s.wx2 - s.wx1);
    s.sy = (s.clip_bottom - s.clip_top) / (s.wy2 - s.wy1);
    s.rsx = s.sx != 0 ? 1.0 / s.sx : 0.0;
    s.rsy = s.sy != 0 ? 1.0 / s.sy : 0.0;
}

void set_pen(SurfaceState& s, double fx, double fy) {
    s.pen_fx = fx;
    s.pen_fy = fy;
    s.pen_x = saturate_int(fx);
    s.pen_y = saturate_int(fy);
}

bool usable(const SurfaceState& s) {
    return !s.surface.isNull();
}

// Classifies a rectangle (physical, ordered) against the clip rectangle.
int16_t classify_rect(const SurfaceState& s, long long l, long long t, long long r, long long b) {
    if (r < s.clip_left || l > s.clip_right || b < s.clip_top || t > s.clip_bottom) return kNothing;
    if (l < s.clip_left || r > s.clip_right || t < s.clip_top || b > s.clip_bottom) return kClipped;
    return kOk;
}

// Strokes a closed outline through physical points; each vertex once.
void stroke_outline(SurfaceState& s, const std::vector<QPoint>& pts, Stroke& k) {
    for (size_t i = 0; i < pts.size(); ++i) {
        const QPoint& a = pts[i];
        const QPoint& b = pts[(i + 1) % pts.size()];
        stroke_segment(s, a.x(), a.y(), b.x(), b.y(), false, k);
    }
}

} // namespace

int pen_kind_for_mask(uint16_t mask) {
    int n = 0;
    for (uint16_t m = mask; m; m &= static_cast<uint16_t>(m - 1))
        ++n;
    if (n == 16) return PEN_SOLID;
    if (n >= 11) return PEN_DASH;
    if (n == 10) return PEN_DASH_DOT;
    if (n == 9) return PEN_DASH_DOT_DOT;
    if (n >= 1) return PEN_DOT;
    return PEN_NULL;
}

bool surface_reset(SurfaceState& s, int width, int height, int bits_per_pixel) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    s.surface = QImage(width, height, QImage::Format_RGB32);
    bool ok = !s.surface.isNull();
    s.surface_width = ok ? width : 0;
    s.surface_height = ok ? height : 0;
    s.bits_per_pixel = bits_per_pixel;
    s.colour_count = colours_for_depth(bits_per_pixel);
    fill_default_palette(s.palette, s.colour_count);
    std::fill(std::begin(s.approximated), std::end(s.approximated), false);
    if (ok) s.surface.fill(s.palette[0]);
    s.colour = initial_colour(s.colour_count);
    set_pen(s, s.surface_width / 2, s.surface_height / 2);
    s.clip_left = 0;
    s.clip_top = 0;
    s.clip_right = std::max(s.surface_width - 1, 0);
    s.clip_bottom = std::max(s.surface_height - 1, 0);
    s.origin_x = 0;
    s.origin_y = 0;
    s.wx1 = 0;
    s.wx2 = std::max(s.surface_width - 1, 1);
    s.wy1 = 0;
    s.wy2 = std::max(s.surface_height - 1, 1);
    s.invert_y = false;
    recompute_scale(s);
    s.write_mode = 3;
    s.line_mask = 0xFFFF;
    s.pen_kind = PEN_SOLID;
    s.fill_mask = QImage();
    s.has_graphics = false;
    s.select = SelectionState{};
    s.dirty = QRect(0, 0, s.surface_width, s.surface_height);
    return ok;
}

OpResult surface_set_viewport(SurfaceState& s, int x1, int y1, int x2, int y2) {
    if (!usable(s)) return {0, kFailed};
    int16_t status = kOk;
    s.origin_x = std::min(x1, x2);
    s.origin_y = std::min(y1, y2);
    auto clampx = [&](int v) {
        int c = std::clamp(v, 0, s.surface_width - 1);
        if (c != v) status = kAltered;
        return c;
    };
    auto clampy = [&](int v) {
        int c = std::clamp(v, 0, s.surface_height - 1);
        if (c != v) status = kAltered;
        return c;
    };
    int cx1 = clampx(x1), cx2 = clampx(x2), cy1 = clampy(y1), cy2 = clampy(y2);
    if (x1 > x2 || y1 > y2) status = kAltered;
    int left = std::min(cx1, cx2), right = std::max(cx1, cx2);
    int top = std::min(cy1, cy2), bottom = std::max(cy1, cy2);
    if (left == right || top == bottom) {
        recompute_scale(s);
        return {0, kFailed};
    }
    s.clip_left = left;
    s.clip_right = right;
    s.clip_top = top;
    s.clip_bottom = bottom;
    recompute_scale(s);
    return {1, status};
}

OpResult surface_set_window(SurfaceState& s, bool invert_y, double wx1, double wy1, double wx2,
                            double wy2) {
    // Equal, NaN or infinite bounds (or a span that overflows) leave no usable mapping.
    if (!(wx1 != wx2) || !(wy1 != wy2) || !std::isfinite(wx2 - wx1) || !std::isfinite(wy2 - wy1))
        return {0, kFailed};
    int16_t status = kOk;
    if (wx1 > wx2) {
        std::swap(wx1, wx2);
        status = kAltered;
    }
    if (wy1 > wy2) {
        std::swap(wy1, wy2);
        status = kAltered;
    }
    s.wx1 = wx1;
    s.wx2 = wx2;
    s.wy1 = wy1;
    s.wy2 = wy2;
    s.invert_y = invert_y;
    recompute_scale(s);
    return {1, status};
}

OpResult surface_set_color(SurfaceState& s, int index) {
    int previous = s.colour;
    if (index == s.colour) return {previous, kOk};
    int16_t status = kOk;
    if (index >= s.colour_count) {
        index = s.colour_count - 1;
        status = kAltered;
    } else if (index < 0) {
        index = 0;
        status = kAltered;
    }
    if (s.approximated[index]) status = kAltered;
    s.colour = index;
    return {previous, status};
}

OpResult surface_set_line_style(SurfaceState& s, uint16_t mask) {
    s.line_mask = mask;
    s.pen_kind = pen_kind_for_mask(mask);
    return {s.pen_kind, kOk};
}

OpResult surface_set_write_mode(SurfaceState& s, int mode) {
    if (mode < 0 || mode > 4) return {-1, kBadArgument};
    int previous = s.write_mode;
    s.write_mode = mode;
    return {previous, kOk};
}

void window_to_viewport(const SurfaceState& s, double wx, double wy, double& vx, double& vy) {
    vx = round_half_away((wx - s.wx1) * s.sx);
    double ry = round_half_away((wy - s.wy1) * s.sy);
    vy = s.invert_y ? s.clip_bottom - ry - s.origin_y : ry;
}

OpResult surface_move_to(SurfaceState& s, int x, int y, int& prev_x, int& prev_y) {
    prev_x = saturate16(s.pen_fx - s.origin_x);
    prev_y = saturate16(s.pen_fy - s.origin_y);
    set_pen(s, double(x) + s.origin_x, double(y) + s.origin_y);
    return {1, kOk};
}

OpResult surface_move_to_w(SurfaceState& s, double wx, double wy, double& prev_wx,
                           double& prev_wy) {
    double vx = s.pen_fx - s.origin_x;
    double vy = s.pen_fy - s.origin_y;
    double v = s.invert_y ? s.clip_bottom - s.origin_y - vy : vy;
    prev_wx = vx / s.sx + s.wx1;
    prev_wy = v / s.sy + s.wy1;
    if (std::isnan(wx) || std::isnan(wy)) return {0, kBadArgument};
    double nx, ny;
    window_to_viewport(s, wx, wy, nx, ny);
    if (std::isnan(nx) || std::isnan(ny)) return {0, kBadArgument};
    set_pen(s, nx + s.origin_x, ny + s.origin_y);
    return {1, kOk};
}

namespace {

// The common part of line_to and line_to_w: physical end point as doubles.
OpResult line_to_physical(SurfaceState& s, double ex, double ey) {
    if (!usable(s)) return {0, kFailed};
    if (std::isnan(ex) || std::isnan(ey)) return {0, kBadArgument};
    Segment seg{s.pen_fx, s.pen_fy, ex, ey};
    SegmentPlace place = classify_segment(seg, clip_box(s));
    Stroke k = stroke_for(s, false);
    if (place != SEGMENT_OUTSIDE) stroke_segment(s, s.pen_fx, s.pen_fy, ex, ey, true, k);
    set_pen(s, ex, ey);
    s.has_graphics = true;
    int16_t status = place == SEGMENT_INSIDE ? kOk : place == SEGMENT_PARTIAL ? kClipped : kNothing;
    return {1, status};
}

} // namespace

OpResult surface_line_to(SurfaceState& s, int x, int y) {
    return line_to_physical(s, double(x) + s.origin_x, double(y) + s.origin_y);
}

OpResult surface_line_to_w(SurfaceState& s, double wx, double wy) {
    if (std::isnan(wx) || std::isnan(wy)) return {0, kBadArgument};
    double vx, vy;
    window_to_viewport(s, wx, wy, vx, vy);
    return line_to_physical(s, vx + s.origin_x, vy + s.origin_y);
}

void surface_fill(SurfaceState& s, int left, int top, int right, int bottom, uint32_t rgb) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, s.surface_width - 1);
    bottom = std::min(bottom, s.surface_height - 1);
    if (left > right || top > bottom || !usable(s)) return;
    for (int y = top; y <= bottom; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(s.surface.scanLine(y));
        std::fill(row + left, row + right + 1, rgb);
    }
    add_dirty(s, QRect(QPoint(left, top), QPoint(right, bottom)));
}

OpResult surface_rectangle(SurfaceState& s, int control, int x1, int y1, int x2, int y2) {
    if (!usable(s)) return {0, kFailed};
    if (control != 2 && control != 3) return {0, kBadFill};
    int16_t status = kOk;
    if (x1 > x2) {
        std::swap(x1, x2);
        status = kAltered;
    }
    if (y1 > y2) {
        std::swap(y1, y2);
        status = kAltered;
    }
    long long l = (long long)x1 + s.origin_x, r = (long long)x2 + s.origin_x;
    long long t = (long long)y1 + s.origin_y, b = (long long)y2 + s.origin_y;
    int16_t place = classify_rect(s, l, t, r, b);
    if (place != kOk) status = place;
    s.has_graphics = true;
    if (place == kNothing) return {1, status};
    if (control == 3) {
        // Saturate to the clip rectangle; fills always copy.
        surface_fill(s, int(std::max<long long>(l, s.clip_left)),
                     int(std::max<long long>(t, s.clip_top)),
                     int(std::min<long long>(r, s.clip_right)),
                     int(std::min<long long>(b, s.clip_bottom)), s.palette[s.colour]);
        return {1, status};
    }
    Stroke k = stroke_for(s, false);
    if (l == r || t == b) {
        // A degenerate rectangle is a single line (or pixel): each pixel once.
        stroke_segment(s, double(l), double(t), double(r), double(b), true, k);
    } else {
        std::vector<QPoint> pts = {QPoint(int(l), int(t)), QPoint(int(r), int(t)),
                                   QPoint(int(r), int(b)), QPoint(int(l), int(b))};
        stroke_outline(s, pts, k);
    }
    return {1, status};
}

OpResult surface_polygon(SurfaceState& s, int control, const int16_t* xy, int count) {
    if (!usable(s)) return {0, kFailed};
    if (control != 2 && control != 3) return {0, kBadFill};
    if (count < 3 || count > 16381 || !xy) return {0, kBadArgument};
    std::vector<QPoint> pts;
    pts.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        pts.emplace_back(xy[2 * i] + s.origin_x, xy[2 * i + 1] + s.origin_y);
    // Only the first point is classified, as callers of this operation expect.
    const QPoint& p0 = pts.front();
    int16_t status = (p0.x() < s.clip_left || p0.x() > s.clip_right || p0.y() < s.clip_top ||
                      p0.y() > s.clip_bottom)
                         ? kClipped
                         : kOk;
    s.has_graphics = true;
    Stroke k = stroke_for(s, control == 3);
    if (control == 3) {
        QPainter p(&s.surface);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.setClipRect(QRect(QPoint(s.clip_left, s.clip_top), QPoint(s.clip_right, s.clip_bottom)));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgb(s.palette[s.colour]));
        QPolygonF poly;
        for (const QPoint& q : pts)
            poly << QPointF(q.x() + 0.5, q.y() + 0.5);
        p.drawPolygon(poly, Qt::OddEvenFill);
        p.end();
        add_dirty(s, poly.boundingRect().toAlignedRect());
    }
    stroke_outline(s, pts, k);
    return {1, status};
}

OpResult surface_text(SurfaceState& s, const char* text, int length) {
    if (!usable(s)) return {0, kFailed};
    if (!s.has_font) return {0, kNothing};
    if (!text || length <= 0) return {1, kOk};
    QString qs = QString::fromLatin1(text, length);
    QFontMetrics fm(s.font);
    int width = fm.horizontalAdvance(qs);
    int height = std::max(s.font_height, fm.height());
    long long l = s.pen_x, t = s.pen_y;
    long long r = l + width - 1, b = t + height - 1;
    int16_t status = kOk;
    if (r > s.clip_right || b > s.clip_bottom) status = kClipped;
    if (r < s.clip_left || l > s.clip_right || b < s.clip_top || t > s.clip_bottom)
        status = kNothing;
    s.has_graphics = true;
    if (status != kNothing) {
        QPainter p(&s.surface);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setClipRect(QRect(QPoint(s.clip_left, s.clip_top), QPoint(s.clip_right, s.clip_bottom)));
        p.setFont(s.font);
        p.setPen(QColor::fromRgb(s.palette[s.colour]));
        p.drawText(QPointF(double(l), double(t + s.font_ascent)), qs);
        p.end();
        add_dirty(s, QRect(int(l), int(t), width, height));
    }
    set_pen(s, s.pen_fx + width, s.pen_fy);
    return {1, status};
}
