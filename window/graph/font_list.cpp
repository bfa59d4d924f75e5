// Enumerating the display's fonts and matching a request against them.
#include "window/graph/font_list.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

std::mutex g_list_lock;
std::vector<FontRecord> g_list;
bool g_built = false;

std::vector<FontRecord> enumerate() {
    std::vector<FontRecord> out;
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        if (QFontDatabase::isPrivateFamily(family)) continue;
        QStringList styles = QFontDatabase::styles(family);
        // The regular style of a family comes first, as callers that name only
        // a face expect its plain font: upright before italic, then the
        // weight nearest to normal.
        std::stable_sort(styles.begin(), styles.end(), [&](const QString& a, const QString& b) {
            bool ia = QFontDatabase::italic(family, a), ib = QFontDatabase::italic(family, b);
            if (ia != ib) return !ia;
            return std::abs(QFontDatabase::weight(family, a) - 400) <
                   std::abs(QFontDatabase::weight(family, b) - 400);
        });
        for (const QString& style : styles) {
            FontRecord r;
            r.face = family;
            r.style = style;
            r.weight = QFontDatabase::weight(family, style);
            r.italic = QFontDatabase::italic(family, style);
            r.fixed = QFontDatabase::isFixedPitch(family, style);
            r.type = QFontDatabase::isScalable(family, style) ? 1 : 0;
            if (r.type == 0) {
                QList<int> sizes = QFontDatabase::pointSizes(family, style);
                if (!sizes.isEmpty()) r.height = sizes.front();
            }
            out.push_back(r);
        }
    }
    return out;
}

