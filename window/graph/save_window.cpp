// The standard Save and Print commands on a child window's surface.
#include "window/graph/save_window.h"

#include "window/graph/bitmap_file.h"
#include "window/graph/file_save.h"
#include "window/graph/graphics_data.h"
#include "window/kernel/child_window.h"
#include "window/kernel/message_box.h"
#include "window/kernel/window_program.h"

#include <QByteArray>
#include <mutex>
#include <string>

namespace {

// The surface of cw as a file image, read under the window's lock so that
// the program thread cannot draw into it meanwhile.
QByteArray encode_window(ChildWindow* cw) {
    std::lock_guard<WindowMutex> hold(cw->lock);
    const SurfaceState& s = graphics_of(cw).gfx;
    if (s.surface.isNull()) return QByteArray();
    const int bits = bmp_file_bits(s.bits_per_pixel);
    return encode_bmp(s.surface, bits, s.palette);
}

} // namespace

int save_window_image(ChildWindow* cw) {
    if (!cw || cw->destroyed.load()) return 0;
    static const SaveFilter filters[] = {{"Bitmap Files(*.bmp)", "*.bmp"},
                                         {"All Files(*.*)", "*.*"}};
    char path[4096];
    if (ask_save_file_name("Save As", filters, 2, "bmp", path, sizeof path) != 1) return 0;

    // The thread's current window is not touched: the image is read from cw
    // directly, under its lock, so no other window is ever involved.
    const QByteArray file = encode_window(cw);
    char reason[512] = "the window has no picture";
    if (!file.isEmpty() &&
        write_file_safely(path, file.constData(), file.size(), reason, sizeof reason))
        return 1;

    // Not an internal error: a full disk or a folder without write permission is the user's to
    // fix, so the box says in plain words what failed and why.
    std::string text = "The bitmap could not be saved to ";
    text += path;
    text += ": ";
    text += reason;
    message_box(text.c_str(), program_name(), kBoxIconError);
    return -1;
}
