// Playback control: passwords and remembered keys, pause and resume, the end of a video, Space after a
// picture, mute in both bars, seeking, the periodic view and the time texts.
#include <cmath>
#include <limits>

#include <QWidget>

#include "MainWindowFixture.h"
#include "TestClips.h"
#include "tests/support/RunProcess.h"
#include "container/AdditiveKeyCipher.h"
#include "player/PlaybackTimeText.h"
#include "surface/CPlayBarFrame.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CButtonUI.h"
#include "ui/CLabelUI.h"
#include "ui/CListUI.h"
#include "ui/CSliderUI.h"

namespace mirado::testing {
namespace {

constexpr int kPlaying = 1, kPaused = 2, kEnded = 3;

ContainerKey keyOf(const QString& password) {
    return AdditiveKeyCipher::keyFromPassword(password.toStdU16String());
}

class Playback : public MainWindowTest {
protected:
    static const QString& clip() {
        static const QString path = TestClips::instance().video("clip.mp4", 2);
        return path;
    }
    static const QString& shortClip() {
        static const QString path = TestClips::instance().video("short.mp4", 1);
        return path;
    }
    bool waitForState(int state, int ms = 8000) {
        return waitUntil([&] { return engineState() == state; }, ms);
    }
    CPlayBarFrame* bar() const { return frame->videoSurface()->playBar(); }
};

TEST_F(Playback, AProtectedVideoAsksOnceAndTheSamePasswordOpensTheNextContainer) {
    open();
    const QString first = TestClips::instance().container(clip(), "abc123", "Mirado", 3, 1, 0);
    const QString second = TestClips::instance().container(clip(), "abc123");
    addThroughDialog({first, second});
    prompts.answers = {QStringLiteral("abc123")};

    doubleClickRow(0);
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_EQ(frame->currentPath(), first);
    ASSERT_TRUE(waitForState(kPlaying));
    ASSERT_EQ(frame->rememberedKeys().size(), 1u);
    EXPECT_EQ(frame->rememberedKeys()[0], keyOf("abc123"));
    EXPECT_FALSE(frame->isShowingImage());

    // The playing container toggles pause without a prompt.
    doubleClickRow(0);
    EXPECT_TRUE(waitForState(kPaused));
    EXPECT_EQ(prompts.asked, 1);

    doubleClickRow(1);
    EXPECT_EQ(prompts.asked, 1) << "the remembered key opened it";
    EXPECT_EQ(frame->currentPath(), second);
    EXPECT_TRUE(waitForState(kPlaying));
    EXPECT_EQ(frame->rememberedKeys().size(), 1u);
    EXPECT_TRUE(services.messages->shown.empty());
}

TEST_F(Playback, AWrongPasswordIsReportedOnceAndNothingIsRemembered) {
    open();
    const QString container = TestClips::instance().container(shortClip(), "right7");
    addThroughDialog({container});
    prompts.answers = {QStringLiteral("wrong7")};
    doubleClickRow(0);
    EXPECT_EQ(prompts.asked, 1);
    ASSERT_EQ(services.messages->shown.size(), 1u);
    EXPECT_TRUE(services.messages->shown[0].text.startsWith(QStringLiteral("无法打开加密视频。")));
    EXPECT_TRUE(services.messages->shown[0].text.contains(QStringLiteral("密码")));
    EXPECT_EQ(services.messages->shown[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(services.messages->shown[0].owner, frame->GetHWND());
    EXPECT_TRUE(frame->rememberedKeys().empty());
    EXPECT_TRUE(frame->currentPath().isEmpty());

    // A cancelled prompt reports nothing.
    doubleClickRow(0);
    EXPECT_EQ(prompts.asked, 2);
    EXPECT_EQ(services.messages->shown.size(), 1u);

    // The next try asks again and the right password plays.
    prompts.answers = {QStringLiteral("right7")};
    doubleClickRow(0);
    EXPECT_EQ(prompts.asked, 3);
    EXPECT_EQ(services.messages->shown.size(), 1u);
    EXPECT_EQ(frame->currentPath(), container);
    EXPECT_EQ(frame->rememberedKeys().size(), 1u);
}

TEST_F(Playback, TheSeventhNewPasswordPushesOutTheOldestKey) {
    open(avplayer::Pace::AsFastAsPossible);
    const QString picture = TestClips::instance().picture("secret.png", 40, 30);
    QStringList containers;
    for (int i = 1; i <= 7; ++i) {
        const QString password = QStringLiteral("pass%1word").arg(i);
        containers << TestClips::instance().container(picture, password);
        prompts.answers.push_back(password);
    }
    addThroughDialog(containers);
    for (int i = 0; i < 7; ++i) {
        doubleClickRow(i);
        ASSERT_EQ(frame->currentPath(), containers[i]);
        EXPECT_TRUE(frame->isShowingImage());
        EXPECT_TRUE(frame->videoSurface()->isPictureShown());
    }
    EXPECT_EQ(prompts.asked, 7);
    ASSERT_EQ(frame->rememberedKeys().size(), 6u);
    EXPECT_EQ(frame->rememberedKeys()[0], keyOf("pass7word"));
    EXPECT_EQ(frame->rememberedKeys()[5], keyOf("pass2word"));

    // The second still opens without a prompt; the first asks again.
    doubleClickRow(1);
    EXPECT_EQ(prompts.asked, 7);
    EXPECT_EQ(frame->currentPath(), containers[1]);
    prompts.answers = {QStringLiteral("pass1word")};
    doubleClickRow(0);
    EXPECT_EQ(prompts.asked, 8);
    EXPECT_EQ(frame->currentPath(), containers[0]);
    EXPECT_EQ(frame->rememberedKeys()[0], keyOf("pass1word"));
    EXPECT_EQ(frame->rememberedKeys()[5], keyOf("pass3word"));
    EXPECT_TRUE(services.messages->shown.empty());
}

TEST_F(Playback, DoubleClickingThePlayingRowPausesResumesAndReplaysAfterTheEnd) {
    open();
    addThroughDialog({clip()});
    doubleClickRow(0);
    EXPECT_EQ(textOf("txt_playstatus"), QStringLiteral("加载中请等待...")) << "shown while the file opens";
    EXPECT_EQ(textOf("txt_playingpath"), clip());
    ASSERT_TRUE(waitForState(kPlaying));
    EXPECT_TRUE(waitUntil([&] { return textOf("txt_playstatus") == QStringLiteral("正在播放"); }));
    doubleClickRow(0);
    ASSERT_TRUE(waitForState(kPaused));
    EXPECT_TRUE(waitUntil([&] { return textOf("txt_playstatus") == QStringLiteral("暂停"); }));
    doubleClickRow(0);
    ASSERT_TRUE(waitForState(kPlaying));

    // Hold the periodic update so the end stays visible, then double-click the ended video.
    frame->KillTimer(CMainFrame::TIMER_TICK);
    ASSERT_TRUE(waitForState(kEnded));
    doubleClickRow(0);
    ASSERT_TRUE(waitForState(kPlaying));
    EXPECT_LT(frame->engine().curr_play_time(), 1.0) << "from the start again";
    EXPECT_EQ(frame->currentPath(), clip());
    frame->SetTimer(CMainFrame::TIMER_TICK, CMainFrame::kTickMs);
}

TEST_F(Playback, TheEndOfTheLastRowPlaysTheFirstAndAOneRowListRepeats) {
    open(avplayer::Pace::AsFastAsPossible);
    const QString other = TestClips::instance().video("other.mp4", 1);
    addThroughDialog({shortClip(), other});
    doubleClickRow(1);
    ASSERT_EQ(frame->currentPath(), other);
    ASSERT_TRUE(waitUntil([&] { return frame->currentPath() == shortClip(); }));
    EXPECT_EQ(list().SelectedIndex(), 0);

    // One row: it starts again each time it ends.
    list().RemoveItemAt(1);
    frame->PlaySelected();
    int restarts = 0;
    double last = 0;
    ASSERT_TRUE(waitUntil([&] {
        const double now = frame->engine().curr_play_time();
        if (now + 0.3 < last) ++restarts;
        last = now;
        return restarts >= 2;
    }));
    EXPECT_EQ(frame->currentPath(), shortClip());
}

TEST_F(Playback, SpaceAndEnterPauseOnlyWhileAVideoIsCurrent) {
    open();
    const QString picture = TestClips::instance().picture("still.png", 64, 48, Qt::red);
    addThroughDialog({clip(), picture});
    doubleClickRow(0);
    ASSERT_TRUE(waitForState(kPlaying));
    frame->GetHWND()->activateWindow();
    frame->GetHWND()->setFocus();
    pressKey(*frame, Qt::Key_Space);
    EXPECT_TRUE(waitForState(kPaused));
    pressKey(*frame, Qt::Key_Return);
    EXPECT_TRUE(waitForState(kPlaying));

    doubleClickRow(1);
    EXPECT_TRUE(frame->isShowingImage());
    EXPECT_TRUE(frame->videoSurface()->isPictureShown());
    EXPECT_NE(engineState(), kPlaying) << "the video was stopped for the picture";
    const QString status = textOf("txt_playstatus");
    frame->GetHWND()->activateWindow();
    frame->GetHWND()->setFocus();
    pressKey(*frame, Qt::Key_Space);
    runFor(250);
    EXPECT_TRUE(frame->videoSurface()->isPictureShown());
    EXPECT_EQ(textOf("txt_playstatus"), status);
    // Even after the picture was stopped, until a video opens.
    ASSERT_TRUE(click(*frame, "btn_stop"));
    EXPECT_FALSE(frame->videoSurface()->isPictureShown());
    EXPECT_TRUE(frame->currentPath().isEmpty());
    pressKey(*frame, Qt::Key_Space);
    runFor(150);
    EXPECT_FALSE(frame->videoSurface()->isPictureShown());
    EXPECT_TRUE(frame->isShowingImage());
}

TEST_F(Playback, MuteSwapsTheButtonsInBothBarsAndDoesNothingWhileNothingPlays) {
    open();
    ASSERT_NE(bar(), nullptr);
    ASSERT_TRUE(click(*frame, "btn_mute"));
    EXPECT_TRUE(isVisible("btn_mute"));
    EXPECT_FALSE(isVisible("btn_muteoff"));
    EXPECT_FALSE(frame->engine().get_mute());

    addThroughDialog({clip()});
    doubleClickRow(0);
    ASSERT_TRUE(waitForState(kPlaying));
    ASSERT_TRUE(click(*frame, "btn_mute"));
    EXPECT_TRUE(frame->engine().get_mute());
    EXPECT_FALSE(isVisible("btn_mute"));
    EXPECT_TRUE(isVisible("btn_muteoff"));
    EXPECT_FALSE(bar()->muteButton()->IsVisible());
    EXPECT_TRUE(bar()->unmuteButton()->IsVisible());

    ASSERT_TRUE(click(*frame, "btn_muteoff"));
    EXPECT_FALSE(frame->engine().get_mute());
    EXPECT_TRUE(isVisible("btn_mute"));
    EXPECT_FALSE(isVisible("btn_muteoff"));
    EXPECT_TRUE(bar()->muteButton()->IsVisible());
    EXPECT_FALSE(bar()->unmuteButton()->IsVisible());
}

TEST_F(Playback, TheProgressSliderSeeksAndStopsFollowingUntilTheNextButtonRelease) {
    open();
    const QString longer = TestClips::instance().video("four.mp4", 4);
    addThroughDialog({longer});
    doubleClickRow(0);
    ASSERT_TRUE(waitForState(kPlaying));
    ASSERT_TRUE(waitUntil([&] { return frame->engine().duration() > 3.5; }));

    ASSERT_TRUE(dragSlider(*frame, "slider_play", 0.75));
    EXPECT_TRUE(frame->isSeeking());
    const int dragged = frame->progressSlider()->GetValue();
    EXPECT_NEAR(dragged, 750, 30);
    EXPECT_TRUE(waitUntil([&] { return std::abs(frame->engine().curr_play_time() - 3.0) < 0.4; }));
    runFor(300);
    EXPECT_EQ(frame->progressSlider()->GetValue(), dragged) << "not moved by playback while seeking";
    EXPECT_TRUE(waitUntil([&] { return bar()->progressSlider()->GetValue() == dragged; }, 1000));

    // Any release of the left button in the window lets the slider follow playback again.
    ASSERT_TRUE(click(*frame, "txt_playstatus"));
    EXPECT_FALSE(frame->isSeeking());
    EXPECT_TRUE(waitUntil([&] {
        const int expected = int(frame->engine().curr_play_time() / frame->engine().duration() * 1000);
        return frame->progressSlider()->GetValue() != dragged && std::abs(frame->progressSlider()->GetValue() - expected) < 60;
    }));
}

TEST_F(Playback, ThePeriodicUpdateShowsTimesAndMirrorsBothSlidersToThePlayBar) {
    open();
    addThroughDialog({clip()});
    doubleClickRow(0);
    ASSERT_TRUE(waitForState(kPlaying));
    EXPECT_TRUE(waitUntil([&] { return textOf("txt_totaltime") == QStringLiteral("00:00:02"); }));
    EXPECT_TRUE(waitUntil([&] { return textOf("txt_curtime") == QStringLiteral("00:00:01"); }));
    EXPECT_TRUE(waitUntil([&] { return bar()->totalTimeText()->GetText().toQString() == QStringLiteral("00:00:02"); }));

    ASSERT_TRUE(dragSlider(*frame, "slider_volumn", 0.3));
    const int volume = frame->volumeSlider()->GetValue();
    EXPECT_NEAR(volume, 30, 3);
    EXPECT_TRUE(waitUntil([&] { return bar()->volumeSlider()->GetValue() == volume; }, 1000));
}

TEST_F(Playback, ThePlayButtonAsksForFilesOnAnEmptyListAndPlaysTheFirstRowOtherwise) {
    open(avplayer::Pace::AsFastAsPossible);
    ASSERT_TRUE(click(*frame, "btn_play"));
    ASSERT_EQ(services.messages->shown.size(), 1u);
    EXPECT_EQ(services.messages->shown[0].text, QStringLiteral("请先添加视频文件"));
    EXPECT_EQ(services.messages->shown[0].caption, QStringLiteral("提示"));

    const QString picture = TestClips::instance().picture("first.png", 16, 16);
    addThroughDialog({picture, TestClips::instance().picture("second.png", 16, 16)});
    ASSERT_TRUE(click(*frame, "btn_play"));
    EXPECT_EQ(frame->currentPath(), picture);
    EXPECT_EQ(list().SelectedIndex(), 0);
    EXPECT_EQ(textOf("txt_playingpath"), picture);
    EXPECT_EQ(services.messages->shown.size(), 1u);
}

TEST_F(Playback, RemovingThePlayingRowLeavesItPlaying) {
    open();
    addThroughDialog({clip()});
    doubleClickRow(0);
    ASSERT_TRUE(waitForState(kPlaying));
    ASSERT_TRUE(click(*frame, "btnclear"));
    runFor(200);
    EXPECT_EQ(engineState(), kPlaying);
    EXPECT_EQ(frame->currentPath(), clip());
}

TEST_F(Playback, AVideoKeepsPlayingThroughFullScreenAndResizes) {
    open();
    const QString container = TestClips::instance().container(clip(), "keep1234", "Mirado", 1, 0, 0);
    addThroughDialog({container});
    prompts.answers = {QStringLiteral("keep1234")};
    doubleClickRow(0);
    ASSERT_TRUE(waitUntil([&] { return frame->engine().curr_play_time() > 0.3; }));
    const double before = frame->engine().curr_play_time();
    ASSERT_TRUE(click(*frame, "btn_fullscreen"));
    ASSERT_TRUE(frame->videoSurface()->isFullScreen());
    runFor(150);
    EXPECT_EQ(engineState(), kPlaying);
    frame->videoSurface()->toggleFullScreen();
    frame->GetHWND()->resize(1000, 700);
    runFor(250);
    EXPECT_EQ(engineState(), kPlaying);
    EXPECT_GT(frame->engine().curr_play_time(), before) << "went on, not from the start";
    EXPECT_EQ(frame->currentPath(), container);
    EXPECT_EQ(prompts.asked, 1);
}

TEST_F(Playback, ContainerPicturesAreDecipheredWholeAndShown) {
    open(avplayer::Pace::AsFastAsPossible);
    const QString picture = TestClips::instance().picture("marked.png", 200, 100, Qt::blue);
    const QString container = TestClips::instance().container(picture, "pic12345", "Mirado", 3, 1, 2);
    addThroughDialog({container});
    prompts.answers = {QStringLiteral("pic12345")};
    doubleClickRow(0);
    EXPECT_TRUE(frame->isShowingImage());
    EXPECT_TRUE(frame->videoSurface()->isPictureShown());
    EXPECT_EQ(frame->currentPath(), container);
    // The picture on show stays as it is on a double click.
    doubleClickRow(0);
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_TRUE(frame->videoSurface()->isPictureShown());
}

TEST_F(Playback, TiffPicturesPlainAndInContainersAreShownAsPictures) {
    // Made by ImageMagick, as a scanner or another program would; both spellings of the extension.
    open(avplayer::Pace::AsFastAsPossible);
    const QString png = TestClips::instance().picture("scan.png", 48, 32, Qt::yellow);
    const QString tif = QString(png).replace(QStringLiteral(".png"), QStringLiteral(".tif"));
    const QString tiff = QString(png).replace(QStringLiteral(".png"), QStringLiteral(".TIFF"));
    ASSERT_EQ(runProcess("/usr/bin/convert", {png.toStdString(), tif.toStdString()}).exitCode, 0);
    ASSERT_EQ(runProcess("/usr/bin/convert", {png.toStdString(), "-compress", "lzw", tiff.toStdString()}).exitCode, 0);
    const QString container = TestClips::instance().container(tiff, "tif12345", "Mirado");
    addThroughDialog({tif, container});
    doubleClickRow(0);
    EXPECT_TRUE(frame->isShowingImage());
    EXPECT_TRUE(frame->videoSurface()->isPictureShown());
    EXPECT_EQ(frame->currentPath(), tif);
    prompts.answers = {QStringLiteral("tif12345")};
    doubleClickRow(1);
    EXPECT_TRUE(frame->isShowingImage());
    EXPECT_TRUE(frame->videoSurface()->isPictureShown());
    // A picture stays: it never ends and moves on to another row as a video does.
    waitUntil([] { return false; }, 400);
    EXPECT_EQ(frame->currentPath(), container);
    EXPECT_TRUE(frame->videoSurface()->isPictureShown());
}

TEST_F(Playback, AContainerPictureOver150MiBIsNotShownAndOneAtTheLimitIs) {
    // A small PNG followed by zeros up to the size wanted: decoders stop at the picture's end, so the
    // size alone decides whether it is shown.
    open(avplayer::Pace::AsFastAsPossible);
    const auto paddedPicture = [](const QString& name, std::uintmax_t size) {
        const auto path = TestClips::instance().folder() / name.toStdString();
        std::filesystem::copy_file(TestClips::instance().picture("small.png", 40, 30, Qt::red).toStdString(), path,
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::resize_file(path, size);
        return QString::fromStdString(path.string());
    };
    constexpr std::uintmax_t kLimit = 157286400;
    const QString over = TestClips::instance().container(paddedPicture("over.png", kLimit + 1), "big12345");
    addThroughDialog({over});
    prompts.answers = {QStringLiteral("big12345")};
    doubleClickRow(0);
    EXPECT_FALSE(frame->videoSurface()->isPictureShown());
    EXPECT_FALSE(frame->isShowingImage());
    EXPECT_TRUE(frame->currentPath().isEmpty());
    std::filesystem::remove(over.toStdString());

    const QString atLimit = TestClips::instance().container(paddedPicture("limit.png", kLimit), "big12345");
    addThroughDialog({atLimit});
    doubleClickRow(1);
    EXPECT_EQ(prompts.asked, 1) << "the key is remembered";
    EXPECT_TRUE(frame->videoSurface()->isPictureShown());
    EXPECT_EQ(frame->currentPath(), atLimit);
    std::filesystem::remove(atLimit.toStdString());
}

TEST_F(Playback, StoppingAFileStillLoadingReleasesItsReader) {
    // The sanitizer build checks that the reader handed to the engine is freed, and not too early.
    open();
    const QString container = TestClips::instance().container(clip(), "load1234");
    addThroughDialog({container, clip()});
    prompts.answers = {QStringLiteral("load1234")};
    doubleClickRow(0);
    ASSERT_EQ(frame->currentPath(), container);
    ASSERT_TRUE(click(*frame, "btn_stop"));
    EXPECT_TRUE(frame->currentPath().isEmpty());
    runFor(100);
    doubleClickRow(0);
    doubleClickRow(1);
    ASSERT_TRUE(waitForState(kPlaying));
    EXPECT_EQ(frame->currentPath(), clip());
}

TEST(PlaybackTimeText, HoursMinutesAndSecondsTruncated) {
    EXPECT_EQ(playbackTimeText(3725.9), QStringLiteral("01:02:05"));
    EXPECT_EQ(playbackTimeText(100.0 * 3600), QStringLiteral("100:00:00"));
    EXPECT_EQ(playbackTimeText(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(playbackTimeText(59.999), QStringLiteral("00:00:59"));
    EXPECT_EQ(playbackTimeText(3599.5), QStringLiteral("00:59:59"));
    EXPECT_EQ(playbackTimeText(-3.0), QStringLiteral("00:00:00"));
    EXPECT_EQ(playbackTimeText(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("00:00:00"));
    EXPECT_EQ(playbackTimeText(1e12), QStringLiteral("1193046:28:15")) << "held at the largest 32-bit count";
}

}  // namespace
}  // namespace mirado::testing
