// The main window on a real X server, bare or under openbox, driven through the server's own pointer
// and keyboard: the native window stays the same when the first video starts, full screen comes and
// goes, the video keeps its place when another client moves it, and the caption's double-click, held
// keys, the sizing border and the password prompt work as a hand meets them.
#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <ostream>
#include <string>

#include "XInput.h"
#include "surface/CVideoRealWnd.h"
#include "tests/player/main_window/MainWindowFixture.h"
#include "tests/player/main_window/TestClips.h"
#include "ui/CListUI.h"
#include "ui/WindowApi.h"

// Rectangles in failure messages as a person reads them.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect& rect, std::ostream* out) {
    *out << rect.x() << "," << rect.y() << " " << rect.width() << "x" << rect.height();
}
QT_END_NAMESPACE

namespace mirado::testing {
namespace {

constexpr int kPatienceMs = 15000;

class RealPlayerWindow : public MainWindowTest {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X server";
    }

    void openWithClips() {
        open();
        ASSERT_FALSE(HasFatalFailure());
        frame->addPaths(clips());
        ASSERT_EQ(list().ItemCount(), 2);
        QWidget* window = frame->GetHWND();
        window->activateWindow();
        ASSERT_TRUE(waitUntil([&] { return window->isActiveWindow(); }, kPatienceMs));
        // A window manager may still be placing the window.
        runFor(300);
        // A click on a row: the keyboard is the window's before each test begins.
        ASSERT_TRUE(xinput::clickAt(onScreen(rowCentre(1))));
        runFor(100);
    }

    static const QStringList& clips() {
        // Long enough that neither ends during a test.
        static const QStringList made = {TestClips::instance().video(QStringLiteral("first.mp4"), 8),
                                         TestClips::instance().video(QStringLiteral("second.mp4"), 8)};
        return made;
    }

    QPoint onScreen(QPoint inWindow) const { return frame->GetHWND()->mapToGlobal(inWindow); }
    CVideoRealWnd& surface() const { return *frame->videoSurface(); }

    void playRow(int row) {
        ASSERT_TRUE(xinput::doubleClickAt(onScreen(rowCentre(row))));
        ASSERT_TRUE(waitUntil([&] { return textOf(QStringLiteral("txt_playstatus")) == QStringLiteral("正在播放"); },
                              kPatienceMs))
            << "row " << row << " did not start; status " << textOf(QStringLiteral("txt_playstatus")).toStdString();
    }

    void escapeTo(bool fullScreen) {
        ASSERT_TRUE(xinput::key(QStringLiteral("Escape")));
        ASSERT_TRUE(waitUntil([&] { return surface().isFullScreen() == fullScreen; }, kPatienceMs))
            << "Escape did not " << (fullScreen ? "enter" : "leave") << " full screen; " << whereKeysGo();
        runFor(150);
    }

    // Where the server and Qt send keys now, for a failure's message.
    std::string whereKeysGo() const {
        const QWidget* focus = QApplication::focusWidget();
        const QWidget* active = QApplication::activeWindow();
        return QStringLiteral("X focus 0x%1, main window 0x%2, video 0x%3, Qt focus %4, active window %5")
            .arg(xinput::focusedWindow(), 0, 16)
            .arg(frame->GetHWND()->winId(), 0, 16)
            .arg(surface().GetHWND()->winId(), 0, 16)
            .arg(focus ? QString::fromLatin1(focus->metaObject()->className()) : QStringLiteral("none"))
            .arg(active ? QString::fromLatin1(active->metaObject()->className()) + QLatin1Char(' ') +
                              QString::number(active->winId(), 16)
                        : QStringLiteral("none"))
            .toStdString();
    }

