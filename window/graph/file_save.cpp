// The save-file dialog and the write-then-rename of a file.
#include "window/graph/file_save.h"

#include "window/kernel/frame.h"
#include "window/kernel/ui_thread.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

std::atomic<SaveFileAnswer> g_answer{nullptr};

void copy_reason(char* error, int error_size, const QString& reason) {
    if (!error || error_size <= 0) return;
    std::snprintf(error, static_cast<size_t>(error_size), "%s", reason.toUtf8().constData());
}

} // namespace

void set_save_file_answer(SaveFileAnswer answer) {
    g_answer.store(answer);
}

int ask_save_file_name(const char* title, const SaveFilter* filters, int filter_count,
                       const char* default_extension, char* path, int path_size) {
    if (!path || path_size <= 0) return -1;
    path[0] = '\0';
    if (SaveFileAnswer answer = g_answer.load())
        return answer(title ? title : "", default_extension ? default_extension : "", path,
                      path_size)
                   ? 1
                   : 0;
    QString chosen;
    run_on_ui([&] {
        QFileDialog dialog(dialog_owner(), QString::fromUtf8(title ? title : "Save As"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        QStringList names;
        for (int i = 0; i < filter_count; ++i)
            names << QString::fromUtf8(filters[i].text);
        dialog.setNameFilters(names);
        if (default_extension && *default_extension)
            dialog.setDefaultSuffix(QString::fromUtf8(default_extension));
        // The dialog asks before replacing an existing file (its default).
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().first();
    });
    if (chosen.isEmpty()) return 0;
    const QByteArray utf8 = chosen.toUtf8();
    if (utf8.size() >= path_size) return -1;
    std::memcpy(path, utf8.constData(), static_cast<size_t>(utf8.size()) + 1);
    return 1;
}

int write_file_safely(const char* path, const char* data, int64_t size, char* error,
                      int error_size) {
    if (error && error_size > 0) error[0] = '\0';
    if (!path || !*path || size < 0 || (size > 0 && !data)) {
        copy_reason(error, error_size, QStringLiteral("no file name"));
        return 0;
    }
    const QString name = QString::fromUtf8(path);
    QSaveFile file(name);
    // Never fall back to writing the target in place: a failure must keep
    // the old file whole.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        copy_reason(error, error_size, file.errorString());
        return 0;
    }
    int64_t done = 0;
    while (done < size) {
        const qint64 n = file.write(data + done, size - done);
        if (n <= 0) {
            copy_reason(error, error_size, file.errorString());
            file.cancelWriting();
            return 0;
        }
        done += n;
    }
    if (!file.commit()) {
        copy_reason(error, error_size, file.errorString());
        return 0;
    }
    return 1;
}
