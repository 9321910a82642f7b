#include "CControlUI.h"
#include "DemoWindow.h"
#include "WindowApi.h"

#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

// Counts its timer messages by id and can close itself from one.
class TimerWindow : public DemoWindow {
public:
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_TIMER)
            ++ticks[static_cast<UINT>(wParam)];
        if (uMsg == WM_TIMER && wParam == closeOnTimer)
            Close(closeCode);
        return DemoWindow::HandleMessage(uMsg, wParam, lParam);
    }
    std::map<UINT, int> ticks;
    UINT closeOnTimer = 0;
    UINT closeCode = 0;
};

LPARAM screenPoint(CWindowWnd& w, int x, int y)
{
    const QPoint g = w.GetHWND()->mapToGlobal(QPoint(x, y));
    return MAKELPARAM(g.x(), g.y());
}

} // namespace

TEST(Window, TimersArriveByIdUntilKilled)
{
    TimerWindow w;
    ASSERT_TRUE(createShown(w, "timers"));
    ASSERT_TRUE(w.SetTimer(1, 20));
    ASSERT_TRUE(w.SetTimer(7, 60));
    runFor(250);
    EXPECT_GE(w.ticks[1], 5);
    EXPECT_GE(w.ticks[7], 2);
    EXPECT_GT(w.ticks[1], w.ticks[7]);
    EXPECT_TRUE(w.KillTimer(1));
    EXPECT_FALSE(w.KillTimer(1));
    const int stopped = w.ticks[1];
    runFor(100);
    EXPECT_EQ(w.ticks[1], stopped);
}

TEST(Window, ShowModalReturnsTheCloseCodeWhileOtherTimersFire)
{
    TimerWindow main;
    ASSERT_TRUE(createShown(main, "main"));
    main.SetTimer(1, 10);
    TimerWindow dialog;
    ASSERT_TRUE(dialog.Create(main.GetHWND(), u"dialog", WS_POPUP | WS_VISIBLE, 0));
    dialog.closeOnTimer = 3;
    dialog.closeCode = 42;
    dialog.SetTimer(3, 150);
    const int before = main.ticks[1];
    EXPECT_EQ(dialog.ShowModal(), 42u);
    EXPECT_GE(main.ticks[1] - before, 5) << "the owner's timer kept firing in the nested loop";
    EXPECT_EQ(dialog.GetHWND(), nullptr);
    EXPECT_TRUE(main.GetHWND()->isEnabled()) << "the owner takes input again";
}

TEST(Window, ShowModalGuardsAgainstReentryAndMissingWindows)
{
    TimerWindow idle;
    EXPECT_EQ(idle.ShowModal(), static_cast<UINT>(-1));
    TimerWindow dialog;
    ASSERT_TRUE(createShown(dialog, "dialog"));
    UINT inner = 0;
    QTimer::singleShot(20, [&] {
        inner = dialog.ShowModal();
        dialog.Close(5);
    });
    EXPECT_EQ(dialog.ShowModal(), 5u);
    EXPECT_EQ(inner, static_cast<UINT>(-1));
}

