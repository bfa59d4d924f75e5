// The standard Save and Print commands on a child window's surface.
#include "window/graph/save_window.h"

#include "window/graph/bitmap_file.h"
#include "window/graph/file_save.h"
#include "window/kernel/child_window.h"
#include "window/kernel/message_box.h"

#include <QByteArray>
#include <cstdio>
#include <mutex>

namespace {

// The surface of cw as a file image, read under the window's lock so that
// the program thread cannot draw into it meanwhile.
QByteArray encode_window(ChildWindow* cw) {
    std::lock_guard<std::mutex> hold(cw->lock);
    if (cw->gfx.surface.isNull()) return QByteArray();
    const int bits = bmp_file_bits(cw->gfx.bits_per_pixel);
    return encode_bmp(cw->gfx.surface, bits, cw->gfx.palette);
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

    // The internal error of code 5, of the error kind (never fatal), with the
    // file that could not be written.
    char text[1024];
    internal_error_text(kInternalError, 5, __FILE__, __LINE__, text, sizeof text);
    char full[6000];
    std::snprintf(full, sizeof full, "%s\n\nCould not save \"%s\":\n%s", text, path, reason);
    message_box(full, "Window Layer Error", 0x10);
    return -1;
}
