// Test entry for the player's windows on a real X server (xvfb-run). With --window-manager=openbox
// the tests run under openbox, started here on the same display; otherwise the server is bare.
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstring>
#include <gtest/gtest.h>

#include "XInput.h"

int main(int argc, char** argv) {
    QTemporaryDir runtime;
    if (!runtime.isValid()) return 1;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    bool openbox = false;
    for (int i = 1; i < argc; ++i) openbox = openbox || std::strcmp(argv[i], "--window-manager=openbox") == 0;
    QApplication application(argc, argv);

    QProcess windowManager;
    if (openbox) {
        // Its own configuration folder: the user's settings never reach the test.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), runtime.path());
        windowManager.setProcessEnvironment(env);
        windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        QElapsedTimer clock;
        clock.start();
        while (!mirado::testing::xinput::windowManagerRuns()) {
            if (clock.elapsed() > 20000 || windowManager.state() == QProcess::NotRunning) {
                fprintf(stderr, "openbox did not start\n");
                return 1;
            }
            QThread::msleep(100);
        }
    }
    const int result = RUN_ALL_TESTS();
    if (openbox) {
        windowManager.terminate();
        if (!windowManager.waitForFinished(5000)) windowManager.kill();
    }
    return result;
}
