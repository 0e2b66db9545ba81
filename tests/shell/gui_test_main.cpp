// The widget tests need one QApplication for the whole run; gtest_main cannot make it.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Widgets need a display; without one, draw off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
