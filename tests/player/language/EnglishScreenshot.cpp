// Makes the README's English screenshot under Xvfb with the xcb platform, e.g.
//   xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb english_screenshot docs/screenshots
// The main window in English with three playlist rows and the password prompt over it
// (english-password-prompt.png); also the settings window's two pages (english-settings-*.png) to
// see that the longer English texts fit their controls.
#include <clocale>
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

#include "../main_window/ScreenCapture.h"
#include "../main_window/TestClips.h"
#include "player/CMainFrame.h"
#include "player/CSystemInfoFrame.h"
#include "surface/CPasswordFrame.h"
#include "ui/CListUI.h"
#include "ui/Translation.h"
#include "ui/testing/UiTestHarness.h"

namespace {

using namespace mirado::testing;

bool settingsPages(const QString& out) {
    CSystemInfoFrame settings;
    if (!createShown(settings, QStringLiteral("SystemConfigFrame"), 60, 60)) return false;
    runFor(300);
    bool ok = grabToPng(settings, out + QStringLiteral("/english-settings-encrypt.png"));
    // The page list's second row, clicked.
    if (auto* pages = dynamic_cast<CListUI*>(settings.GetPaintManager().FindControl(CDuiString(u"list_type")))) {
        const RECT row = pages->ItemAt(1)->GetPos();
        clickAt(settings, QPoint(row.left + row.width() / 2, row.top + row.height() / 2));
    }
    runFor(300);
    ok = grabToPng(settings, out + QStringLiteral("/english-settings-about.png")) && ok;
    settings.Close(IDOK);
    runFor(100);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (!mirado::installTranslations(QLocale(QLocale::English, QLocale::UnitedStates))) return 1;
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(out);

    const QString video = TestClips::instance().video(QStringLiteral("family-trip.mp4"), 2);
    const QString protectedVideo = TestClips::instance().container(video, QStringLiteral("Mirado2024"));
    const QString plainVideo = TestClips::instance().video(QStringLiteral("sunset-timelapse.mp4"), 1);
    const QString picture = TestClips::instance().picture(QStringLiteral("beach.png"), 320, 200, QColor(40, 120, 180));

    ServiceScope services;
    CMainFrame frame;
    if (!showMainWindow(frame)) return 1;
    frame.addPaths({protectedVideo, plainVideo, picture});
    runFor(600);
    const QRect window = frame.GetHWND()->frameGeometry();

    bool ok = false;
    QTimer::singleShot(400, [&] {
        CPasswordFrame* prompt = openPasswordPrompt();
        if (prompt == nullptr) return;
        typeInto(*prompt, QStringLiteral("edit_encode_psw"), QStringLiteral("Mirado"));
        runFor(400);
        ok = saveScreen(window, out + QStringLiteral("/english-password-prompt.png"));
        click(*prompt, QStringLiteral("btn_cancel"));
    });
    frame.playlist()->SelectIndex(0);
    frame.PlaySelected();
    runFor(300);
    ok = settingsPages(out) && ok;
    g_pMainFrame = nullptr;
    return ok ? 0 : 1;
}
