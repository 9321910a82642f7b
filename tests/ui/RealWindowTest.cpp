#include "DemoWindow.h"

#include <QGuiApplication>
#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado::testing;

// Runs on a real X server (xvfb-run): a bare server has no window manager, so the
// framework's own dragging moves and resizes the window.
TEST(RealWindow, DragByCaptionAndResizeByBorder)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X server";
    DemoWindow w;
    ASSERT_TRUE(createShown(w, "real", 50, 50));
    runFor(100);
    const QPoint start = w.GetHWND()->pos();
    dragBy(w, QPoint(250, 20), QPoint(40, 20));
    runFor(100);
    EXPECT_EQ(w.GetHWND()->pos(), start + QPoint(40, 20));

    const int height = w.GetHWND()->height();
    dragBy(w, QPoint(200, height - 2), QPoint(0, 30));
    runFor(100);
    EXPECT_EQ(w.GetHWND()->height(), height + 30);
    EXPECT_TRUE(grabToPng(w, "/tmp/mirado-ui-real.png"));
}
