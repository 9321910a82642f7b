#include <gtest/gtest.h>

#include <QGuiApplication>

// The renderer draws text, which needs a GUI application; without a display it runs offscreen,
// also when CTest lists the tests at build time.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
