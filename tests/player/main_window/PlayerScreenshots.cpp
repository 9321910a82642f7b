// Makes the player's screenshots for README: run under Xvfb with the xcb platform, e.g.
//   xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb player_screenshots docs/screenshots
// The main window with three playlist rows, the password prompt over it, a protected video playing
// with its watermark, and full screen with the play bar.
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include "ScreenCapture.h"
#include "TestClips.h"
#include "player/CMainFrame.h"
#include "surface/CPasswordFrame.h"
#include "surface/CVideoRealWnd.h"
#include "tests/support/TempDir.h"
#include "ui/CListUI.h"
#include "ui/WindowApi.h"
#include "ui/testing/UiTestHarness.h"

namespace {

using namespace mirado::testing;

const QString kPassword = QStringLiteral("Mirado2024");

// A pleasant 12-second clip: a slow Mandelbrot zoom with a quiet tone.
QString makeVideo(const TempDir& folder, const QString& name) {
    const QString path = QString::fromStdString((folder / name.toStdString()).string());
    const QString command =
        QStringLiteral("ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i mandelbrot=size=640x360:rate=25 "
                       "-f lavfi -i sine=frequency=330:duration=12 -t 12 -c:v libx264 -preset ultrafast "
                       "-pix_fmt yuv420p -c:a aac -shortest '%1'")
            .arg(path);
    if (std::system(command.toLocal8Bit().constData()) != 0) std::abort();
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(out);

    TempDir folder;
    const QString video = makeVideo(folder, QStringLiteral("家庭旅行.mp4"));
    const QString protectedVideo =
        TestClips::instance().container(video, kPassword, QStringLiteral("Mirado 版权所有"), 3, 2, 1);
    const QString plainVideo = makeVideo(folder, QStringLiteral("sunset-timelapse.mp4"));
    const QString picture = TestClips::instance().picture(QStringLiteral("beach.png"), 320, 200, QColor(40, 120, 180));

    ServiceScope services;
    CMainFrame frame;
    if (!showMainWindow(frame)) return 1;
    frame.addPaths({protectedVideo, plainVideo, picture});
    frame.playlist()->SelectIndex(1);
    runFor(600);
    const QRect window = frame.GetHWND()->frameGeometry();
    bool ok = saveScreen(window, out + QStringLiteral("/main-window.png"));

    // The prompt, typed half-way, over the main window; then the password is confirmed.
    QTimer::singleShot(400, [&] {
        CPasswordFrame* prompt = openPasswordPrompt();
        if (prompt == nullptr) return;
        typeInto(*prompt, QStringLiteral("edit_encode_psw"), kPassword);
        runFor(400);
        ok = saveScreen(window, out + QStringLiteral("/password-prompt.png")) && ok;
        click(*prompt, QStringLiteral("btn_ok"));
    });
    frame.playlist()->SelectIndex(0);
    frame.PlaySelected();
    runFor(2500);
    ok = saveScreen(window, out + QStringLiteral("/playing-protected.png")) && ok;

    frame.videoSurface()->toggleFullScreen();
    runFor(800);
    frame.videoSurface()->setPlayBarVisible(true);
    runFor(1200);
    ok = saveScreen(QGuiApplication::primaryScreen()->geometry(), out + QStringLiteral("/fullscreen-playbar.png")) && ok;
    frame.videoSurface()->toggleFullScreen();
    frame.Stop();
    runFor(100);
    g_pMainFrame = nullptr;
    return ok ? 0 : 1;
}
