// A job under way: progress, Cancel, closing the window, and the windows around it going on.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "JobHold.h"
#include "SettingsFixture.h"

namespace mirado::testing {
namespace {

using Entries = std::vector<std::string>;
constexpr std::size_t kSmall = 1000;
constexpr std::size_t kLarge = 6u << 20;  // more than one of the writer's chunks
const QString kCloseQuestion = QStringLiteral("正在加密文件。要取消加密并关闭窗口吗?");

// Three files; the job is held in the middle of the large second one.
class JobUnderWay : public SettingsFixture {
protected:
    JobHold hold{1};

    void SetUp() override {
        SettingsFixture::SetUp();
        makeFile(source / "a.mp4", kSmall);
        makeFile(source / "b.mp4", kLarge);
        makeFile(source / "c.mp4", kSmall);
    }
    void TearDown() override {
        hold.release();
        SettingsFixture::TearDown();
    }
    void setUpFolderJob() {
        ASSERT_TRUE(clickOn(u"chk_encodedir"));
        chooseSourceByBrowser(source);
        chooseDestination(out);
        retype(u"edit_encode_psw", QStringLiteral("Summer2026"));
    }
    // Starts the job and waits until it is held and the window has shown where it stands.
    void startAndHold() {
        pressStart();
        ASSERT_TRUE(waitUntil([this] { return hold.reached(); }));
        runFor(120);
    }
    bool visible(const char16_t* name) { return find<CControlUI>(name)->IsVisible(); }
    bool enabled(const char16_t* name) { return find<CControlUI>(name)->IsEnabled(); }
};

TEST_F(JobUnderWay, ProgressAndCancelTakeTheStartButtonsPlaceUntilTheJobEnds) {
    open(hold.job());
    setUpFolderJob();
    startAndHold();
    EXPECT_TRUE(window->IsEncrypting());
    EXPECT_FALSE(visible(u"btn_encodefile"));
    EXPECT_TRUE(visible(u"btn_cancelencode"));
    EXPECT_TRUE(enabled(u"btn_cancelencode"));
    EXPECT_EQ(find<CControlUI>(u"btn_cancelencode")->GetPos(), find<CControlUI>(u"btn_encodefile")->GetPos());
    ASSERT_TRUE(visible(u"progress_encode"));
    ASSERT_TRUE(visible(u"txt_encodeprogress"));
    EXPECT_TRUE(visible(u"txt_tipencodefile"));
    // One file and one chunk of the second are done.
    const std::uint64_t total = 2 * kSmall + kLarge;
    const std::uint64_t done = kSmall + (4u << 20);
    EXPECT_EQ(find<CProgressUI>(u"progress_encode")->GetValue(), int(done * 1000 / total));
    EXPECT_EQ(textOf(u"txt_encodeprogress"), QStringLiteral("已完成 1/3 个文件 · 4.00 MB / 6.00 MB · 正在加密 b.mp4"));
    // The inputs rest while the job runs.
    for (const char16_t* name : {u"chk_encodefile", u"chk_encodedir", u"btn_openfile", u"btn_opendstpath",
                                 u"edit_encode_psw", u"comb_containerformat", u"chk_watermark", u"edit_water_content"}) {
        EXPECT_FALSE(enabled(name)) << QString::fromUtf16(name).toStdString();
    }
    // Pressing on where the start button was cancels nothing and starts nothing.
    EXPECT_FALSE(clickOn(u"btn_encodefile"));

    hold.release();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{folderDone(3)});
    EXPECT_TRUE(visible(u"btn_encodefile"));
    EXPECT_FALSE(visible(u"btn_cancelencode"));
    EXPECT_FALSE(visible(u"progress_encode"));
    EXPECT_FALSE(visible(u"txt_encodeprogress"));
    EXPECT_TRUE(enabled(u"edit_encode_psw"));
    EXPECT_TRUE(enabled(u"comb_containerformat"));
    EXPECT_TRUE(enabled(u"chk_watermark"));
    EXPECT_FALSE(enabled(u"edit_water_content")) << "the watermark box is still unchecked";
    expectHolds(out / "clips/b.pmpk", source / "b.mp4", u"Summer2026");
}

TEST_F(JobUnderWay, CancelInTheMiddleOfAContainerLeavesNoPartOfIt) {
    open(hold.job());
    setUpFolderJob();
    startAndHold();
    ASSERT_TRUE(clickOn(u"btn_cancelencode"));
    EXPECT_FALSE(enabled(u"btn_cancelencode"));
    EXPECT_EQ(textOf(u"btn_cancelencode"), QStringLiteral("正在取消"));
    hold.release();
    ASSERT_TRUE(waitForJobEnd());
    // The containers written so far are reported as a finished job's are.
    EXPECT_EQ(messageTexts(), std::vector<QString>{folderDone(1)});
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.pmpk"})) << "no temporary or partial file of b";
    expectHolds(out / "clips/a.pmpk", source / "a.mp4", u"Summer2026");
    EXPECT_TRUE(visible(u"btn_encodefile"));
    EXPECT_EQ(textOf(u"btn_cancelencode"), QStringLiteral("取消"));
}

TEST_F(JobUnderWay, CancelledSingleFileReportsNoContainer) {
    JobHold first{0};
    open(first.job());
    chooseSourceFile(source / "b.mp4");
    chooseDestination(out);
    retype(u"edit_encode_psw", QStringLiteral("Summer2026"));
    pressStart();
    ASSERT_TRUE(waitUntil([&] { return first.reached(); }));
    ASSERT_TRUE(clickOn(u"btn_cancelencode"));
    first.release();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{folderDone(0)});
    EXPECT_TRUE(treeOf(out).empty());
}

