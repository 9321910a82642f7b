// The main window as a window: its controls, system buttons, hit testing, closing, the surface's
// place after resizes, the list region, keys and the notification trace.
#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <QWidget>

#include "MainWindowFixture.h"
#include "TestClips.h"
#include "player/PlayerLog.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CButtonUI.h"
#include "ui/CLabelUI.h"
#include "ui/CListUI.h"
#include "ui/CSliderUI.h"
#include "ui/WindowApi.h"

namespace mirado::testing {
namespace {

QRect rectOf(const RECT& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

class MainWindow : public MainWindowTest {
protected:
    LRESULT hitTest(int x, int y) {
        const QPoint global = frame->GetHWND()->mapToGlobal(QPoint(x, y));
        return frame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(global.x(), global.y()));
    }
    QRect playRegion() const { return rectOf(control(QStringLiteral("playregion"))->GetPos()); }
    QRect surfaceRect() const { return frame->videoSurface()->GetHWND()->geometry(); }
};

TEST_F(MainWindow, StartsFromTheSkinWithEveryControlInItsStartingState) {
    open();
    EXPECT_EQ(QString::fromUtf16(frame->ClassNameOfWindow()), QStringLiteral("PlayerMainWnd"));
    EXPECT_EQ(frame->GetHWND()->windowTitle(), QStringLiteral("Mirado")) << "the window manager shows the program, not the instance key";
    EXPECT_EQ(frame->GetHWND()->size(), QSize(840, 600));
    EXPECT_EQ(frame->GetHWND()->minimumSize(), QSize(840, 600));

    const std::pair<const char*, const char16_t*> controls[] = {
        {"hor_logo", u"ControlUI"},       {"txt_title", u"TextUI"},        {"btn_setting", u"ButtonUI"},
        {"txt_playingpath", u"TextUI"},   {"txt_playstatus", u"TextUI"},   {"btn_min", u"ButtonUI"},
        {"btn_max", u"ButtonUI"},         {"btn_restore", u"ButtonUI"},    {"btn_close", u"ButtonUI"},
        {"playregion", u"ControlUI"},     {"btn_map_shrink", u"ButtonUI"}, {"listregion", u"VerticalLayoutUI"},
        {"btnadd", u"ButtonUI"},          {"btndelete", u"ButtonUI"},      {"btnclear", u"ButtonUI"},
        {"listplay", u"ListUI"},          {"txt_curtime", u"TextUI"},      {"slider_play", u"SliderUI"},
        {"txt_totaltime", u"TextUI"},     {"btn_stop", u"ButtonUI"},       {"btn_prev", u"ButtonUI"},
        {"btn_play", u"ButtonUI"},        {"btn_next", u"ButtonUI"},       {"btn_mute", u"ButtonUI"},
        {"btn_muteoff", u"ButtonUI"},     {"slider_volumn", u"SliderUI"},  {"btn_fullscreen", u"ButtonUI"},
    };
    for (const auto& [name, cls] : controls) {
        CControlUI* c = control(QString::fromLatin1(name));
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(QString::fromUtf16(c->GetClass()), QString::fromUtf16(cls)) << name;
    }
    EXPECT_EQ(textOf("txt_title"), QStringLiteral("Mirado视频图片加密播放器"));
    EXPECT_EQ(textOf("txt_curtime"), QStringLiteral("00:00:00"));
    EXPECT_EQ(textOf("txt_totaltime"), QStringLiteral("00:00:00"));
    EXPECT_EQ(control("btn_setting")->GetToolTip().toQString(), QStringLiteral("设置"));
    EXPECT_EQ(control("btnadd")->GetToolTip().toQString(), QStringLiteral("添加文件到播放列表"));
    EXPECT_EQ(control("btn_muteoff")->GetToolTip().toQString(), QStringLiteral("关闭静音"));
    // The window starts in its normal state: maximise offered, restore not; sound on.
    EXPECT_TRUE(isVisible("btn_max"));
    EXPECT_FALSE(isVisible("btn_restore"));
    EXPECT_TRUE(isVisible("btn_mute"));
    EXPECT_FALSE(isVisible("btn_muteoff"));
    ASSERT_NE(frame->volumeSlider(), nullptr);
    ASSERT_NE(frame->progressSlider(), nullptr);
    EXPECT_EQ(frame->volumeSlider()->GetMaxValue(), 100);
    EXPECT_EQ(frame->volumeSlider()->GetValue(), 50);
    EXPECT_DOUBLE_EQ(frame->engine().get_volume(), 50) << "the sound starts at the loudness the slider shows";
    EXPECT_EQ(frame->progressSlider()->GetMaxValue(), 1000);
    EXPECT_TRUE(frame->isListShown());
    EXPECT_TRUE(frame->currentPath().isEmpty());

    // The surface is a shown child lying exactly on the play region.
    ASSERT_NE(frame->videoSurface(), nullptr);
    EXPECT_EQ(frame->videoSurface()->GetHWND()->parentWidget(), frame->GetHWND());
    EXPECT_TRUE(frame->videoSurface()->GetHWND()->isVisible());
    EXPECT_EQ(surfaceRect(), playRegion());
    EXPECT_GT(playRegion().width(), 500);
}

// The main window's skin with only a few of its controls.
class ReducedFrame final : public CMainFrame {
public:
    ReducedFrame() : CMainFrame(avplayer::Pace::AsFastAsPossible) {}
    int SkinResourceId() const override { return 136; }
};

TEST_F(MainWindow, AReducedSkinStartsAndSkipsWhatItLacks) {
    open(std::make_unique<ReducedFrame>());
    EXPECT_EQ(control("listplay"), nullptr);
    EXPECT_EQ(frame->volumeSlider(), nullptr);
    ASSERT_NE(frame->videoSurface(), nullptr);
    EXPECT_EQ(surfaceRect(), playRegion());

    // The dialog still asks, but nothing can be added; the other steps find nothing to do.
    services.files->answers.push_back({TestClips::instance().emptyFile("a.mp4")});
    frame->AddFiles();
    EXPECT_EQ(services.files->requests.size(), 1u);
    EXPECT_TRUE(services.files->answers.empty());
    frame->ToggleListRegion();
    EXPECT_TRUE(frame->isListShown());
    ASSERT_TRUE(click(*frame, "btn_play"));
    EXPECT_TRUE(services.messages->shown.empty()) << "no list, so no request to add files first";
    frame->PlayNext();
    frame->PlayPrevious();
    frame->ShowMuteState(true);
    pressKey(*frame, Qt::Key_Space);
    runFor(250);  // a few ticks with no time texts or sliders
    EXPECT_TRUE(frame->currentPath().isEmpty());
    EXPECT_TRUE(frame->GetHWND()->isVisible());
}

TEST_F(MainWindow, MaximiseAndRestoreSwapTheirButtonsFromButtonsAndTheCaption) {
    open();
    ASSERT_TRUE(click(*frame, "btn_max"));
    EXPECT_TRUE(IsZoomed(frame->GetHWND()));
    EXPECT_FALSE(isVisible("btn_max"));
    EXPECT_TRUE(isVisible("btn_restore"));
    ASSERT_TRUE(click(*frame, "btn_restore"));
    EXPECT_FALSE(IsZoomed(frame->GetHWND()));
    EXPECT_TRUE(isVisible("btn_max"));
    EXPECT_FALSE(isVisible("btn_restore"));

    // A double click on free caption space does the same.
    const QPoint caption(340, 25);
    ASSERT_EQ(hitTest(caption.x(), caption.y()), HTCAPTION);
    doubleClickAt(*frame, caption);
    EXPECT_TRUE(IsZoomed(frame->GetHWND()));
    EXPECT_TRUE(isVisible("btn_restore"));
    EXPECT_FALSE(isVisible("btn_max"));
    runFor(50);
    doubleClickAt(*frame, caption);
    EXPECT_FALSE(IsZoomed(frame->GetHWND()));
    EXPECT_TRUE(isVisible("btn_max"));
    EXPECT_FALSE(isVisible("btn_restore"));
}

TEST_F(MainWindow, HitTestFindsBordersCornersAndCaptionButNotItsButtonsAndTexts) {
    open();
    // Sizing borders 4 left and top, 6 right and bottom of an 840x600 window.
    EXPECT_EQ(hitTest(0, 0), HTTOPLEFT);
    EXPECT_EQ(hitTest(3, 3), HTTOPLEFT);
    EXPECT_EQ(hitTest(400, 3), HTTOP);
    EXPECT_EQ(hitTest(839, 0), HTTOPRIGHT);
    EXPECT_EQ(hitTest(3, 300), HTLEFT);
    EXPECT_EQ(hitTest(4, 300), HTCLIENT);
    EXPECT_EQ(hitTest(833, 300), HTCLIENT);
    EXPECT_EQ(hitTest(836, 300), HTRIGHT);
    EXPECT_EQ(hitTest(400, 593), HTCLIENT);
    EXPECT_EQ(hitTest(400, 596), HTBOTTOM);
    EXPECT_EQ(hitTest(2, 599), HTBOTTOMLEFT);
    EXPECT_EQ(hitTest(839, 599), HTBOTTOMRIGHT);

    // The caption band is the top 64 rows: free space and the logo drag the window...
    EXPECT_EQ(hitTest(340, 25), HTCAPTION);
    const QPoint logo = centreOf(*frame, "hor_logo");
    EXPECT_EQ(hitTest(logo.x(), logo.y()), HTCAPTION);
    EXPECT_EQ(hitTest(400, 63), HTCAPTION);
    EXPECT_EQ(hitTest(400, 64), HTCLIENT);
    // ...buttons and texts inside it do not.
    for (const char* name : {"btn_setting", "btn_min", "btn_max", "btn_close", "txt_title", "txt_playstatus"}) {
        const QPoint p = centreOf(*frame, name);
        EXPECT_EQ(hitTest(p.x(), p.y()), HTCLIENT) << name;
    }

    // Maximised there are no sizing borders: the corner is caption.
    frame->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(IsZoomed(frame->GetHWND()));
    runFor(20);
    EXPECT_EQ(hitTest(1, 1), HTCAPTION);
    EXPECT_EQ(hitTest(2, 300), HTCLIENT);
}

TEST_F(MainWindow, CloseHidesTheWindowAndEndsTheMessageLoop) {
    open();
    QTimer::singleShot(50, [this] { click(*frame, "btn_close"); });
    QTimer::singleShot(5000, [] { PostQuitMessage(99); });  // a guard, so a failure cannot hang
    EXPECT_EQ(CPaintManagerUI::MessageLoop(), 0);
    ASSERT_NE(frame->GetHWND(), nullptr) << "the window is hidden, not destroyed";
    EXPECT_FALSE(frame->GetHWND()->isVisible());

    // The window system's close (a task bar, Alt+F4) takes the same way.
    frame->ShowWindow(true, true);
    QTimer::singleShot(50, [this] { frame->GetHWND()->close(); });
    QTimer::singleShot(5000, [] { PostQuitMessage(99); });
    EXPECT_EQ(CPaintManagerUI::MessageLoop(), 0);
    EXPECT_FALSE(frame->GetHWND()->isVisible());
}

TEST_F(MainWindow, TheSurfaceFollowsOnce100MsAfterABurstOfResizesButNotInFullScreen) {
    open();
    QWidget* surface = frame->videoSurface()->GetHWND();
    int resizes = 0;
    struct Counter : QObject {
        int* count;
        explicit Counter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Resize) ++*count;
            return false;
        }
    } counter(&resizes);
    surface->installEventFilter(&counter);
    const QRect before = surfaceRect();
    for (int i = 1; i <= 5; ++i) {
        frame->GetHWND()->resize(840 + 20 * i, 600 + 10 * i);
        runFor(30);
    }
    EXPECT_EQ(surfaceRect(), before) << "not moved while the burst goes on";
    EXPECT_EQ(resizes, 0);
    runFor(200);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(surfaceRect(), playRegion());
    EXPECT_EQ(playRegion().width(), before.width() + 100);

