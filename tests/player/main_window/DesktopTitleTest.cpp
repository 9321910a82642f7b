// What the window manager reads from the main window on a real X server: a title a person can read
// that names the file on show, and the program's icon. Asked of the X server itself with xprop.
#include <QGuiApplication>
#include <QProcess>
#include <QWidget>

#include "MainWindowFixture.h"
#include "TestClips.h"

namespace mirado::testing {
namespace {

QString xprop(QWidget* window, const QString& property) {
    QProcess process;
    process.start(QStringLiteral("xprop"),
                  {QStringLiteral("-id"), QString::number(window->winId()), property});
    if (!process.waitForFinished(5000)) return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

class DesktopTitle : public MainWindowTest {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X server";
    }
};

TEST_F(DesktopTitle, TheWindowManagerReadsMiradoWithTheFileOnShowAndFindsTheIcon) {
    open(avplayer::Pace::AsFastAsPossible);
    QWidget* window = frame->GetHWND();
    EXPECT_EQ(xprop(window, QStringLiteral("_NET_WM_NAME")), QStringLiteral("_NET_WM_NAME(UTF8_STRING) = \"Mirado\""));
    const QString icon = xprop(window, QStringLiteral("_NET_WM_ICON"));
    EXPECT_TRUE(icon.startsWith(QStringLiteral("_NET_WM_ICON(CARDINAL) ="))) << icon.left(200).toStdString();

    const QString picture = TestClips::instance().picture("名前.png", 32, 24);
    frame->openFiles({picture});
    ASSERT_EQ(frame->currentPath(), picture);
    EXPECT_TRUE(waitUntil([&] {
        return xprop(window, QStringLiteral("_NET_WM_NAME")) ==
               QStringLiteral("_NET_WM_NAME(UTF8_STRING) = \"Mirado — 名前.png\"");
    }, 2000)) << xprop(window, QStringLiteral("_NET_WM_NAME")).toStdString();
}

}  // namespace
}  // namespace mirado::testing
