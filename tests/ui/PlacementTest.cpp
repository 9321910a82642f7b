#include "CControlUI.h"
#include "DemoWindow.h"
#include "InlineWindow.h"
#include "WindowApi.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

QRect available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// A window of the given size from an inline skin, created (not shown) with owner and style.
std::unique_ptr<SkinWindow> sized(int w, int h, HWND owner, DWORD style)
{
    useInlineSkin({{"Sized.xml", QStringLiteral("<Window size=\"%1,%2\"><Control/></Window>").arg(w).arg(h).toUtf8()}});
    auto window = std::make_unique<SkinWindow>("Sized.xml");
    if (!window->Create(owner, u"sized", style, 0))
        return nullptr;
    return window;
}

} // namespace

TEST(Placement, CenterWindowOverTheOwnerTheScreenOrTheParent)
{
    DemoWindow main;
    ASSERT_TRUE(createShown(main, "main", 60, 40));
    const QRect owner = main.GetHWND()->geometry();

    auto dialog = sized(200, 100, main.GetHWND(), WS_POPUP);
    ASSERT_NE(dialog, nullptr);
    dialog->CenterWindow();
    EXPECT_EQ(dialog->GetHWND()->geometry(), QRect(owner.center() - QPoint(99, 49), QSize(200, 100)));

    auto lone = sized(200, 100, nullptr, WS_POPUP);
    ASSERT_NE(lone, nullptr);
    lone->CenterWindow();
    EXPECT_EQ(lone->GetHWND()->geometry().center(), QRect(available().center() - QPoint(99, 49), QSize(200, 100)).center());

    // An owner out of sight is no reference: the screen is.
    main.ShowWindow(false);
    dialog->CenterWindow();
    EXPECT_EQ(dialog->GetHWND()->geometry(), lone->GetHWND()->geometry());
    main.ShowWindow(true);

    // Bigger than the screen: the top-left corner (and with it the caption) stays on it.
    auto huge = sized(available().width() + 400, available().height() + 300, nullptr, WS_POPUP);
    ASSERT_NE(huge, nullptr);
    huge->CenterWindow();
    EXPECT_EQ(huge->GetHWND()->pos(), available().topLeft());

    // A child is centred in its parent.
    auto child = sized(100, 60, main.GetHWND(), WS_CHILD);
    ASSERT_NE(child, nullptr);
    child->CenterWindow();
    EXPECT_EQ(child->GetHWND()->geometry(), QRect(150, 130, 100, 60));
}

