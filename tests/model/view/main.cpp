// Test entry: the application object on the offscreen platform, the frame built in-process, then
// every test.
#include <gtest/gtest.h>

#include <QApplication>

#include "window/graph/graph_setup.h"
#include "window/kernel/window_program.h"

namespace {

// Message boxes and the end prompt are answered without showing them.
int answer_no(const char*, const char*, int) {
    return 7;
}

} // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    set_message_box_answer(answer_no);
    install_window_graph();
    frame_start("test_model_view");
    const int result = RUN_ALL_TESTS();
    frame_shutdown();
    return result;
}