bool same_face(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool face_listed(const std::vector<FontRecord>& list, const QString& face) {
    return std::any_of(list.begin(), list.end(),
                       [&](const FontRecord& r) { return same_face(r.face, face); });
}

// The listed family that stands in for a face the display lacks. Only the
// three faces that the aliases name are substituted (by what the font
// configuration maps them to); "Courier New" must stay fixed pitch and falls
// back to the system's fixed-pitch face. Any other unknown face stays unknown.
QString stand_in_face(const std::vector<FontRecord>& list, const QString& face) {
    const bool courier = same_face(face, "Courier New");
    if (!courier && !same_face(face, "Arial") && !same_face(face, "Times New Roman")) return face;
    QFont probe(face);
    if (courier) probe.setStyleHint(QFont::TypeWriter);
    QFontInfo info(probe);
    if (face_listed(list, info.family()) && (!courier || info.fixedPitch())) return info.family();
    if (courier) {
        QFontInfo fixed(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        if (face_listed(list, fixed.family())) return fixed.family();
    }
    return face;
}

bool fits_request(const FontRecord& r, const FontRequest& req, const QString& face) {
    if (req.has_face && !same_face(r.face, face)) return false;
    if (req.pitch == PITCH_FIXED && !r.fixed) return false;
    if (req.pitch == PITCH_VARIABLE && r.fixed) return false;
    if (req.kind == KIND_RASTER && r.type != 0) return false;
    if (req.kind == KIND_SCALABLE && r.type != 1) return false;
    return true;
}

} // namespace

QString listed_face_for(const QString& face) {
    const std::vector<FontRecord>& list = font_list();
    return face_listed(list, face) ? face : stand_in_face(list, face);
}

const std::vector<FontRecord>& font_list() {
    std::lock_guard<std::mutex> guard(g_list_lock);
    if (!g_built) {
        g_list = enumerate();
        g_built = true;
    }
    return g_list;
}

QFont build_font(const FontRecord& rec, int height, int width, bool bold, bool italic,
                 bool underline) {
    QFont f(rec.face);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    f.setWeight(bold ? QFont::Bold : QFont::Weight(std::clamp(rec.weight, 1, 1000)));
    f.setItalic(italic || rec.italic);
    f.setUnderline(underline || rec.underline);
    f.setKerning(false);
    height = std::clamp(height, 1, 2000);
    // The cell height (ascent + descent) is what callers ask for, so shrink
    // the em size until the cell fits.
    int px = height;
    f.setPixelSize(px);
    int cell = QFontMetrics(f).height();
    if (cell > height) {
        // Cell height grows in proportion to the em size: start from the
        // proportional guess, then step down until the cell fits.
        px = std::max(1, static_cast<int>(static_cast<long long>(height) * height / cell));
        f.setPixelSize(px);
        while (px > 1 && QFontMetrics(f).height() > height)
            f.setPixelSize(--px);
        // And up again while the next size still fits (the guess may be low).
        QFont bigger = f;
        bigger.setPixelSize(px + 1);
        while (px + 1 < height && QFontMetrics(bigger).height() <= height) {
            f.setPixelSize(++px);
            bigger.setPixelSize(px + 1);
        }
    }
    if (width > 0) {
        double advance = QFontMetricsF(f).averageCharWidth();
        if (advance > 0) {
            int stretch = static_cast<int>(std::lround(100.0 * std::min(width, 2000) / advance));
            f.setStretch(std::clamp(stretch, 1, 4000));
        }
    }
    return f;
}

OpResult select_font(SurfaceState& s, int index, int height, int width, bool bold, bool italic,
                     bool underline) {
    const std::vector<FontRecord>& list = font_list();
    if (index < 0 || index >= static_cast<int>(list.size())) return {-1, 255};
    const FontRecord& rec = list[static_cast<size_t>(index)];
    if (height <= 0 && width > 0) {
        // Only a width: the height follows the face's own proportion, so the
        // glyphs are not stretched to reach the width.
        const double advance =
            QFontMetricsF(build_font(rec, 100, 0, bold, italic, underline)).averageCharWidth();
        height = advance > 0
                     ? static_cast<int>(std::lround(100.0 * std::min(width, 2000) / advance))
                     : rec.height;
    }
    QFont f = build_font(rec, height > 0 ? height : rec.height, width > 0 ? width : rec.width, bold,
                         italic, underline);
    QFontMetrics m(f);
    if (m.height() <= 0) return {-1, -1}; // the font could not be built: keep the current one
    s.font = f;
    s.has_font = true;
    s.font_number = index + 1;
    s.font_type = rec.type;
    s.font_ascent = m.ascent();
    s.font_height = m.height();
    s.font_width = rec.fixed ? m.averageCharWidth() : 0;
    s.font_italic = f.italic();
    s.font_underline = f.underline();
    s.font_bold = f.weight() >= QFont::Bold;
    s.font_face = rec.face;
    return {index + 1, 0};
}

OpResult match_and_select_font(SurfaceState& s, const FontRequest& req) {
    const std::vector<FontRecord>& list = font_list();
    const int16_t ok_status = req.altered ? 3 : 0;
    if (req.number > 0) {
        if (req.number > static_cast<int>(list.size())) return {-1, 255};
        const FontRecord& rec = list[static_cast<size_t>(req.number - 1)];
        OpResult r = select_font(s, req.number - 1, rec.height, rec.width, false, false, false);
        if (r.result > 0) r.status = ok_status;
        return r;
    }
    QString face = QString::fromStdString(req.face);
    if (req.has_face && !face_listed(list, face)) face = stand_in_face(list, face);
    int best = -1;
    int best_score = 200;
    for (size_t k = 0; k < list.size(); ++k) {
        const FontRecord& rec = list[k];
        if (!fits_request(rec, req, face)) continue;
        if (rec.type == 1) {
            bool sized = req.height > 0 || req.width > 0;
            OpResult r =
                select_font(s, static_cast<int>(k), sized ? req.height : rec.height,
                            sized ? req.width : rec.width, req.bold, req.italic, req.underline);
            if (r.result > 0) r.status = ok_status;
            return r;
        }
        if (req.best_fit) {
            int score = (req.height > 0 ? std::abs(req.height - rec.height) : 0) +
                        (req.width > 0 ? std::abs(req.width - rec.width) : 0);
            if (score < best_score) {
                best_score = score;
                best = static_cast<int>(k);
            }
        } else if ((req.height == 0 || req.height == rec.height) &&
                   (req.width == 0 || req.width == rec.width)) {
            OpResult r = select_font(s, static_cast<int>(k), rec.height, rec.width, req.bold,
                                     req.italic, req.underline);
            if (r.result > 0) r.status = ok_status;
            return r;
        }
    }
    if (req.best_fit) {
        if (best >= 0) {
            const FontRecord& rec = list[static_cast<size_t>(best)];
            OpResult r =
                select_font(s, best, rec.height, rec.width, req.bold, req.italic, req.underline);
            if (r.result > 0) r.status = ok_status;
            return r;
        }
        if (s.has_font) return {s.font_number, ok_status}; // the current font again
    }
    return {-1, 255};
}

OpResult select_default_font(SurfaceState& s) {
    const std::vector<FontRecord>& list = font_list();
    if (list.empty()) return {0, -1};
    int pick = static_cast<int>(list.size()) - 1;
    for (int k = pick; k >= 0; --k) {
        if (list[static_cast<size_t>(k)].type == 1) {
            pick = k;
            break;
        }
    }
    const FontRecord& rec = list[static_cast<size_t>(pick)];
    OpResult r = select_font(s, pick, rec.height, rec.width, false, false, false);
    if (r.result < 0) return {0, -1};
    return {static_cast<int>(list.size()), 0};
}
