#include "player/PlayerProgram.h"

#include <clocale>
#include <memory>

#include <QApplication>
#include <QTimer>

#include "player/CMainFrame.h"
#include "player/LocalFiles.h"
#include "player/SingleInstance.h"
#include "ui/CPaintManagerUI.h"
#include "ui/Translation.h"
#include "ui/WindowApi.h"

namespace mirado {

int runPlayer(const QStringList& arguments) {
    QApplication::setApplicationName(QStringLiteral("mirado-player"));
    // Ties the windows to the installed desktop entry (its name and icon).
    QApplication::setDesktopFileName(QStringLiteral("mirado-player"));
    // English under an English locale, the windows' own Chinese under any other.
    installTranslations();
    // The media engine refuses to start unless numbers are written the C way.
    std::setlocale(LC_NUMERIC, "C");

    const QStringList files = existingFiles(arguments);
    SingleInstance instance;
    if (instance.handOver(files)) return 0;

    CPaintManagerUI::SetInstance(qApp);
    auto frame = std::make_unique<CMainFrame>();
    g_pMainFrame = frame.get();
    if (frame->Create(nullptr, u"MiradoVideo_WNDNAME", WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                      WS_EX_STATICEDGE | WS_EX_APPWINDOW, 0) == nullptr) {
        g_pMainFrame = nullptr;
        return 0;
    }
    instance.listen([&frame](const QStringList& paths) {
        frame->comeForward();
        frame->openFiles(paths);
    });
    frame->CenterWindow();
    frame->ShowWindow(true, true);
    SetWindowPos(frame->GetHWND(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    // Once the loop runs, so that a password prompt opens over the window, not before it.
    QTimer::singleShot(0, qApp, [&frame, files] { frame->openFiles(files); });

    CPaintManagerUI::MessageLoop();
    g_pMainFrame = nullptr;
    return 0;
}

}  // namespace mirado
