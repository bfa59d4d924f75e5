// PNG pictures of a window's surface.
#include "window/graph/png_file.h"

#include "window/graph/file_save.h"
#include "window/graph/graphics_data.h"
#include "window/kernel/child_window.h"
#include "window/kernel/message_box.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/window_program.h"
#include "window/kernel/window_table.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <mutex>
#include <string>

int save_unit_png(int unit) {
    static const SaveFilter filters[] = {{"PNG Files(*.png)", "*.png"}, {"All Files(*.*)", "*.*"}};
    bool exists = false;
    run_on_ui([&] { exists = window_for_unit(unit) != nullptr; });
    if (!exists) return 0;
    char path[4096];
    if (ask_save_file_name("Save PNG", filters, 2, "png", path, sizeof path) != 1) return 0;
    QByteArray bytes;
    run_on_ui([&] {
        ChildWindow* cw = window_for_unit(unit);
        if (!cw || !cw->graphics) return;
        QImage copy;
        {
            // Read under the lock, so that nothing draws into the surface meanwhile.
            std::lock_guard<WindowMutex> hold(cw->lock);
            copy = graphics_of(cw).gfx.surface.copy();
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!copy.isNull()) copy.save(&buffer, "PNG");
    });
    char reason[512] = "the picture could not be encoded";
    if (!bytes.isEmpty() &&
        write_file_safely(path, bytes.constData(), bytes.size(), reason, sizeof reason))
        return 1;
    std::string text = "The picture could not be saved to ";
    text += path;
    text += ": ";
    text += reason;
    message_box(text.c_str(), program_name(), kBoxOk | kBoxIconError);
    return -1;
}
