// Sealed (format 2) containers in the player: the same playlist, prompt and remembered keys as the
// compatible ones, pictures, and damaged files stopped with a message.
#include <QWidget>
#include <cmath>

#include "MainWindowFixture.h"
#include "TestClips.h"
#include "container/AdditiveKeyCipher.h"
#include "container/SealedPreamble.h"
#include "surface/CPlayBarFrame.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CSliderUI.h"
#include "tests/support/RunOnTerminal.h"
#include "tests/support/SealedDamage.h"

namespace mirado::testing {
namespace {

constexpr int kPlaying = 1;
const QString kDamaged = QStringLiteral("文件已损坏或被修改。");

class SealedPlayback : public MainWindowTest {
protected:
    static const QString& clip() {
        static const QString path = TestClips::instance().video("clip.mp4", 2);
        return path;
    }
    bool waitForState(int state, int ms = 8000) {
        return waitUntil([&] { return engineState() == state; }, ms);
    }
    std::vector<QString> messageTexts() const {
        std::vector<QString> texts;
        for (const ShownMessage& shown : services.messages->shown) texts.push_back(shown.text);
        return texts;
    }
    static QString qPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }
};

TEST_F(SealedPlayback, OnePasswordOpensCompatibleAndSealedContainersInEitherOrder) {
    open();
    const QString compatible = TestClips::instance().container(clip(), "same1234");
    const QString sealed = TestClips::instance().sealed(clip(), "same1234", "Mirado", 3, 1, 0);
    const QString sealedFirst = TestClips::instance().sealed(clip(), "first987");
    const QString compatibleSecond = TestClips::instance().container(clip(), "first987");
    addThroughDialog({compatible, sealed, sealedFirst, compatibleSecond});
    prompts.answers = {QStringLiteral("same1234"), QStringLiteral("first987")};

    doubleClickRow(0);
    EXPECT_EQ(prompts.asked, 1);
    ASSERT_TRUE(waitForState(kPlaying));
    doubleClickRow(1);
    EXPECT_EQ(prompts.asked, 1) << "the key remembered from the compatible container opened the sealed one";
    EXPECT_EQ(frame->currentPath(), sealed);
    ASSERT_TRUE(waitForState(kPlaying));
    // The playing sealed video pauses on a double click, without a prompt.
    doubleClickRow(1);
    EXPECT_TRUE(waitForState(2));

    doubleClickRow(2);
    EXPECT_EQ(prompts.asked, 2);
    EXPECT_EQ(frame->currentPath(), sealedFirst);
    ASSERT_TRUE(waitForState(kPlaying));
    doubleClickRow(3);
    EXPECT_EQ(prompts.asked, 2) << "and the other way round";
    EXPECT_EQ(frame->currentPath(), compatibleSecond);
    EXPECT_TRUE(waitForState(kPlaying));
    ASSERT_EQ(frame->rememberedKeys().size(), 2u);
    EXPECT_EQ(frame->rememberedKeys()[0], AdditiveKeyCipher::keyFromPassword(u"first987"));
    EXPECT_TRUE(services.messages->shown.empty());
}

TEST_F(SealedPlayback, AWrongPasswordGetsTheUsualMessageAndTheRightOnePlays) {
    open();
    const QString sealed = TestClips::instance().sealed(clip(), "right123");
    addThroughDialog({sealed});
    prompts.answers = {QStringLiteral("wrong123")};
    doubleClickRow(0);
    ASSERT_EQ(services.messages->shown.size(), 1u);
    EXPECT_TRUE(services.messages->shown[0].text.startsWith(QStringLiteral("无法打开加密视频。")));
    EXPECT_TRUE(frame->rememberedKeys().empty());
    prompts.answers = {QStringLiteral("right123")};
    doubleClickRow(0);
    EXPECT_EQ(prompts.asked, 2);
    EXPECT_TRUE(waitForState(kPlaying));
    EXPECT_EQ(services.messages->shown.size(), 1u);
}

TEST_F(SealedPlayback, FullScreenAndThePlayBarsSliderSeekAnywhereInASealedVideo) {
    open();
    static const QString four = TestClips::instance().video("four.mp4", 4);
    const QString sealed = TestClips::instance().sealed(four, "full1234", "Mirado", 1, 0, 0);
    addThroughDialog({sealed});
    prompts.answers = {QStringLiteral("full1234")};
    doubleClickRow(0);
    ASSERT_TRUE(waitUntil([&] { return engineState() == kPlaying && frame->engine().duration() > 3.5; }));
    ASSERT_TRUE(click(*frame, "btn_fullscreen"));
    CVideoRealWnd& surface = *frame->videoSurface();
    ASSERT_TRUE(surface.isFullScreen());
    const QSize size = surface.GetHWND()->size();
    moveTo(surface, QPoint(size.width() / 2, size.height() - 5));
    ASSERT_TRUE(surface.isBarShown());
    for (const double fraction : {0.9, 0.1, 0.5}) {
        SCOPED_TRACE(fraction);
        ASSERT_TRUE(dragSlider(*surface.playBar(), QStringLiteral("slider_play"), fraction));
        const double target = frame->engine().duration() * surface.playBar()->progressSlider()->GetValue() / 1000.0;
        EXPECT_TRUE(waitUntil([&] { return std::abs(frame->engine().curr_play_time() - target) < 0.4; }));
    }
    surface.toggleFullScreen();
    EXPECT_FALSE(surface.isFullScreen());
    runFor(200);
    EXPECT_EQ(engineState(), kPlaying);
    EXPECT_EQ(frame->currentPath(), sealed);
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_TRUE(services.messages->shown.empty());
}

TEST_F(SealedPlayback, SealedPicturesAreShownWhole) {
    open(avplayer::Pace::AsFastAsPossible);
    const QString picture = TestClips::instance().picture("sealed.png", 300, 200, Qt::blue);
    const QString sealed = TestClips::instance().sealed(picture, "pic12345", "Mirado", 0, 2, 1);
    addThroughDialog({sealed});
    prompts.answers = {QStringLiteral("pic12345")};
    doubleClickRow(0);
    EXPECT_TRUE(frame->isShowingImage());
    EXPECT_TRUE(frame->videoSurface()->isPictureShown());
    EXPECT_EQ(frame->currentPath(), sealed);
}

TEST_F(SealedPlayback, ADamagedChunkStopsPlaybackWithAMessageAndTheNextFilePlays) {
    open(avplayer::Pace::AsFastAsPossible);
    static const QString longer = TestClips::instance().video("longer.mp4", 12);
    const std::uint64_t chunks = std::filesystem::file_size(longer.toStdString()) / 65536;
    ASSERT_GE(chunks, 6u);
    const QString damaged =
        qPath(damagedChunkCopy(TestClips::instance().sealed(longer, "dmg12345").toStdString(), chunks / 2));
    addThroughDialog({damaged, clip()});
    prompts.answers = {QStringLiteral("dmg12345")};
    doubleClickRow(0);
    ASSERT_EQ(frame->currentPath(), damaged) << "the header and the last chunk are whole, so it opens";
    ASSERT_TRUE(waitUntil([&] { return !services.messages->shown.empty(); }, 20000));
    EXPECT_EQ(messageTexts(), std::vector<QString>{kDamaged});
    EXPECT_EQ(services.messages->shown[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(services.messages->shown[0].owner, frame->GetHWND());
    EXPECT_EQ(engineState(), 0) << "the engine let go of the file";
    EXPECT_TRUE(frame->currentPath().isEmpty());
    EXPECT_EQ(textOf("txt_playstatus"), QStringLiteral("停止"));
    runFor(300);
    EXPECT_EQ(services.messages->shown.size(), 1u) << "told once";
    EXPECT_TRUE(frame->currentPath().isEmpty()) << "it does not go on to the next row by itself";

    doubleClickRow(1);
    EXPECT_TRUE(waitForState(kPlaying));
    EXPECT_EQ(frame->currentPath(), clip());
}

TEST_F(SealedPlayback, ATouchedHeaderIsReportedAsDamagedAndNeverAsAWrongPassword) {
    open();
    const QString sealed = TestClips::instance().sealed(clip(), "hdr12345");
    const QString touched = qPath(touchedHeaderCopy(sealed.toStdString()));
    const QString touchedRecord = qPath(damagedChunkCopy(sealed.toStdString(), 0));
    addThroughDialog({touched, touchedRecord, sealed});

    // Nothing remembered yet: the prompt asks once, and the right password tells the damage.
    prompts.answers = {QStringLiteral("hdr12345")};
    doubleClickRow(0);
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_EQ(messageTexts(), std::vector<QString>{kDamaged});
    EXPECT_TRUE(frame->rememberedKeys().empty()) << "a key that opened nothing is not remembered";
    EXPECT_TRUE(frame->currentPath().isEmpty());

    // Once the key is remembered, a damaged header or record is reported without a prompt.
    prompts.answers = {QStringLiteral("hdr12345")};
    doubleClickRow(2);
    ASSERT_TRUE(waitForState(kPlaying));
    EXPECT_EQ(prompts.asked, 2);
    doubleClickRow(0);
    doubleClickRow(1);
    EXPECT_EQ(prompts.asked, 2);
    EXPECT_EQ(messageTexts(), (std::vector<QString>{kDamaged, kDamaged, kDamaged}));
}

TEST_F(SealedPlayback, AFileMadeByDebiansAgeFromAPreambleAndAClipPlays) {
    constexpr const char* kAge = "/usr/bin/age";
    if (::access(kAge, X_OK) != 0) GTEST_SKIP() << "Debian's age is not installed (package age)";
    const std::filesystem::path folder = TestClips::instance().folder() / "by-age";
    const std::vector<std::uint8_t> media = readFile(clip().toStdString());
    ContainerInfoRecord record;
    record.payloadSize = media.size();
    record.sourceName = u"from age.mp4";
    const auto preamble = SealedPreamble::toBytes(record);
    std::vector<std::uint8_t> plain(preamble.begin(), preamble.end());
    plain.insert(plain.end(), media.begin(), media.end());
    writeFile(folder / "plain.bin", plain);
    const auto [exitCode, shown] =
        runOnTerminal({kAge, "-p", "-o", (folder / "made.pmpk").string(), (folder / "plain.bin").string()}, "ByAge2024");
    ASSERT_EQ(exitCode, 0) << shown;
    std::filesystem::remove(folder / "plain.bin");

    open();
    const QString made = qPath(folder / "made.pmpk");
    addThroughDialog({made});
    prompts.answers = {QStringLiteral("ByAge2024")};
    doubleClickRow(0);
    EXPECT_EQ(prompts.asked, 1);
    ASSERT_EQ(frame->currentPath(), made);
    ASSERT_TRUE(waitUntil([&] { return engineState() == kPlaying && frame->engine().curr_play_time() > 0.3; }));
    EXPECT_NEAR(frame->engine().duration(), 2.0, 0.2);
    EXPECT_EQ(frame->rememberedKeys().size(), 1u);
    EXPECT_TRUE(services.messages->shown.empty());
}

}  // namespace
}  // namespace mirado::testing
