// Test entry: the application object on the offscreen platform and the frame
// running in-process (no program thread), then every test.
#include "window/graph/graph_setup.h"
#include "window/kernel/window_program.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Message boxes of the layer are answered without showing them.
    set_message_box_answer([](const char*, const char*, int) { return 1; });
    set_process_end([](int) {});
    install_window_graph();
    frame_start("test_window_graph");
    int rc = RUN_ALL_TESTS();
    QApplication::processEvents();
    frame_shutdown();
    return rc;
}
