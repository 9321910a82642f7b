// Test entry: one QApplication on an offscreen screen large enough for the main window (the plugin's
// own 800x600 screen is smaller than the window's 840x600 minimum), numbers written the C way for
// the media engine.
#include <clocale>

#include <QApplication>
#include <QDir>
#include <QTemporaryFile>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QTemporaryFile config(QDir::temp().filePath(QStringLiteral("mirado-offscreen-XXXXXX.json")));
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if ((platform.isEmpty() || platform == "offscreen") && config.open()) {
        config.write(R"({"windowFrameMargins": false, "screens": [{"name": "big", "x": 0, "y": 0,
            "width": 1600, "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        config.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