    // A point of the caption band that no control takes.
    QPoint captionSpot() const {
        const RECT& title = control(QStringLiteral("txt_playingpath"))->GetPos();
        return QPoint(title.left - 10, 25);
    }
};

// The native window of the main window is made once: the first video, full screen and back, and the
// second video leave it as it was and nothing crashes. Each round starts a fresh window, so that
// every round meets a first video.
TEST_F(RealPlayerWindow, FirstVideoAndFullScreenLeaveTheWindowAsItWas) {
    // Five rounds keep the suite short; MIRADO_REAL_WINDOW_ROUNDS=20 gives the long run.
    const int rounds = qEnvironmentVariableIntValue("MIRADO_REAL_WINDOW_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("MIRADO_REAL_WINDOW_ROUNDS")
                           : 5;
    for (int round = 0; round < rounds && !HasFatalFailure(); ++round) {
        SCOPED_TRACE(round);
        openWithClips();
        ASSERT_FALSE(HasFatalFailure());
        const WId before = frame->GetHWND()->winId();
        ASSERT_NO_FATAL_FAILURE(playRow(0));
        runFor(100);
        EXPECT_EQ(frame->GetHWND()->winId(), before) << "the first video made Qt remake the window";
        ASSERT_NO_FATAL_FAILURE(escapeTo(true));
        ASSERT_NO_FATAL_FAILURE(escapeTo(false));
        ASSERT_NO_FATAL_FAILURE(playRow(1));
        ASSERT_NO_FATAL_FAILURE(escapeTo(true));
        ASSERT_NO_FATAL_FAILURE(escapeTo(false));
        EXPECT_EQ(frame->GetHWND()->winId(), before);
        EXPECT_EQ(surface().GetHWND()->parentWidget(), frame->GetHWND());
        TearDown();
    }
}

// Another client (a window manager slow to let go of the full-screen window) may still move and size
// the video as the top-level it was, after it went back into the main window: it goes back to its
// place, and the playlist beside it still takes the double-click that plays a row. On the bare server
// only: there nothing but the test's own client moves the video, so the test sees what it did.
TEST_F(RealPlayerWindow, TheVideoKeepsItsPlaceWhenAnotherClientMovesItAfterFullScreen) {
    if (xinput::windowManagerRuns()) GTEST_SKIP() << "a window manager moves the video in its own time";
    openWithClips();
    ASSERT_NO_FATAL_FAILURE(playRow(0));
    ASSERT_NO_FATAL_FAILURE(escapeTo(true));
    ASSERT_NO_FATAL_FAILURE(escapeTo(false));
    QWidget* video = surface().GetHWND();
    const QRect placed = video->geometry();
    const QString id = QString::number(video->winId());
    const QRect screen = video->screen()->geometry();
    const QRect held = xinput::windowGeometry(video->winId());
    ASSERT_EQ(held.size(), placed.size());
    ASSERT_TRUE(xinput::run({"windowsize", id, QString::number(screen.width()), QString::number(screen.height()),
                             "windowmove", id, "0", "0"}));
    runFor(1000);
    EXPECT_EQ(video->geometry(), placed);
    EXPECT_EQ(xinput::windowGeometry(video->winId()), held) << "the X server holds the video elsewhere";
    ASSERT_TRUE(xinput::doubleClickAt(onScreen(rowCentre(1))));
    EXPECT_TRUE(waitUntil([&] { return textOf(QStringLiteral("txt_playingpath")) == clips()[1]; }, kPatienceMs))
        << "playing " << textOf(QStringLiteral("txt_playingpath")).toStdString();
    EXPECT_FALSE(surface().isFullScreen()) << "the double-click met the video";
    if (surface().isFullScreen()) escapeTo(false);
}

// A maximised window stays maximised for the window manager when the first video starts.
TEST_F(RealPlayerWindow, MaximisedWindowStaysMaximisedWhenTheFirstVideoStarts) {
    if (!xinput::windowManagerRuns()) GTEST_SKIP() << "needs a window manager";
    openWithClips();
    ASSERT_TRUE(xinput::clickAt(onScreen(centreOf(*frame, QStringLiteral("btn_max")))));
    ASSERT_TRUE(waitUntil([&] { return IsZoomed(frame->GetHWND()) && isVisible(QStringLiteral("btn_restore")); },
                          kPatienceMs));
    const WId window = frame->GetHWND()->winId();
    ASSERT_TRUE(waitUntil([&] { return xinput::windowState(window).contains("_NET_WM_STATE_MAXIMIZED_VERT"); },
                          kPatienceMs));
    playRow(0);
    runFor(500);
    EXPECT_EQ(frame->GetHWND()->winId(), window);
    EXPECT_TRUE(xinput::windowState(window).contains("_NET_WM_STATE_MAXIMIZED_VERT"))
        << xinput::windowState(window).toStdString();
    EXPECT_TRUE(IsZoomed(frame->GetHWND()));
    EXPECT_TRUE(isVisible(QStringLiteral("btn_restore")));
    EXPECT_FALSE(isVisible(QStringLiteral("btn_max")));
}

// Every double-click on the caption maximises or restores, with or without a window manager that
// takes the pointer for moving.
TEST_F(RealPlayerWindow, EveryCaptionDoubleClickMaximisesOrRestores) {
    openWithClips();
    constexpr int kClicks = 10;
    int toggled = 0;
    for (int i = 0; i < kClicks; ++i) {
        const bool zoomed = IsZoomed(frame->GetHWND());
        ASSERT_TRUE(xinput::doubleClickAt(onScreen(captionSpot())));
        if (waitUntil([&] { return IsZoomed(frame->GetHWND()) != zoomed; }, 3000)) ++toggled;
        runFor(300);
        EXPECT_EQ(isVisible(QStringLiteral("btn_restore")), IsZoomed(frame->GetHWND()));
    }
    EXPECT_EQ(toggled, kClicks);
}

// A press and a drag on the caption still moves the window. A window manager moves it from where the
// pointer is when the move begins, a few pixels after the press: the first step may be lost.
TEST_F(RealPlayerWindow, DraggingTheCaptionMovesTheWindow) {
    openWithClips();
    QWidget* window = frame->GetHWND();
    const QPoint before = window->mapToGlobal(QPoint(0, 0));
    const QPoint delta(60, 40);
    ASSERT_TRUE(xinput::dragBy(onScreen(captionSpot()), delta));
    const auto movedEnough = [&] {
        const QPoint moved = window->mapToGlobal(QPoint(0, 0)) - before;
        return moved.x() >= delta.x() * 3 / 4 && moved.x() <= delta.x() && moved.y() >= delta.y() * 3 / 4 &&
               moved.y() <= delta.y();
    };
    EXPECT_TRUE(waitUntil(movedEnough, kPatienceMs))
        << "moved by " << (window->mapToGlobal(QPoint(0, 0)) - before).x() << ","
        << (window->mapToGlobal(QPoint(0, 0)) - before).y();
}

// A held key acts once: Space pauses or resumes once in the window and in full screen, and Escape
// enters full screen once, however the X server's auto-repeat reaches the program.
TEST_F(RealPlayerWindow, HeldKeysActOncePerPress) {
    openWithClips();
    playRow(0);
    const auto pauseChangesWhileHeld = [&](const QString& key) {
        int changes = 0;
        int last = engineState();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            const int now = engineState();
            changes += now != last;
            last = now;
        });
        poll.start(5);
        EXPECT_TRUE(xinput::holdKey(key, 2500));
        runFor(300);
        return changes;
    };
    EXPECT_EQ(pauseChangesWhileHeld(QStringLiteral("space")), 1);
    EXPECT_EQ(engineState(), 2);