TEST(Placement, MaximisedWindowsKeepTheirNormalPlaceAndTheLayoutFollows)
{
    DemoWindow w;
    ASSERT_TRUE(createShown(w, "max", 40, 50));
    w.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    runFor(30);
    ASSERT_TRUE(IsZoomed(w.GetHWND()));
    EXPECT_EQ(w.GetHWND()->size(), available().size());
    WINDOWPLACEMENT saved{};
    ASSERT_TRUE(GetWindowPlacement(w.GetHWND(), &saved));
    EXPECT_EQ(saved.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(saved.rcNormalPosition, (RECT{40, 50, 440, 370}));
    grab(w);
    EXPECT_EQ(w.GetPaintManager().GetRoot()->GetPos().right, available().width()) << "laid out at the new size";

    // Restored by placement: the normal place again.
    WINDOWPLACEMENT normal = saved;
    normal.showCmd = SW_SHOWNORMAL;
    ASSERT_TRUE(SetWindowPlacement(w.GetHWND(), &normal));
    runFor(30);
    EXPECT_FALSE(IsZoomed(w.GetHWND()));
    EXPECT_EQ(w.GetHWND()->geometry(), QRect(40, 50, 400, 320));

    // Maximised by placement with another normal place: restoring goes there.
    WINDOWPLACEMENT other = saved;
    other.rcNormalPosition = RECT{10, 20, 330, 260};
    ASSERT_TRUE(SetWindowPlacement(w.GetHWND(), &other));
    runFor(30);
    EXPECT_TRUE(IsZoomed(w.GetHWND()));
    w.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    runFor(30);
    EXPECT_EQ(w.GetHWND()->geometry(), QRect(10, 20, 320, 240));
    grab(w);
    EXPECT_EQ(w.GetPaintManager().GetRoot()->GetPos(), (RECT{0, 0, 320, 240}));
}

TEST(Placement, ChildToTopLevelAndBackKeepsGeometryStyleAndTree)
{
    DemoWindow main;
    ASSERT_TRUE(createShown(main, "main"));
    auto child = sized(120, 80, main.GetHWND(), WS_CHILD | WS_VISIBLE);
    ASSERT_NE(child, nullptr);
    SetWindowPos(child->GetHWND(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // Out to the screen and back twice: nothing drifts.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(SetParent(child->GetHWND(), nullptr), main.GetHWND());
        EXPECT_TRUE(child->GetHWND()->isWindow());
        EXPECT_EQ(GetWindowStyle(child->GetHWND()) & (WS_CHILD | WS_POPUP), WS_POPUP);
        EXPECT_TRUE(child->GetHWND()->isVisible());
        EXPECT_EQ(SetParent(child->GetHWND(), main.GetHWND()), nullptr);
        EXPECT_EQ(GetParent(child->GetHWND()), main.GetHWND());
        EXPECT_EQ(GetWindowStyle(child->GetHWND()) & (WS_CHILD | WS_POPUP), WS_CHILD);
        EXPECT_EQ(child->GetHWND()->geometry(), QRect(30, 40, 120, 80));
    }
    // The control tree still answers: it is the same window.
    EXPECT_NE(child->GetPaintManager().GetRoot(), nullptr);
    EXPECT_EQ(CWindowWnd::FromHandle(child->GetHWND()), child.get());
    // A hidden child stays hidden through the move.
    child->ShowWindow(false);
    SetParent(child->GetHWND(), nullptr);
    EXPECT_FALSE(child->GetHWND()->isVisible());
}

// Every border and corner to the pixel: sizebox 4,5,6,7 on a 300 x 200 window; a
// border n wide covers exactly n pixels. Also run at scale factor 2.
TEST(HitTest, EveryBorderAndCornerToThePixel)
{
    auto w = showInline(R"(<Window size="300,200" sizebox="4,5,6,7" caption="0,0,0,30">
        <VerticalLayout><HorizontalLayout height="30"><Control/><Button name="btn" width="40"/></HorizontalLayout><Control/></VerticalLayout>
      </Window>)",
                        {}, 20, 20);
    ASSERT_NE(w, nullptr);
    const auto hit = [&](int x, int y) {
        const QPoint g = w->GetHWND()->mapToGlobal(QPoint(x, y));
        return w->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(g.x(), g.y()));
    };
    struct Case {
        int x, y;
        LRESULT code;
    };
    const Case cases[] = {
        {0, 0, HTTOPLEFT},       {3, 4, HTTOPLEFT},       {4, 4, HTTOP},          {3, 5, HTLEFT},
        {150, 0, HTTOP},         {150, 4, HTTOP},         {150, 5, HTCAPTION},    {293, 4, HTTOP},
        {294, 4, HTTOPRIGHT},    {299, 0, HTTOPRIGHT},    {294, 5, HTRIGHT},      {293, 100, HTCLIENT},
        {294, 100, HTRIGHT},     {299, 100, HTRIGHT},     {0, 100, HTLEFT},       {3, 100, HTLEFT},
        {4, 100, HTCLIENT},      {150, 192, HTCLIENT},    {150, 193, HTBOTTOM},   {150, 199, HTBOTTOM},
        {3, 193, HTBOTTOMLEFT},  {4, 193, HTBOTTOM},      {3, 192, HTLEFT},       {294, 193, HTBOTTOMRIGHT},
        {299, 199, HTBOTTOMRIGHT}, {293, 193, HTBOTTOM},  {294, 192, HTRIGHT},    {10, 29, HTCAPTION},
        {10, 30, HTCLIENT},      {270, 15, HTCLIENT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hit(c.x, c.y), c.code) << "at " << c.x << "," << c.y;

    // A press on the outermost and the innermost pixel of the right border resizes.
    dragBy(*w, QPoint(299, 100), QPoint(20, 0));
    EXPECT_EQ(w->GetHWND()->width(), 320);
    dragBy(*w, QPoint(314, 100), QPoint(-20, 0));
    EXPECT_EQ(w->GetHWND()->width(), 300);

    // Maximised: no borders, the caption reaches the edges.
    w->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    runFor(30);
    ASSERT_TRUE(IsZoomed(w->GetHWND()));
    EXPECT_EQ(hit(0, 0), HTCAPTION);
    EXPECT_EQ(hit(0, 100), HTCLIENT);
    EXPECT_EQ(hit(w->GetHWND()->width() - 1, w->GetHWND()->height() - 1), HTCLIENT);
}
