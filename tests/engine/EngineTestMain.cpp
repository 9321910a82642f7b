#include <gtest/gtest.h>

#include <QApplication>

// The engine's events reach it through the Qt event loop, and its window needs a widget application.
int main(int argc, char** argv) {
    // Test discovery runs the program outside the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