    ASSERT_TRUE(xinput::holdKey(QStringLiteral("Escape"), 1500));
    runFor(300);
    EXPECT_TRUE(surface().isFullScreen());
    EXPECT_EQ(pauseChangesWhileHeld(QStringLiteral("space")), 1);
    EXPECT_EQ(engineState(), 1);
    if (surface().isFullScreen()) escapeTo(false);
}

// The left sizing border is 4 pixels wide over the content row too, where the video surface lies.
TEST_F(RealPlayerWindow, LeftBorderIsFourPixelsWideOverTheVideo) {
    openWithClips();
    QWidget* window = frame->GetHWND();
    const int y = window->height() / 2;
    ASSERT_GE(surface().GetHWND()->geometry().left(), 1) << "the surface should lie inside the border";
    for (int x = 0; x < 4; ++x) {
        SCOPED_TRACE(x);
        const QRect before = window->geometry();
        ASSERT_TRUE(xinput::dragBy(onScreen(QPoint(x, y)), QPoint(-30, 0)));
        // The window manager may tell the new size and the new place in separate events: wait for both.
        const auto grownLeftwards = [&] {
            return window->width() == before.width() + 30 && window->geometry().right() == before.right();
        };
        EXPECT_TRUE(waitUntil(grownLeftwards, 5000)) << "width " << window->width() << ", right edge "
                                                     << window->geometry().right() << " after a drag from x " << x;
        window->setGeometry(before);
        EXPECT_TRUE(waitUntil([&] { return window->geometry() == before; }, 5000));
        runFor(300);
    }
    // Just inside the border the press is the video's.
    const int width = window->width();
    ASSERT_TRUE(xinput::dragBy(onScreen(QPoint(4, y)), QPoint(-30, 0)));
    runFor(300);
    EXPECT_EQ(window->width(), width);
}

// The X window of the window a widget lies in (a widget of its own may have a native window too).
WId xWindowOf(QWidget* widget) { return widget->window()->windowHandle()->winId(); }

// Runs `answer` once from inside the first password prompt that opens and has the keyboard; a prompt
// still open after that (or never reached) is cancelled in the end, so the test fails instead of hanging.
class PromptAnswer {
public:
    explicit PromptAnswer(std::function<void(WindowImplBase& prompt)> answer) : answer_(std::move(answer)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] { look(); });
        poll_.start(50);
    }
    bool answered() const { return answered_; }

