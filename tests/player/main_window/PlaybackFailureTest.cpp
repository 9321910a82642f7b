// What the window shows when a file cannot be played or shown, after Stop, and when the end of a video
// leads nowhere: a message for every failure, and never a frozen frame, path, time or "loading" text.
#include <QCoreApplication>
#include <QFile>
#include <QWidget>
#include <QMimeData>
#include <QUrl>
#include <QtGui/QDropEvent>

#include "MainWindowFixture.h"
#include "TestClips.h"
#include "surface/CPasswordFrame.h"
#include "surface/CPlayBarFrame.h"
#include "surface/CVideoRealWnd.h"
#include "tests/support/LocalHttpServer.h"
#include "ui/CLabelUI.h"
#include "ui/CListUI.h"
#include "ui/CSliderUI.h"

namespace mirado::testing {
namespace {

constexpr int kPlaying = 1;
const QString kLoading = QStringLiteral("加载中请等待...");
const QString kStopped = QStringLiteral("停止");
const QString kZero = QStringLiteral("00:00:00");

class PlaybackFailure : public MainWindowTest {
protected:
    static const QString& clip() {
        static const QString path = TestClips::instance().video("clip.mp4", 4);
        return path;
    }
    static const QString& shortClip() {
        static const QString path = TestClips::instance().video("short.mp4", 1);
        return path;
    }
    CPlayBarFrame& bar() const { return *frame->videoSurface()->playBar(); }
    bool surfaceShowsNoVideoLabel() const {
        CControlUI* label = frame->videoSurface()->GetPaintManager().FindControl(CDuiString(u"novideo"));
        return label != nullptr && label->IsVisible() && !frame->videoSurface()->isPictureShown();
    }
    int sliderValue(const QString& name) const { return dynamic_cast<CSliderUI*>(control(name))->GetValue(); }

    // The row plays until the current time shows at least a second.
    void playUntilTimesShow(int row) {
        doubleClickRow(row);
        ASSERT_TRUE(waitUntil([&] { return engineState() == kPlaying && textOf("txt_curtime") >= "00:00:01"; }));
    }
    // Double-clicks the row and waits for a message; returns its text.
    QString messageAfterPlaying(int row) {
        const std::size_t before = services.messages->shown.size();
        doubleClickRow(row);
        if (!waitUntil([&] { return services.messages->shown.size() > before; })) return QStringLiteral("<none>");
        const ShownMessage& message = services.messages->shown.back();
        EXPECT_EQ(message.caption, QStringLiteral("提示"));
        EXPECT_EQ(message.owner, frame->GetHWND());
        return message.text;
    }
    // Nothing is current and nothing claims to play or load.
    void expectEmptyView() {
        EXPECT_EQ(textOf("txt_playstatus"), kStopped);
        EXPECT_EQ(textOf("txt_playingpath"), QString());
        EXPECT_EQ(textOf("txt_curtime"), kZero);
        EXPECT_EQ(textOf("txt_totaltime"), kZero);
        EXPECT_EQ(sliderValue("slider_play"), 0);
        EXPECT_EQ(bar().currentTimeText()->GetText().toQString(), kZero);
        EXPECT_EQ(bar().progressSlider()->GetValue(), 0);
        EXPECT_TRUE(frame->currentPath().isEmpty());
        EXPECT_NE(engineState(), kPlaying);
        EXPECT_TRUE(surfaceShowsNoVideoLabel());
    }
};

TEST_F(PlaybackFailure, AFileThatCannotBePlayedIsToldAndNothingClaimsToLoad) {
    open(avplayer::Pace::AsFastAsPossible);
    const QString text = TestClips::instance().file("notes.txt", "Shopping: milk, bread.\n");
    QFile whole(shortClip());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QString broken = TestClips::instance().file("broken.mp4", whole.read(2000));

    // The text file comes as a person drops it on the window.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(text)});
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame->GetHWND(), &enter);
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame->GetHWND(), &drop);
    addThroughDialog({broken});
    ASSERT_EQ(rowNames(), (QStringList{text, broken}));

    for (int row = 0; row < 2; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(messageAfterPlaying(row), QStringLiteral("无法播放该文件。"));
        expectEmptyView();
        runFor(300);
        EXPECT_EQ(services.messages->shown.size(), std::size_t(row + 1)) << "told once";
        EXPECT_NE(textOf("txt_playstatus"), kLoading);
    }
}

