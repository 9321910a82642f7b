// The player's keys and the mouse wheel, pressed on the main window, the full-screen surface and its
// play bar; the title and the play button that follow the current file; files opened from outside.
#include <cmath>

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtTest/QTest>

#include "MainWindowFixture.h"
#include "TestClips.h"
#include "player/CSystemInfoFrame.h"
#include "surface/CPlayBarFrame.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CButtonUI.h"
#include "ui/CEditUI.h"
#include "ui/CListUI.h"
#include "ui/CSliderUI.h"

namespace mirado::testing {
namespace {

constexpr int kPlaying = 1, kPaused = 2;

class Keys : public MainWindowTest {
protected:
    static const QString& longClip() {
        static const QString path = TestClips::instance().video("ten.mp4", 10);
        return path;
    }
    CVideoRealWnd& surface() const { return *frame->videoSurface(); }
    CPlayBarFrame& bar() const { return *surface().playBar(); }
    double position() { return frame->engine().curr_play_time(); }
    int volume() const { return frame->volumeSlider()->GetValue(); }
    void focusMainWindow() {
        frame->GetHWND()->activateWindow();
        frame->GetHWND()->setFocus();
    }
    // Plays the long clip and pauses it at its start, so that positions can be compared exactly.
    void playAndPauseLongClip() {
        addThroughDialog({longClip()});
        doubleClickRow(0);
        ASSERT_TRUE(waitUntil([&] { return engineState() == kPlaying && frame->engine().duration() > 9; }));
        focusMainWindow();
        pressKey(*frame, Qt::Key_Space);
        ASSERT_TRUE(waitUntil([&] { return engineState() == kPaused; }));
    }
    bool waitForPosition(double seconds) {
        return waitUntil([&] { return std::abs(position() - seconds) < 0.15; }, 4000);
    }
};

TEST_F(Keys, ArrowsSeekAndChangeTheVolumeAndMTogglesMute) {
    open();
    playAndPauseLongClip();
    const double start = position();
    pressKey(*frame, Qt::Key_Right);
    EXPECT_TRUE(waitForPosition(start + 5)) << position();
    pressKey(*frame, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_TRUE(waitForPosition(start + 4)) << position();
    pressKey(*frame, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(waitForPosition(start + 5)) << position();
    // Back past the start stops at the start.
    pressKey(*frame, Qt::Key_Left);
    pressKey(*frame, Qt::Key_Left);
    EXPECT_TRUE(waitForPosition(0)) << position();
    EXPECT_EQ(engineState(), kPaused) << "seeking does not resume";

    ASSERT_EQ(volume(), 50);
    pressKey(*frame, Qt::Key_Up);
    EXPECT_EQ(volume(), 55);
    EXPECT_DOUBLE_EQ(frame->engine().get_volume(), 55);
    pressKey(*frame, Qt::Key_Down);
    pressKey(*frame, Qt::Key_Down);
    EXPECT_EQ(volume(), 45);
    EXPECT_DOUBLE_EQ(frame->engine().get_volume(), 45);
    EXPECT_TRUE(waitUntil([&] { return bar().volumeSlider()->GetValue() == 45; }, 1000)) << "mirrored to the bar";
    frame->volumeSlider()->SetValue(98);
    pressKey(*frame, Qt::Key_Up);
    EXPECT_EQ(volume(), 100) << "held at the slider's end";

    pressKey(*frame, Qt::Key_M);
    EXPECT_TRUE(frame->engine().get_mute());
    EXPECT_TRUE(isVisible("btn_muteoff"));
    EXPECT_FALSE(isVisible("btn_mute"));
    pressKey(*frame, Qt::Key_M);
    EXPECT_FALSE(frame->engine().get_mute());
    EXPECT_TRUE(isVisible("btn_mute"));

    pressKey(*frame, Qt::Key_Space);
    EXPECT_TRUE(waitUntil([&] { return engineState() == kPlaying; }));
}

TEST_F(Keys, AHeldKeyRepeatsOnlyTheVolumeAndSeekingEverythingElseActsOncePerPress) {
    open(avplayer::Pace::AsFastAsPossible);
    focusMainWindow();
    QWindow* window = frame->GetHWND()->windowHandle();
    const auto hold = [&](Qt::Key key, int repeats) {
        // Through the window system's path, as the keyboard's auto-repeat comes.
        for (int i = 0; i <= repeats; ++i) QTest::simulateEvent(window, true, key, Qt::NoModifier, QString(), i > 0);
        QTest::simulateEvent(window, false, key, Qt::NoModifier, QString(), false);
        runFor(20);
    };
    hold(Qt::Key_Up, 3);
    EXPECT_EQ(volume(), 70);
    hold(Qt::Key_F, 3);
    EXPECT_TRUE(surface().isFullScreen()) << "entered once, not toggled back and forth";
    surface().toggleFullScreen();
    services.files->answers.push_back({TestClips::instance().picture("held.png", 8, 8)});
    for (int i = 0; i < 3; ++i)
        QTest::simulateEvent(window, true, Qt::Key_O, Qt::ControlModifier, QString(), i > 0);
    QTest::simulateEvent(window, false, Qt::Key_O, Qt::ControlModifier, QString(), false);
    EXPECT_EQ(services.files->requests.size(), 1u) << "one dialog for one press";
}

TEST_F(Keys, TheWheelOverTheVideoChangesTheVolumeByFiveANotch) {
    open(avplayer::Pace::AsFastAsPossible);
    const QPoint centre = surface().GetHWND()->rect().center();
    wheelAt(surface(), centre, 120);
    EXPECT_EQ(volume(), 55);
    EXPECT_DOUBLE_EQ(frame->engine().get_volume(), 55);
    wheelAt(surface(), centre, -240);
    EXPECT_EQ(volume(), 45);
    // A fine wheel's parts of a notch add up.
    wheelAt(surface(), centre, 60);
    EXPECT_EQ(volume(), 45);
    wheelAt(surface(), centre, 60);
    EXPECT_EQ(volume(), 50);
}

TEST_F(Keys, PlaylistKeysAddRemoveStepAndPlayTheRowUnderEnter) {
    open(avplayer::Pace::AsFastAsPossible);
    const QString a = TestClips::instance().picture("a.png", 16, 16, Qt::red);
    const QString b = TestClips::instance().picture("b.png", 16, 16, Qt::green);
    const QString c = TestClips::instance().picture("c.png", 16, 16, Qt::blue);
    focusMainWindow();
    services.files->answers.push_back({a, b, c});
    pressKey(*frame, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(services.files->requests.size(), 1u) << "Ctrl+O opens the same dialog as the add button";
    EXPECT_EQ(services.files->requests[0].filterName, QStringLiteral("视频或图片文件"));
    EXPECT_EQ(rowNames(), (QStringList{a, b, c}));
    pressKey(*frame, Qt::Key_O);
    EXPECT_EQ(services.files->requests.size(), 1u) << "O alone is no key of the player";

    // Page Down and Page Up are the next and previous buttons.
    pressKey(*frame, Qt::Key_PageDown);
    EXPECT_EQ(frame->currentPath(), b) << "with no selection, next plays the second row";
    pressKey(*frame, Qt::Key_PageDown);
    EXPECT_EQ(frame->currentPath(), c);
    pressKey(*frame, Qt::Key_PageDown);
    EXPECT_EQ(frame->currentPath(), a) << "wraps to the first";
    pressKey(*frame, Qt::Key_PageUp);
    EXPECT_EQ(frame->currentPath(), c);

    // Enter plays the row the playlist has selected.
    clickRow(1);
    EXPECT_EQ(frame->currentPath(), c) << "a click only selects";
    pressKey(*frame, Qt::Key_Return);
    EXPECT_EQ(frame->currentPath(), b);
    EXPECT_TRUE(frame->isShowingImage());

    // Delete removes the selected row and leaves what plays alone.
    pressKey(*frame, Qt::Key_Delete);
    EXPECT_EQ(rowNames(), (QStringList{a, c}));
    EXPECT_EQ(frame->currentPath(), b);
    EXPECT_TRUE(services.messages->shown.empty());
}

TEST_F(Keys, EnterAwayFromThePlaylistPausesAsBefore) {
    open();
    addThroughDialog({longClip()});
    doubleClickRow(0);
    ASSERT_TRUE(waitUntil([&] { return engineState() == kPlaying; }));
    // A click on the status text takes the focus from the list.
    ASSERT_TRUE(click(*frame, "txt_playstatus"));
    ASSERT_NE(frame->GetPaintManager().GetFocus(), &list());
    focusMainWindow();
    pressKey(*frame, Qt::Key_Return);
    EXPECT_TRUE(waitUntil([&] { return engineState() == kPaused; }));
    pressKey(*frame, Qt::Key_Enter);
    EXPECT_TRUE(waitUntil([&] { return engineState() == kPlaying; }));
}

TEST_F(Keys, FullScreenTakesTheSameKeysOnTheSurfaceAndOnThePlayBar) {
    open();
    playAndPauseLongClip();
    pressKey(*frame, Qt::Key_F);
    ASSERT_TRUE(surface().isFullScreen());
    ASSERT_TRUE(surface().GetHWND()->isWindow());

    const double start = position();
    pressKey(surface(), Qt::Key_Right);
    EXPECT_TRUE(waitForPosition(start + 5)) << position();
    pressKey(surface(), Qt::Key_Up);
    EXPECT_EQ(volume(), 55);
    pressKey(surface(), Qt::Key_M);
    EXPECT_TRUE(frame->engine().get_mute());
    EXPECT_FALSE(bar().muteButton()->IsVisible());
    EXPECT_TRUE(bar().unmuteButton()->IsVisible());
    wheelAt(surface(), surface().GetHWND()->rect().center(), 120);
    EXPECT_EQ(volume(), 60);

    // The bar, once it holds the keyboard, passes the keys on as well.
    surface().setPlayBarVisible(true);
    bar().GetHWND()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), bar().GetHWND());
    pressKey(bar(), Qt::Key_Down);
    EXPECT_EQ(volume(), 55);
    pressKey(bar(), Qt::Key_M);
    EXPECT_FALSE(frame->engine().get_mute());
    pressKey(bar(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_TRUE(waitForPosition(start + 4)) << position();
    pressKey(bar(), Qt::Key_Space);
    EXPECT_TRUE(waitUntil([&] { return engineState() == kPlaying; }));
    pressKey(bar(), Qt::Key_F);
    EXPECT_FALSE(surface().isFullScreen());

    // And back in with f on the main window, out with f on the surface.
    focusMainWindow();
    pressKey(*frame, Qt::Key_F);
    ASSERT_TRUE(surface().isFullScreen());
    pressKey(surface(), Qt::Key_F);
    EXPECT_FALSE(surface().isFullScreen());
    EXPECT_FALSE(surface().GetHWND()->isWindow());
}

TEST_F(Keys, ATextFieldWithTheFocusTakesTheKeys) {
    open(avplayer::Pace::AsFastAsPossible);
    const QString picture = TestClips::instance().picture("kept.png", 16, 16);
    addThroughDialog({picture});
    bool typed = false;
    QString title, text;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* settings = w->isVisible() ? dynamic_cast<CSystemInfoFrame*>(CWindowWnd::FromHandle(w)) : nullptr;
            if (settings == nullptr || typed) continue;
            typed = true;
            title = w->windowTitle();
            ASSERT_TRUE(typeInto(*settings, QStringLiteral("edit_encode_psw"), QStringLiteral("fm")));
            for (Qt::Key key : {Qt::Key_F, Qt::Key_M, Qt::Key_Up, Qt::Key_Delete, Qt::Key_PageDown, Qt::Key_Left})
                pressKey(*settings, key);
            if (auto* edit = dynamic_cast<CEditUI*>(settings->GetPaintManager().FindControl(CDuiString(u"edit_encode_psw"))))
                text = edit->GetNativeEdit()->text();
            settings->Close(IDCANCEL);
        }
    });
    poll.start(30);
    ASSERT_TRUE(click(*frame, "btn_setting"));
    ASSERT_TRUE(typed);
    EXPECT_EQ(title, QStringLiteral("设置")) << "the window manager shows the settings window's caption";
    EXPECT_EQ(text, QStringLiteral("fmfm")) << "the letters went into the field";
    EXPECT_FALSE(surface().isFullScreen());
    EXPECT_FALSE(frame->engine().get_mute());
    EXPECT_EQ(volume(), 50);
    EXPECT_EQ(rowNames(), QStringList{picture});
    EXPECT_TRUE(frame->currentPath().isEmpty());
}

TEST_F(Keys, TheTitleNamesTheCurrentFileAndThePlayButtonShowsPauseWhilePlaying) {
    open();
    EXPECT_EQ(frame->GetHWND()->windowTitle(), QStringLiteral("Mirado"));
    CControlUI* play = control("btn_play");
    const RECT& r = play->GetPos();
    const QRect button(r.left, r.top, r.width(), r.height());
    const QImage idle = grab(*frame).copy(button);

    addThroughDialog({longClip()});
    doubleClickRow(0);
    ASSERT_TRUE(waitUntil([&] { return engineState() == kPlaying; }));
    EXPECT_TRUE(waitUntil([&] { return frame->GetHWND()->windowTitle() == QStringLiteral("Mirado — ten.mp4"); }, 1000))
        << frame->GetHWND()->windowTitle().toStdString();
    EXPECT_TRUE(waitUntil([&] { return play->GetToolTip().toQString() == QStringLiteral("暂停"); }, 1000));
    EXPECT_NE(grab(*frame).copy(button), idle) << "the pause image is drawn";
    CControlUI* barPlay = bar().GetPaintManager().FindControl(CDuiString(u"btn_play"));
    ASSERT_NE(barPlay, nullptr);
    EXPECT_EQ(barPlay->GetToolTip().toQString(), QStringLiteral("暂停"));

    focusMainWindow();
    pressKey(*frame, Qt::Key_Space);
    EXPECT_TRUE(waitUntil([&] { return play->GetToolTip().toQString() == QStringLiteral("播放"); }, 1000));
    EXPECT_EQ(grab(*frame).copy(button), idle) << "paused: the play image again";
    EXPECT_EQ(barPlay->GetToolTip().toQString(), QStringLiteral("播放"));

    ASSERT_TRUE(click(*frame, "btn_stop"));
    EXPECT_TRUE(waitUntil([&] { return frame->GetHWND()->windowTitle() == QStringLiteral("Mirado"); }, 1000));
}

TEST_F(Keys, FilesFromOutsidePlayAtOnceAndADropOnlyWhenNothingPlays) {
    open(avplayer::Pace::AsFastAsPossible);
    const QString first = TestClips::instance().picture("first.png", 16, 16, Qt::red);
    const QString second = TestClips::instance().picture("second.png", 16, 16, Qt::green);
    const QString dropped = TestClips::instance().picture("dropped.png", 16, 16, Qt::blue);

    // The command line and a hand-over.
    frame->openFiles({first});
    EXPECT_EQ(frame->currentPath(), first);
    frame->openFiles({second, first});
    EXPECT_EQ(frame->currentPath(), second);
    EXPECT_EQ(rowNames(), (QStringList{first, second}));
    // A file already listed plays from its row; naming the current one again leaves it on.
    QString unclean = first;
    unclean.replace(QStringLiteral("/first.png"), QStringLiteral("/./first.png"));
    frame->openFiles({unclean});
    EXPECT_EQ(frame->currentPath(), first);
    EXPECT_EQ(list().SelectedIndex(), 0);
    frame->openFiles({first});
    EXPECT_EQ(frame->currentPath(), first);

    // A drop while something is on show only adds.
    frame->dropFiles({dropped});
    EXPECT_EQ(rowNames(), (QStringList{first, second, dropped}));
    EXPECT_EQ(frame->currentPath(), first);
    ASSERT_TRUE(click(*frame, "btn_stop"));
    frame->dropFiles({dropped, second});
    EXPECT_EQ(frame->currentPath(), dropped);
    EXPECT_EQ(rowNames(), (QStringList{first, second, dropped}));

    // The running window comes forward restored when it was minimised.
    frame->GetHWND()->showMinimized();
    runFor(50);
    ASSERT_TRUE(frame->GetHWND()->isMinimized());
    frame->comeForward();
    runFor(50);
    EXPECT_FALSE(frame->GetHWND()->isMinimized());
    EXPECT_TRUE(frame->GetHWND()->isVisible());
}

TEST_F(Keys, TheWindowCarriesTheProgramIcon) {
    open(avplayer::Pace::AsFastAsPossible);
    EXPECT_FALSE(frame->GetHWND()->windowIcon().isNull());
}

}  // namespace
}  // namespace mirado::testing
