#include "picture/picture_file.h"

#include <cctype>
#include <cstdio>

#include <cairo-svg.h>

namespace {

bool ends_with(const std::string& s, const char* suffix) {
    const std::string tail(suffix);
    if (s.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i])
            return false;
    return true;
}

} // namespace

bool picture_path_ok(const std::string& path) {
    return ends_with(path, ".png") || ends_with(path, ".svg");
}

bool write_picture(const std::string& path, int width, int height, PaintPicture paint,
                   const void* what, std::string& error) {
    if (!picture_path_ok(path)) {
        error = "picture '" + path + "': the name must end in .png or .svg";
        return false;
    }
    const std::string temporary = path + ".partial";
    const bool svg = ends_with(path, ".svg");
    cairo_surface_t* surface = svg ? cairo_svg_surface_create(temporary.c_str(), width, height)
                                   : cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    paint(cr, width, height, what);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    if (status == CAIRO_STATUS_SUCCESS && !svg)
        status = cairo_surface_write_to_png(surface, temporary.c_str());
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = "cannot write the picture '" + path + "'" +
                (status != CAIRO_STATUS_SUCCESS ? std::string(": ") + cairo_status_to_string(status)
                                                : std::string());
        return false;
    }
    return true;
}
