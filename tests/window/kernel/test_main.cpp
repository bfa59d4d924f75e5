// Runs the window kernel tests with an application object on the offscreen platform.
#include "tests/window/kernel/kernel_fixture.h"

#include "text/output_unit.h"
#include "window/kernel/units.h"

#include <QApplication>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

Recorded& recorded() {
    static Recorded r;
    return r;
}

namespace {

int answer_box(const char* text, const char* title, int style) {
    Recorded& r = recorded();
    ++r.boxes;
    r.text = text;
    r.title = title;
    r.style = style;
    return r.answer;
}

void catch_end(int) {
    ++recorded().ends;
}

void record_line(int, const char* line, int length) {
    recorded().last_line.assign(line, static_cast<size_t>(length));
    ++recorded().lines;
}

} // namespace

bool pump_until(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void run_on_thread(const std::function<void()>& fn) {
    std::atomic<bool> finished{false};
    std::thread t([&] {
        fn();
        finished = true;
    });
    while (!finished)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    t.join();
}

std::string item_text(int menu, int item) {
    char buf[256];
    return menu_item_text(menu, item, buf, sizeof buf) < 0 ? std::string() : std::string(buf);
}

void KernelTest::SetUp() {
    recorded() = Recorded{};
    ASSERT_EQ(frame_start("kernel_test"), 1);
}

void KernelTest::TearDown() {
    frame_shutdown();
    QCoreApplication::processEvents();
}

int main(int argc, char** argv) {
    // Headless unless a platform is asked for (test discovery runs without one).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    set_message_box_answer(answer_box);
    set_process_end(catch_end);
    set_line_sink(record_line);
    return RUN_ALL_TESTS();
}