TEST_F(PlaybackFailure, AnUndecodablePictureAfterAVideoIsToldAndTheSurfaceEmpties) {
    open();
    const QString garbage = TestClips::instance().file("broken.png", QByteArray("\x89PNG\r\n\x1a\n") + "not a picture");
    const QString container = TestClips::instance().container(garbage, "secret1");
    const QString good = TestClips::instance().picture("good.png", 40, 30);
    addThroughDialog({clip(), garbage, container, good});
    prompts.answers = {QStringLiteral("secret1")};

    playUntilTimesShow(0);
    EXPECT_EQ(messageAfterPlaying(1), QStringLiteral("无法显示该图片。"));
    expectEmptyView();
    playUntilTimesShow(0);
    EXPECT_EQ(messageAfterPlaying(2), QStringLiteral("无法显示该图片。")) << "a deciphered picture alike";
    expectEmptyView();
    EXPECT_EQ(prompts.asked, 1);

    // The next good picture shows as always.
    doubleClickRow(3);
    EXPECT_TRUE(frame->videoSurface()->isPictureShown());
    EXPECT_EQ(frame->currentPath(), good);
    EXPECT_EQ(services.messages->shown.size(), 2u);
}

TEST_F(PlaybackFailure, StopAndTheEndOfAClearedListEmptyTheView) {
    open();
    addThroughDialog({clip()});
    playUntilTimesShow(0);
    ASSERT_NE(sliderValue("slider_play"), 0);
    ASSERT_TRUE(click(*frame, "btn_stop"));
    expectEmptyView();
    runFor(300);
    expectEmptyView();

    // The list emptied while a video plays: when it ends, nothing is left on show.
    ASSERT_TRUE(click(*frame, "btnclear"));
    frame->addPaths({shortClip()});
    doubleClickRow(0);
    ASSERT_TRUE(waitUntil([&] { return engineState() == kPlaying && textOf("txt_playingpath") == shortClip(); }));
    ASSERT_TRUE(click(*frame, "btnclear"));
    ASSERT_TRUE(waitUntil([&] { return frame->currentPath().isEmpty(); }));
    runFor(200);
    expectEmptyView();
}

TEST_F(PlaybackFailure, TheEndOfAVideoBeforeACancelledPromptShowsStopped) {
    open(avplayer::Pace::AsFastAsPossible);
    const QString locked = TestClips::instance().container(shortClip(), "locked1");
    addThroughDialog({shortClip(), locked});
    doubleClickRow(0);
    ASSERT_TRUE(waitUntil([&] { return prompts.asked == 1; })) << "the end led to the container";
    runFor(300);
    expectEmptyView();
    EXPECT_EQ(prompts.asked, 1) << "nothing more starts";
    EXPECT_TRUE(services.messages->shown.empty()) << "a cancelled prompt is no failure";
}

TEST_F(PlaybackFailure, AListInsideAFileIsRefusedWithTheFailureMessageAndNothingItNamesIsFetched) {
    const TempDir served;
    writeFile(served / "clip.mp4", readFile(shortClip().toStdString()));
    const LocalHttpServer server(served.path());
    ASSERT_NE(server.port(), 0);
    ASSERT_NE(server.get("clip.mp4").find("200"), std::string::npos);
    const QByteArray address = QByteArray::fromStdString(server.url("clip.mp4"));

    open(avplayer::Pace::AsFastAsPossible);
    const QString m3u = TestClips::instance().file("list.mp4", "#EXTM3U\n#EXTINF:1,clip\n" + address + "\n");
    const QString ram = TestClips::instance().file("clip.ram", address + "\n");
    addThroughDialog({m3u, ram, TestClips::instance().container(m3u, "lists1"),
                      TestClips::instance().container(ram, "lists1")});
    prompts.answers = {QStringLiteral("lists1")};
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(messageAfterPlaying(row), QStringLiteral("无法播放该文件。"));
        expectEmptyView();
    }
    EXPECT_EQ(server.requests(), "/clip.mp4\n") << "the engine fetched what a list named";
}

TEST_F(PlaybackFailure, TheTypedKeyDoesNotStayInTheSharedSlot) {
    open(avplayer::Pace::AsFastAsPossible);
    const QString picture = TestClips::instance().picture("secret.png", 40, 30);
    addThroughDialog({TestClips::instance().container(picture, "wipe123"), TestClips::instance().container(picture, "other12")});
    prompts.answers = {QStringLiteral("wipe123"), QStringLiteral("wrong12")};
    doubleClickRow(0);
    ASSERT_TRUE(frame->videoSurface()->isPictureShown());
    EXPECT_EQ(frame->rememberedKeys().size(), 1u);
    EXPECT_EQ(enteredKey, ContainerKey{}) << "opened: the key lives on in the remembered keys only";
    doubleClickRow(1);
    ASSERT_EQ(services.messages->shown.size(), 1u);
    EXPECT_EQ(enteredKey, ContainerKey{}) << "refused: the wrong key is gone too";
}

}  // namespace
}  // namespace mirado::testing
