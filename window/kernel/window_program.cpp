#include "window/kernel/window_program.h"

#include "window/kernel/child_window.h"
#include "window/kernel/frame.h"
#include "window/kernel/internal_error.h"
#include "window/kernel/menu_bar.h"
#include "window/kernel/standard_commands.h"
#include "window/kernel/stop_guard.h"
#include "window/kernel/ui_thread.h"

#include "text/output_unit.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>
#include <QSettings>

#include <cfenv>
#include <cstdio>
#include <cstdlib>
#include <thread>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

// A folder that cannot exist (/dev/null is a file): settings kept "there" are never written.
const QString kNoSettingsFolder = QStringLiteral("/dev/null/no-settings");

// Below-normal priority for the calling thread: on Linux a thread has its own
// nice value. Best effort; a refusal leaves the normal priority.
void lower_priority() {
#ifdef __linux__
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    (void)setpriority(PRIO_PROCESS, tid, 5);
#endif
}

void program_thread(void (*main_routine)()) {
    lower_priority();
    // Round to nearest. The floating-point exceptions stay masked: trapping
    // is not enabled on any thread (the numerics run on the interface thread,
    // together with the toolkit).
    std::fesetround(FE_TONEAREST);
    if (main_routine) main_routine();
    // The main routine returned: the program has finished with exit code 0.
    run_on_ui([] { end_of_program(0); });
}

} // namespace

int frame_start(const char* name) {
    if (frame()) return 0;
    // The program's resources (linked into the executable, not into this
    // layer) may serve the frame icon; without them the platform's stays.
    const QString icon = QStringLiteral(":/icons/hysteresis.png");
    if (QFile::exists(icon)) QApplication::setWindowIcon(QIcon(icon));
    Frame* f = create_frame(name);
    // The lower layers reach the frame's user interface only through what is installed here.
    set_program_state_observer(show_program_state);
    set_window_creator(create_child_window);
    set_standard_command_runner(run_standard_command);
    set_fatal_error_stop(stop_program);
    build_standard_menus(f);
    refresh_menu_bar();
    // 1024 x 768 where the screen has room, else the screen's free area: the frame never starts
    // larger than the screen, with or without a window manager.
    QSize size(1024, 768);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        size = size.boundedTo(free.size());
        f->move(free.topLeft());
    }
    f->resize(size);
    f->show();
    return 1;
}

void frame_shutdown() {
    Frame* f = frame();
    if (!f) return;
    f->shutting_down = true;
    destroy_all_windows();
    forget_menus();
    delete_frame();
    clear_program_stopped();
    clear_program_end();
    set_program_state(kRunning);
}

int run_window_program(int argc, char** argv, void (*main_routine)()) {
    QApplication app(argc, argv);
    // The toolkit's file dialog would keep its history and last folder in the user's settings
    // file; the program remembers nothing between runs, so the toolkit's settings go to a place
    // where no file can be made (nothing is read from there either).
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, kNoSettingsFolder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, kNoSettingsFolder);
    const QString name =
        QFileInfo(QString::fromLocal8Bit(argc > 0 ? argv[0] : "")).completeBaseName();
    frame_start(name.toUtf8().constData());
    set_stop_routine(stop_program);
    std::thread(program_thread, main_routine).detach();
    app.exec();
    // The frame has gone: the process ends here, whatever the program thread does.
    std::fflush(nullptr);
    std::_Exit(0);
}
