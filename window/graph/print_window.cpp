// Printing a window's surface on a page chosen in the printer dialog.
#include "window/graph/save_window.h"

#include "window/graph/file_save.h"
#include "window/graph/graphics_data.h"
#include "window/kernel/child_window.h"
#include "window/kernel/frame.h"
#include "window/kernel/message_box.h"
#include "window/kernel/window_program.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>
#include <mutex>

namespace {

// The printer and its settings stay for the next print command of the run.
QPrinter& printer() {
    static std::unique_ptr<QPrinter> p(new QPrinter(QPrinter::HighResolution));
    return *p;
}

void tell(const char* text) {
    message_box(text, program_name(), kBoxIconInfo);
}

// The modeless "Printing" box with its Cancel button.
struct ProgressBox {
    QDialog box;
    bool cancelled = false;
    ProgressBox() : box(dialog_owner()) {
        box.setWindowTitle(QStringLiteral("Printing"));
        auto* layout = new QVBoxLayout(&box);
        layout->addWidget(new QLabel(QStringLiteral("Printing In Progress..."), &box));
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), &box);
        cancel->setAutoDefault(false);
        layout->addWidget(cancel);
        QObject::connect(cancel, &QPushButton::clicked, [this] { cancelled = true; });
        box.setModal(false);
        box.show();
    }
    // Keeps the interface alive while the page is produced.
    bool pump() {
        QApplication::processEvents();
        return !cancelled;
    }
};

// Where the page goes: the printer chosen in the printer dialog, or, when no
// printer is installed, a PDF file. 1 go on, 0 cancelled, -1 failed (told).
int choose_target(QPrinter& p) {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        static const SaveFilter filters[] = {{"PDF Files(*.pdf)", "*.pdf"},
                                             {"All Files(*.*)", "*.*"}};
        char path[4096];
        const int chosen =
            ask_save_file_name("Print to File", filters, 2, "pdf", path, sizeof path);
        if (chosen == 0) return 0;
        if (chosen < 0) {
            tell("Error! Printing Aborted");
            return -1;
        }
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromUtf8(path));
        return 1;
    }
    p.setOutputFormat(QPrinter::NativeFormat);
    QPrintDialog dialog(&p, dialog_owner());
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

} // namespace

double print_height(double printable_width, int surface_width, int surface_height, double dpi_x,
                    double dpi_y) {
    if (surface_width <= 0 || surface_height <= 0 || !(dpi_x > 0) || !(dpi_y > 0)) return 0;
    return printable_width * surface_height / surface_width * dpi_y / dpi_x;
}

int print_window_image(ChildWindow* cw) {
    if (!cw || cw->destroyed.load()) return 0;
    QPrinter& p = printer();
    const int target = choose_target(p);
    if (target <= 0) return target;

    // One copy of one page.
    p.setCopyCount(1);
    p.setDocName(QString::fromStdString(cw->title));
    p.setColorMode(QPrinter::Color);

    QWidget* owner = frame();
    if (owner) owner->setEnabled(false);
    ProgressBox progress;
    auto finish = [&](int result, const char* message) {
        progress.box.close();
        if (owner) owner->setEnabled(true);
        if (message) tell(message);
        return result;
    };

    QPainter painter;
    if (!progress.pump()) return finish(0, nullptr);
    if (!painter.begin(&p)) return finish(-1, "Print: Internal Error");
    {
        std::lock_guard<WindowMutex> hold(cw->lock);
        const QImage& surface = graphics_of(cw).gfx.surface;
        if (!surface.isNull()) {
            // The whole printable width; the height keeps the surface's
            // aspect ratio in physical units (resolutions may differ).
            const QRect page = p.pageLayout().paintRectPixels(p.resolution());
            const double width = page.width();
            const double height = print_height(width, surface.width(), surface.height(),
                                               p.logicalDpiX(), p.logicalDpiY());
            painter.drawImage(QRectF(0, 0, width, height), surface);
        }
    }
    if (!progress.pump()) {
        p.abort();
        painter.end();
        return finish(0, nullptr);
    }
    if (!painter.end()) return finish(-1, "Print: Printing Error");
    return finish(1, nullptr);
}
