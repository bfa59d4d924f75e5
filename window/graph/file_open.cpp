// The open-file dialog.
#include "window/graph/file_open.h"

#include "window/kernel/frame.h"
#include "window/kernel/ui_thread.h"

#include <QFileDialog>
#include <QStringList>
#include <atomic>
#include <cstring>

namespace {

std::atomic<OpenFileAnswer> g_answer{nullptr};

} // namespace

void set_open_file_answer(OpenFileAnswer answer) {
    g_answer.store(answer);
}

int ask_open_file_name(const char* title, const SaveFilter* filters, int filter_count, char* path,
                       int path_size) {
    if (!path || path_size <= 0) return -1;
    path[0] = '\0';
    if (OpenFileAnswer answer = g_answer.load())
        return answer(title ? title : "", path, path_size) ? 1 : 0;
    QString chosen;
    run_on_ui([&] {
        QFileDialog dialog(dialog_owner(), QString::fromUtf8(title ? title : "Open"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        QStringList names;
        for (int i = 0; i < filter_count; ++i)
            names << QString::fromUtf8(filters[i].text);
        dialog.setNameFilters(names);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().first();
    });
    if (chosen.isEmpty()) return 0;
    const QByteArray utf8 = chosen.toUtf8();
    if (utf8.size() >= path_size) return -1;
    std::memcpy(path, utf8.constData(), static_cast<size_t>(utf8.size()) + 1);
    return 1;
}
