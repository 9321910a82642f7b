#include "ScreenCapture.h"

#include <cstdio>

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <QtTest/QTest>

#include "player/CMainFrame.h"
#include "surface/CPasswordFrame.h"
#include "ui/WindowApi.h"

namespace mirado::testing {

bool saveScreen(const QRect& area, const QString& file) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const bool saved = shot.save(file, "PNG");
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
    return saved;
}

bool showMainWindow(CMainFrame& frame) {
    g_pMainFrame = &frame;
    if (!frame.Create(nullptr, u"MiradoVideo_WNDNAME", WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                      WS_EX_STATICEDGE | WS_EX_APPWINDOW, 0))
        return false;
    frame.GetHWND()->move(40, 40);
    frame.GetHWND()->resize(960, 640);
    return QTest::qWaitForWindowExposed(frame.GetHWND()->windowHandle());
}

CPasswordFrame* openPasswordPrompt() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == QStringLiteral("PasswordFrame"))
            return dynamic_cast<CPasswordFrame*>(CWindowWnd::FromHandle(widget));
    return nullptr;
}

}  // namespace mirado::testing