TEST(Window, EscapeClosesWithCancelAndOwnerIsDisabledMeanwhile)
{
    TimerWindow main;
    ASSERT_TRUE(createShown(main, "main"));
    TimerWindow dialog;
    ASSERT_TRUE(dialog.Create(main.GetHWND(), u"dialog", WS_POPUP | WS_VISIBLE, 0));
    bool ownerDisabled = false;
    QTimer::singleShot(30, [&] {
        ownerDisabled = !main.GetHWND()->isEnabled();
        pressKey(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.ShowModal(), static_cast<UINT>(IDCANCEL));
    EXPECT_TRUE(ownerDisabled);
}

TEST(Window, HitTestCodesAtBordersCornersAndCaption)
{
    DemoWindow w;
    ASSERT_TRUE(createShown(w, "hit"));
    w.GetPaintManager().UpdateLayout();
    const int W = w.GetHWND()->width();
    const int H = w.GetHWND()->height();
    ASSERT_EQ(W, 400);
    const auto hit = [&](int x, int y) { return w.SendMessage(WM_NCHITTEST, 0, screenPoint(w, x, y)); };
    // sizebox 4,4,6,6
    EXPECT_EQ(hit(1, 1), HTTOPLEFT);
    EXPECT_EQ(hit(W - 1, 1), HTTOPRIGHT);
    EXPECT_EQ(hit(200, 2), HTTOP);
    EXPECT_EQ(hit(1, H - 1), HTBOTTOMLEFT);
    EXPECT_EQ(hit(W - 1, H - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(200, H - 2), HTBOTTOM);
    EXPECT_EQ(hit(2, 200), HTLEFT);
    EXPECT_EQ(hit(W - 2, 200), HTRIGHT);
    // Caption band: the title's empty space drags, the text and the button do not.
    EXPECT_EQ(hit(250, 20), HTCAPTION);
    const QPoint title = centreOf(w, "txt_title");
    EXPECT_EQ(hit(title.x(), title.y()), HTCLIENT);
    const QPoint close = centreOf(w, "btn_close");
    EXPECT_EQ(hit(close.x(), close.y()), HTCLIENT);
    EXPECT_EQ(hit(200, 200), HTCLIENT);
    // Maximised windows have no sizing borders.
    w.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    runFor(50);
    ASSERT_TRUE(IsZoomed(w.GetHWND()));
    EXPECT_EQ(hit(1, 20), HTCAPTION);
    EXPECT_EQ(hit(1, 200), HTCLIENT);
    w.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    runFor(50);
    EXPECT_FALSE(IsZoomed(w.GetHWND()));
}

TEST(Window, DoubleClickOnTheCaptionMaximisesAndRestores)
{
    DemoWindow w;
    ASSERT_TRUE(createShown(w, "caption"));
    doubleClickAt(w, QPoint(250, 20));
    runFor(30);
    EXPECT_TRUE(IsZoomed(w.GetHWND()));
    doubleClickAt(w, QPoint(250, 20));
    runFor(30);
    EXPECT_FALSE(IsZoomed(w.GetHWND()));
}

TEST(Window, DraggingTheCaptionMovesAndABorderResizes)
{
    DemoWindow w;
    ASSERT_TRUE(createShown(w, "drag", 30, 30));
    const QPoint start = w.GetHWND()->pos();
    dragBy(w, QPoint(250, 20), QPoint(40, 25));
    EXPECT_EQ(w.GetHWND()->pos(), start + QPoint(40, 25));
    const QSize size = w.GetHWND()->size();
    dragBy(w, QPoint(size.width() - 2, 200), QPoint(50, 0));
    EXPECT_EQ(w.GetHWND()->width(), size.width() + 50);
    EXPECT_EQ(w.GetHWND()->pos(), start + QPoint(40, 25)) << "the left edge stays";
    // The left edge moves the window and keeps the right edge in place.
    const int rightEdge = w.GetHWND()->geometry().right();
    dragBy(w, QPoint(1, 200), QPoint(-20, 0));
    EXPECT_EQ(w.GetHWND()->geometry().right(), rightEdge);
    EXPECT_EQ(w.GetHWND()->width(), size.width() + 70);
    // Not below the skin's minimum size (mininfo 300,220).
    dragBy(w, QPoint(w.GetHWND()->width() - 2, 200), QPoint(-400, 0));
    EXPECT_EQ(w.GetHWND()->width(), 300);
}

TEST(Window, FindControlByNameAndPoint)
{
    DemoWindow w;
    ASSERT_TRUE(createShown(w, "find"));
    w.GetPaintManager().UpdateLayout();
    CPaintManagerUI& pm = w.GetPaintManager();
    EXPECT_EQ(pm.FindControl(u"nothing"), nullptr);
    EXPECT_EQ(pm.FindControl(u""), nullptr);
    CControlUI* close = pm.FindControl(u"btn_close");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(QString::fromUtf16(close->GetClass()), "ButtonUI");
    EXPECT_EQ(pm.FindControl(u"BTN_CLOSE"), nullptr) << "names compare exactly";
    const RECT r = close->GetPos();
    EXPECT_EQ(pm.FindControl(POINT{r.left + 1, r.top + 1}), close);
    EXPECT_EQ(pm.FindControl(POINT{r.left - 1, r.top + 1}), pm.FindControl(u"title_space"));
    EXPECT_EQ(pm.FindControl(POINT{-5, -5}), nullptr);
    // Hidden pages are not found at a point.
    const RECT page = pm.FindControl(u"page0")->GetPos();
    EXPECT_EQ(pm.FindControl(POINT{page.left + 2, page.top + 2}), pm.FindControl(u"page0"));
}

TEST(Window, CreateHonoursChildPopupAndVisibleStyles)
{
    DemoWindow main;
    ASSERT_TRUE(createShown(main, "main"));
    DemoWindow child;
    ASSERT_TRUE(child.Create(main.GetHWND(), u"child", WS_CHILD, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT));
    EXPECT_EQ(child.GetHWND()->parentWidget(), main.GetHWND());
    EXPECT_FALSE(child.GetHWND()->isWindow());
    EXPECT_FALSE(child.GetHWND()->isVisible()) << "no WS_VISIBLE";
    EXPECT_EQ(child.GetHWND()->size(), QSize(400, 320)) << "sized from the skin";
    child.ShowWindow(true, false);
    EXPECT_TRUE(child.GetHWND()->isVisible());
    EXPECT_TRUE(IsWindow(child.GetHWND()));

    DemoWindow popup;
    ASSERT_TRUE(popup.Create(main.GetHWND(), u"popup", WS_POPUP | WS_VISIBLE, 0));
    EXPECT_TRUE(popup.GetHWND()->isWindow());
    EXPECT_TRUE(popup.GetHWND()->isVisible());
    EXPECT_EQ(popup.GetHWND()->windowTitle(), "popup");
    EXPECT_TRUE(popup.GetHWND()->windowFlags().testFlag(Qt::FramelessWindowHint));

    DemoWindow orphan;
    EXPECT_EQ(orphan.Create(nullptr, u"orphan", WS_CHILD, 0), nullptr) << "a child needs a parent";
}

TEST(Window, ReparentingAndPlacementRoundTrip)
{
    DemoWindow main;
    ASSERT_TRUE(createShown(main, "main"));
    DemoWindow child;
    ASSERT_TRUE(child.Create(main.GetHWND(), u"child", WS_CHILD | WS_VISIBLE, 0));
    SetWindowPos(child.GetHWND(), nullptr, 10, 20, 100, 80, SWP_NOZORDER);
    WINDOWPLACEMENT saved;
    ASSERT_TRUE(GetWindowPlacement(child.GetHWND(), &saved));
    EXPECT_EQ(saved.rcNormalPosition, (RECT{10, 20, 110, 100}));

    SetParent(child.GetHWND(), nullptr);
    EXPECT_TRUE(child.GetHWND()->isWindow());
    EXPECT_TRUE(child.GetStyle() & WS_POPUP);
    SetWindowPos(child.GetHWND(), HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), SWP_SHOWWINDOW);
    EXPECT_TRUE(child.GetHWND()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(child.GetHWND()->width(), GetSystemMetrics(SM_CXSCREEN));

    SetWindowPos(child.GetHWND(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    SetParent(child.GetHWND(), main.GetHWND());
    ASSERT_TRUE(SetWindowPlacement(child.GetHWND(), &saved));
    EXPECT_EQ(child.GetHWND()->parentWidget(), main.GetHWND());
    EXPECT_TRUE(child.GetStyle() & WS_CHILD);
    EXPECT_EQ(child.GetHWND()->geometry(), QRect(10, 20, 100, 80));
    EXPECT_TRUE(child.GetHWND()->isVisible());
}

TEST(Window, TickCountIsSteadyMilliseconds)
{
    const DWORD a = GetTickCount();
    runFor(50);
    const DWORD b = GetTickCount();
    EXPECT_GE(static_cast<DWORD>(b - a), 45u);
    EXPECT_LT(static_cast<DWORD>(b - a), 5000u);
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(99), 0);
}

TEST(Window, QuitBeforeTheLoopEndsItAtOnce)
{
    PostQuitMessage(3);
    int code = 0;
    EXPECT_TRUE(mirado::quitPosted(&code));
    EXPECT_EQ(code, 3);
    EXPECT_EQ(CPaintManagerUI::MessageLoop(), 3);
    EXPECT_FALSE(mirado::quitPosted());
}

TEST(Window, SystemCloseDestroysAndCallsTheFinalMessage)
{
    struct Final : DemoWindow {
        void OnFinalMessage(HWND h) override
        {
            finalWith = h;
            DemoWindow::OnFinalMessage(h);
        }
        HWND finalWith = nullptr;
    } w;
    ASSERT_TRUE(createShown(w, "final"));
    HWND h = w.GetHWND();
    w.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(w.finalWith, h);
    EXPECT_EQ(w.GetHWND(), nullptr);
    EXPECT_FALSE(IsWindow(h));
}
