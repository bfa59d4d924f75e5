// Start-up of the windowed program: the frame on the interface thread, the program thread.
#include "window/kernel/window_program.h"

#include "window/kernel/program_state.h"
#include "window/kernel/ui_thread.h"

#include "text/output_unit.h"

#include <QApplication>
#include <QFileInfo>

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

int run_window_program(int argc, char** argv, void (*main_routine)()) {
    QApplication app(argc, argv);
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