    // In full screen the surface covers the screen and the main window leaves it alone.
    frame->videoSurface()->toggleFullScreen();
    runFor(50);
    ASSERT_TRUE(frame->videoSurface()->isFullScreen());
    const QRect full = surface->geometry();
    frame->GetHWND()->resize(900, 640);
    runFor(250);
    EXPECT_EQ(surface->geometry(), full);
    EXPECT_TRUE(surface->isWindow());
    frame->videoSurface()->toggleFullScreen();
    runFor(50);
    frame->GetHWND()->resize(880, 620);
    runFor(250);
    EXPECT_FALSE(surface->isWindow());
    EXPECT_EQ(surfaceRect(), playRegion());
    surface->removeEventFilter(&counter);
}

TEST_F(MainWindow, TheListToggleSwapsItsImageAndTheSurfaceTakesTheFreedSpace) {
    open();
    auto* button = dynamic_cast<CButtonUI*>(control("btn_map_shrink"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetNormalImage(), QStringLiteral("split_screen_right.png"));
    const int narrow = playRegion().width();

    ASSERT_TRUE(click(*frame, "btn_map_shrink"));
    EXPECT_FALSE(frame->isListShown());
    EXPECT_FALSE(isVisible("listregion"));
    EXPECT_EQ(button->GetNormalImage(), QStringLiteral("split_screen_left.png"));
    runFor(200);
    EXPECT_EQ(playRegion().width(), narrow + 200);
    EXPECT_EQ(surfaceRect(), playRegion());

    // Folded to the right edge, the button's outer half lies under the sizing border.
    const RECT& folded = button->GetPos();
    clickAt(*frame, QPoint(folded.left + 2, (folded.top + folded.bottom) / 2));
    EXPECT_TRUE(frame->isListShown());
    EXPECT_TRUE(isVisible("listregion"));
    EXPECT_EQ(button->GetNormalImage(), QStringLiteral("split_screen_right.png"));
    runFor(200);
    EXPECT_EQ(surfaceRect(), playRegion());
    EXPECT_EQ(playRegion().width(), narrow);
}

TEST_F(MainWindow, EscapeTogglesFullScreenAndNeverClosesTheWindow) {
    open();
    frame->GetHWND()->activateWindow();
    frame->GetHWND()->setFocus();
    pressKey(*frame, Qt::Key_Escape);
    runFor(50);
    EXPECT_TRUE(frame->videoSurface()->isFullScreen());
    EXPECT_TRUE(frame->GetHWND()->isVisible());
    EXPECT_FALSE(quitPosted());
    frame->videoSurface()->toggleFullScreen();
    runFor(50);
    // Enter with nothing playing changes nothing either.
    frame->GetHWND()->activateWindow();
    frame->GetHWND()->setFocus();
    pressKey(*frame, Qt::Key_Return);
    pressKey(*frame, Qt::Key_Escape);
    runFor(50);
    EXPECT_TRUE(frame->videoSurface()->isFullScreen());
    EXPECT_TRUE(frame->GetHWND()->isVisible());
    EXPECT_FALSE(quitPosted());
    frame->videoSurface()->toggleFullScreen();
}

TEST_F(MainWindow, TheSettingsButtonRunsTheSettingsWindowModally) {
    open();
    bool sawIt = false, ownerDisabled = false;
    int ticks = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w->windowTitle() != QStringLiteral("设置")) continue;
            sawIt = true;
            ownerDisabled = !frame->GetHWND()->isEnabled();
            // Leave it open for a few of the main window's ticks, then close it.
            if (++ticks > 10) CWindowWnd::FromHandle(w)->Close(IDCANCEL);
        }
    });
    poll.start(30);
    ASSERT_TRUE(click(*frame, "btn_setting"));
    EXPECT_TRUE(sawIt);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(frame->GetHWND()->isEnabled());
}

TEST_F(MainWindow, TheNotificationTraceIsOffUntilItsCategoryIsEnabled) {
    open();
    static QStringList lines;
    lines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (QString::fromLatin1(context.category) == QStringLiteral("mirado.player.notify")) lines << text;
        });
    EXPECT_FALSE(lcPlayerNotify().isDebugEnabled());
    click(*frame, "btnclear");
    EXPECT_TRUE(lines.isEmpty());
    QLoggingCategory::setFilterRules(QStringLiteral("mirado.player.notify.debug=true"));
    click(*frame, "btnclear");
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);
    EXPECT_TRUE(lines.contains(QStringLiteral("msg  click "))) << lines.join('|').toStdString();
}

}  // namespace
}  // namespace mirado::testing