TEST_F(JobUnderWay, ClosingAsksFirstAndOnlyAYesStopsTheJobAndCloses) {
    open(hold.job());
    setUpFolderJob();
    startAndHold();
    services.messages->answers = {IDNO, IDYES};

    ASSERT_TRUE(clickOn(u"btn_close"));
    runFor(60);
    ASSERT_EQ(services.messages->shown.size(), 1u);
    EXPECT_EQ(services.messages->shown[0].text, kCloseQuestion);
    EXPECT_EQ(services.messages->shown[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(services.messages->shown[0].type & MB_TYPEMASK, MB_YESNO);
    EXPECT_NE(window->GetHWND(), nullptr) << "a no keeps the window";
    EXPECT_TRUE(enabled(u"btn_cancelencode")) << "and the job";

    pressKey(*window, Qt::Key_Escape);
    runFor(60);
    ASSERT_EQ(services.messages->shown.size(), 2u);
    EXPECT_EQ(services.messages->shown[1].text, kCloseQuestion);
    ASSERT_NE(window->GetHWND(), nullptr) << "the window waits for the job to stop";
    EXPECT_FALSE(enabled(u"btn_cancelencode"));

    hold.release();
    ASSERT_TRUE(waitUntil([this] { return window->GetHWND() == nullptr; }));
    EXPECT_EQ(messageTexts(), (std::vector<QString>{kCloseQuestion, kCloseQuestion, folderDone(1)}));
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.pmpk"}));
}

// The real message box, answered by clicking its buttons.
TEST_F(JobUnderWay, DefaultMessageBoxAsksWithYesAndNo) {
    MessageBoxService::install(nullptr);
    struct Seen {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };
    std::vector<Seen> seen;
    std::deque<QMessageBox::StandardButton> replies{QMessageBox::No, QMessageBox::Yes, QMessageBox::Ok};
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || replies.empty()) return;
        seen.push_back({box->icon(), box->windowTitle(), box->text(), box->standardButtons()});
        QAbstractButton* button = box->button(replies.front());
        replies.pop_front();
        if (button) button->click();
    });
    answerer.start(20);

    open(hold.job());
    setUpFolderJob();
    startAndHold();
    ASSERT_TRUE(clickOn(u"btn_close"));
    ASSERT_TRUE(waitUntil([&] { return seen.size() == 1; }));
    runFor(60);
    ASSERT_NE(window->GetHWND(), nullptr);
    ASSERT_TRUE(clickOn(u"btn_close"));
    ASSERT_TRUE(waitUntil([&] { return seen.size() == 2; }));
    hold.release();
    ASSERT_TRUE(waitUntil([this] { return window->GetHWND() == nullptr; }));

    ASSERT_EQ(seen.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(seen[i].icon, QMessageBox::Question);
        EXPECT_EQ(seen[i].title, QStringLiteral("提示"));
        EXPECT_EQ(seen[i].text, kCloseQuestion);
        EXPECT_EQ(seen[i].buttons, QMessageBox::Yes | QMessageBox::No);
    }
    EXPECT_EQ(seen[2].text, folderDone(1));
    EXPECT_EQ(seen[2].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

// The main window opens the settings window as a modal window it owns; a job there blocks neither
// the owner's timers nor its painting.
class OwnerWindow : public SkinWindow {
public:
    OwnerWindow() : SkinWindow(QStringLiteral("Owner.xml")) {}
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override {
        if (uMsg == WM_TIMER) ++ticks;
        if (uMsg == WM_PAINT) ++paints;
        return SkinWindow::HandleMessage(uMsg, wParam, lParam);
    }
    int ticks = 0;
    int paints = 0;
};

TEST_F(JobUnderWay, OwnerKeepsTickingAndPaintingWhileAModalJobRuns) {
    useInlineSkin({{QStringLiteral("Owner.xml"),
                    QByteArray("<Window size=\"300,200\"><VerticalLayout bkcolor=\"#FF202020\" /></Window>")}});
    OwnerWindow owner;
    ASSERT_TRUE(createShown(owner, QStringLiteral("owner")));
    owner.SetTimer(1, 20);
    window = std::make_unique<CSystemInfoFrame>(hold.job());
    ASSERT_TRUE(window->Create(owner.GetHWND(), u"SystemConfigFrame", 0x96C80000, 0));
    window->CenterWindow();
    services.messages->answers = {IDYES};

    int ticksWhileHeld = 0;
    int paintsWhileHeld = 0;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window->GetHWND()->windowHandle()));
        setUpFolderJob();
        startAndHold();
        const int ticks = owner.ticks;
        const int paints = owner.paints;
        owner.GetHWND()->update();
        runFor(200);
        ticksWhileHeld = owner.ticks - ticks;
        paintsWhileHeld = owner.paints - paints;
        clickOn(u"btn_close");
        hold.release();
    });
    // Whatever happens above, the modal run ends.
    QTimer::singleShot(20000, [&] {
        hold.release();
        if (window->GetHWND()) window->Close(99);
    });
    EXPECT_EQ(window->ShowModal(), 1u);
    EXPECT_GE(ticksWhileHeld, 5);
    EXPECT_GE(paintsWhileHeld, 1);
    EXPECT_TRUE(owner.GetHWND()->isEnabled());
    EXPECT_EQ(messageTexts(), (std::vector<QString>{kCloseQuestion, folderDone(1)}));
}

}  // namespace
}  // namespace mirado::testing