private:
    void look() {
        QWidget* prompt = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->windowTitle() == QStringLiteral("PasswordFrame")) prompt = widget;
        if (prompt == nullptr || busy_) return;
        if (!clock_.isValid()) clock_.start();
        auto& window = *dynamic_cast<WindowImplBase*>(CWindowWnd::FromHandle(prompt));
        if (clock_.elapsed() > kPatienceMs) {
            click(window, QStringLiteral("btn_cancel"));
            return;
        }
        if (answered_ || !prompt->isActiveWindow()) return;
        busy_ = true;
        runFor(300);  // a window manager may still be placing it
        answered_ = true;
        answer_(window);
        busy_ = false;
    }

    std::function<void(WindowImplBase&)> answer_;
    QTimer poll_;
    QElapsedTimer clock_;
    bool busy_ = false;
    bool answered_ = false;
};

// The password prompt is modal wherever it opens. Over the window it comes up with the keyboard and
// gives it back when it closes (on a bare server the focus of a window that goes falls to the root
// window). Over the full-screen video it comes up above the video and takes the keys and clicks,
// while the video takes none. Typed and confirmed with the X server's own keyboard and pointer; the
// pointer is kept off the window that should get the keys, where X would hand them to the window under
// the pointer whatever has the focus.
TEST_F(RealPlayerWindow, APromptTakesTheInputAndGivesItBack) {
    openWithClips();
    prompts.held = true;
    static const QString first =
        TestClips::instance().container(TestClips::instance().video(QStringLiteral("locked.mp4"), 8), "abc123");
    static const QString second =
        TestClips::instance().container(TestClips::instance().video(QStringLiteral("locked2.mp4"), 8), "xyz789");
    frame->addPaths({first, second});
    ASSERT_EQ(list().ItemCount(), 4);
    const QPoint offTheWindow = frame->GetHWND()->frameGeometry().topLeft() - QPoint(20, 20);
    ASSERT_GE(offTheWindow.x(), 0);
    ASSERT_GE(offTheWindow.y(), 0);

    {
        SCOPED_TRACE("over the window");
        PromptAnswer answer([&](WindowImplBase& prompt) {
            EXPECT_EQ(xinput::focusedWindow(), xWindowOf(prompt.GetHWND()));
            EXPECT_TRUE(xinput::run({"mousemove", QString::number(offTheWindow.x()), QString::number(offTheWindow.y())}));
            EXPECT_TRUE(xinput::type(QStringLiteral("abc123")));
            EXPECT_TRUE(xinput::key(QStringLiteral("Return")));
        });
        playRow(2);
        EXPECT_TRUE(answer.answered());
        EXPECT_EQ(frame->currentPath(), first);
        EXPECT_TRUE(waitUntil([&] { return xinput::focusedWindow() == xWindowOf(frame->GetHWND()); }, 3000))
            << "the keyboard did not come back to the main window";
        escapeTo(true);
    }
    ASSERT_FALSE(HasFatalFailure());

    {
        SCOPED_TRACE("over the full-screen video");
        const QPoint onTheVideo(40, 40);
        PromptAnswer answer([&](WindowImplBase& prompt) {
            const QPoint ok = prompt.GetHWND()->mapToGlobal(
                centreOf(prompt, QStringLiteral("btn_ok")));
            EXPECT_FALSE(prompt.GetHWND()->geometry().contains(onTheVideo));
            EXPECT_EQ(xinput::focusedWindow(), xWindowOf(prompt.GetHWND()));
            // The video behind takes neither the pointer at the bottom edge (the play bar) nor a
            // double-click (leave full screen).
            const int bottom = GetSystemMetrics(SM_CYSCREEN) - 3;
            EXPECT_TRUE(xinput::run({"mousemove", "300", QString::number(bottom), "sleep", "0.1", "mousemove", "310",
                                     QString::number(bottom)}));
            EXPECT_TRUE(xinput::doubleClickAt(onTheVideo));
            runFor(200);
            EXPECT_FALSE(surface().isBarShown()) << "the video behind the prompt showed its play bar";
            EXPECT_TRUE(surface().isFullScreen()) << "a double-click on the video left full screen behind the prompt";
            EXPECT_TRUE(xinput::type(QStringLiteral("xyz789")));
            EXPECT_TRUE(xinput::clickAt(ok));
        });
        ASSERT_TRUE(xinput::run({"mousemove", QString::number(offTheWindow.x()), QString::number(offTheWindow.y())}));
        ASSERT_TRUE(xinput::key(QStringLiteral("Next")));
        EXPECT_TRUE(answer.answered());
        EXPECT_TRUE(waitUntil([&] { return frame->currentPath() == second; }, kPatienceMs))
            << "the prompt over the full-screen video was not confirmed";
        EXPECT_TRUE(surface().isFullScreen());
        EXPECT_TRUE(waitUntil([&] { return xinput::focusedWindow() == xWindowOf(surface().GetHWND()); }, 3000))
            << "the keyboard did not come back to the full-screen video";
        escapeTo(false);
    }
}

}  // namespace
}  // namespace mirado::testing
