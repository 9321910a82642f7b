#include "DemoWindow.h"
#include "WindowApi.h"

#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

// Counts the timer messages of each id and runs an action for a chosen id.
class TimerWindow : public DemoWindow {
public:
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_TIMER) {
            const auto id = static_cast<UINT>(wParam);
            ++arrivals[id];
            if (const auto it = onTimer.find(id); it != onTimer.end())
                it->second();
        }
        return DemoWindow::HandleMessage(uMsg, wParam, lParam);
    }
    int count(UINT id) { return arrivals[id]; }
    std::map<UINT, int> arrivals;
    std::map<UINT, std::function<void()>> onTimer;
};

} // namespace

TEST(Timers, RestartingAnIdReplacesItsIntervalAndKillingWorksFromItsOwnMessage)
{
    TimerWindow w;
    ASSERT_TRUE(createShown(w, "timers"));
    ASSERT_TRUE(w.SetTimer(4, 30));
    runFor(150);
    ASSERT_GE(w.count(4), 2);
    // Set again: the same timer with the new interval, not a second one beside it.
    ASSERT_TRUE(w.SetTimer(4, 1000));
    const int before = w.count(4);
    runFor(300);
    EXPECT_EQ(w.count(4), before);

    // Restarting pushes the next message back by a whole interval.
    ASSERT_TRUE(w.SetTimer(5, 300));
    runFor(200);
    ASSERT_TRUE(w.SetTimer(5, 300));
    runFor(200);
    EXPECT_EQ(w.count(5), 0) << "the first due time has passed unused";
    runFor(200);
    EXPECT_EQ(w.count(5), 1);

    // A one-shot as the windows write it: the timer kills itself and sets another.
    w.onTimer[6] = [&] {
        EXPECT_TRUE(w.KillTimer(6));
        w.SetTimer(8, 10);
    };
    w.onTimer[8] = [&] { w.KillTimer(8); };
    ASSERT_TRUE(w.SetTimer(6, 10));
    runFor(150);
    EXPECT_EQ(w.count(6), 1);
    EXPECT_EQ(w.count(8), 1);
    EXPECT_FALSE(w.KillTimer(6));
    EXPECT_TRUE(w.KillTimer(4));
    EXPECT_FALSE(w.KillTimer(99)) << "never set";
}

TEST(Timers, AWindowThatClosesFromItsTimerGetsNoMoreTimers)
{
    TimerWindow w;
    ASSERT_TRUE(createShown(w, "closing"));
    w.onTimer[1] = [&] { w.Close(IDOK); };
    w.SetTimer(1, 10);
    w.SetTimer(2, 10);
    runFor(120);
    EXPECT_EQ(w.GetHWND(), nullptr);
    EXPECT_EQ(w.count(1), 1) << "closing kills the window's timers";
    EXPECT_FALSE(w.SetTimer(3, 10)) << "no window, no timer";
}

TEST(Modal, NestedDialogsDisableTheirOwnersInTurnAndReturnTheirOwnCodes)
{
    TimerWindow main;
    ASSERT_TRUE(createShown(main, "main"));
    main.SetTimer(1, 10);
    TimerWindow first;
    ASSERT_TRUE(first.Create(main.GetHWND(), u"first", WS_POPUP, 0));
    TimerWindow second;
    ASSERT_TRUE(second.Create(first.GetHWND(), u"second", WS_POPUP, 0));

    bool mainDisabledInSecond = false;
    bool firstDisabledInSecond = false;
    bool firstEnabledAfterSecond = false;
    UINT secondResult = 0;
    UINT reentered = 0;
    int mainTicksInSecond = 0;
    QTimer::singleShot(20, [&] {
        // Inside the first dialog's loop: open the second one modally.
        second.onTimer[9] = [&] {
            mainDisabledInSecond = !main.GetHWND()->isEnabled();
            firstDisabledInSecond = !first.GetHWND()->isEnabled();
            reentered = first.ShowModal(); // already modal: refused at once
            second.Close(7);
        };
        const int before = main.count(1);
        second.SetTimer(9, 80);
        secondResult = second.ShowModal();
        mainTicksInSecond = main.count(1) - before;
        firstEnabledAfterSecond = first.GetHWND()->isEnabled();
        first.Close(3);
    });
    EXPECT_EQ(first.ShowModal(), 3u);
    EXPECT_EQ(secondResult, 7u);
    EXPECT_EQ(reentered, static_cast<UINT>(-1));
    EXPECT_TRUE(mainDisabledInSecond);
    EXPECT_TRUE(firstDisabledInSecond);
    EXPECT_TRUE(firstEnabledAfterSecond) << "the inner dialog gave its owner back";
    EXPECT_GE(mainTicksInSecond, 3) << "the main window's timer fired in the inner loop";
    EXPECT_TRUE(main.GetHWND()->isEnabled());
    EXPECT_EQ(first.GetHWND(), nullptr);
    EXPECT_EQ(second.GetHWND(), nullptr);
}

TEST(Modal, ClosingTwiceOrAfterTheWindowIsGoneIsHarmless)
{
    TimerWindow main;
    ASSERT_TRUE(createShown(main, "main"));
    TimerWindow dialog;
    ASSERT_TRUE(dialog.Create(main.GetHWND(), u"dialog", WS_POPUP, 0));
    QTimer::singleShot(20, [&] {
        dialog.Close(11);
        dialog.Close(12);
    });
    EXPECT_EQ(dialog.ShowModal(), 11u) << "the first close decides";
    runFor(30);
    dialog.Close(13);
    runFor(30);
    EXPECT_EQ(dialog.ShowModal(), static_cast<UINT>(-1));
    EXPECT_TRUE(main.GetHWND()->isEnabled());
}
