#include "NewcomerSession.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtTest/QTest>

#include "player/CMainFrame.h"
#include "player/CSystemInfoFrame.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CListUI.h"
#include "ui/WindowApi.h"

namespace mirado::testing {
namespace fs = std::filesystem;

namespace {

// Generous: the engine shares two cores with the rest of the build and draws in software.
constexpr int kPatienceMs = 20000;

QWidget* visibleTopLevel(const QString& title) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == title) return widget;
    return nullptr;
}

QString qPath(const fs::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

void NewcomerSession::run() {
    // Each step ends the session at its first fatal failure.
    const auto step = [](auto&& action) {
        if (!::testing::Test::HasFatalFailure()) action();
    };
    step([&] { waitForMainWindow(); });
    step([&] { playFromTheCommandLine(); });
    step([&] { expectWatermark(&isRed, Quarter::BottomRight, QStringLiteral("protected-video")); });
    step([&] { goFullScreenAndBack(); });
    step([&] { stop(); });
    step([&] { encipherFolderThroughSettings(); });
    step([&] { addThroughDialog(qPath(media_.enciphered("evening/harbour.pmpk"))); });
    step([&] { playRow(1, QString::fromLatin1(JourneyMedia::kSettingsPassword)); });
    step([&] { expectWatermark(&isCyan, Quarter::TopLeft, QStringLiteral("settings-container")); });
    step([&] { stop(); });
    closePlayer();
}

CMainFrame& NewcomerSession::frame() const {
    auto* main = dynamic_cast<CMainFrame*>(g_pMainFrame);
    if (main == nullptr) std::abort();  // only called once waitForMainWindow found it
    return *main;
}

QString NewcomerSession::statusText() const {
    CControlUI* status = frame().GetPaintManager().FindControl(CDuiString(u"txt_playstatus"));
    return status ? status->GetText().toQString() : QString();
}

QRect NewcomerSession::surfaceOnScreen() const {
    QWidget* surface = frame().videoSurface()->GetHWND();
    return QRect(surface->mapToGlobal(QPoint(0, 0)), surface->size());
}

bool NewcomerSession::keepsPlaying() const {
    avplayer& engine = frame().engine();
    const double from = engine.curr_play_time();
    return waitUntil([&] { return engine.play_status() == 1 && engine.curr_play_time() > from + 0.3; }, kPatienceMs);
}

void NewcomerSession::waitForMainWindow() {
    // The prompt for the container named on the command line may show while this waits.
    prompts_.answers.push_back(QString::fromLatin1(JourneyMedia::kPackPassword));
    ASSERT_TRUE(waitUntil([] { return dynamic_cast<CMainFrame*>(g_pMainFrame) != nullptr; }, kPatienceMs));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame().GetHWND()->windowHandle()));
    // The container named on the command line is the playlist's one row.
    ASSERT_TRUE(waitUntil([&] { return frame().playlist()->ItemCount() == 1; }, kPatienceMs));
    EXPECT_EQ(frame().playlist()->ItemAt(0)->GetName().toQString(), media_.packedVideo());
    // The surface takes the play region with the first relayout.
    ASSERT_TRUE(waitUntil([&] { return surfaceOnScreen().width() > 320; }, kPatienceMs));
}

void NewcomerSession::playFromTheCommandLine() {
    ASSERT_TRUE(waitUntil([&] { return prompts_.asked == 1; }, kPatienceMs)) << "the password prompt did not show";
    ASSERT_TRUE(waitUntil([&] { return statusText() == QStringLiteral("正在播放"); }, kPatienceMs))
        << "status: " << statusText().toStdString();
    EXPECT_EQ(frame().currentPath(), media_.packedVideo());
    EXPECT_EQ(frame().GetHWND()->windowTitle(),
              QStringLiteral("Mirado — ") + QFileInfo(media_.packedVideo()).fileName());
    ASSERT_TRUE(keepsPlaying());
}

void NewcomerSession::playRow(int row, const QString& password) {
    CListUI& list = *frame().playlist();
    ASSERT_LT(row, list.ItemCount());
    const int promptsBefore = prompts_.asked;
    prompts_.answers.push_back(password);
    const RECT& r = list.ItemAt(row)->GetPos();
    // The prompt is modal: this returns once the answer was typed and confirmed.
    doubleClickAt(frame(), QPoint(r.left + r.width() / 2, r.top + r.height() / 2));
    EXPECT_EQ(prompts_.asked, promptsBefore + 1) << "the password prompt did not show";
    ASSERT_TRUE(waitUntil([&] { return statusText() == QStringLiteral("正在播放"); }, kPatienceMs))
        << "status: " << statusText().toStdString();
    EXPECT_EQ(frame().currentPath(), list.ItemAt(row)->GetName().toQString());
    ASSERT_TRUE(keepsPlaying());
}

void NewcomerSession::expectWatermark(bool (*colour)(QRgb), Quarter where, const QString& shotName) {
    const QRect area = frame().videoSurface()->isFullScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                              : surfaceOnScreen();
    QImage shot;
    QuarterCounts counts;
    // The first frames may still be on their way to the screen.
    const bool found = waitUntil(
        [&] {
            shot = grabScreen(area);
            counts = countByQuarter(shot, colour);
            return counts.in(where) > 150;
        },
        kPatienceMs);
    const QString file = QDir::current().filePath(QStringLiteral("e2e-%1.png").arg(shotName));
    if (!found || counts.mostOutside(where) > 20) shot.save(file);
    EXPECT_TRUE(found) << "no watermark colour where expected; the screen is in " << file.toStdString();
    EXPECT_LE(counts.mostOutside(where), 20) << "watermark colour elsewhere; the screen is in " << file.toStdString();
}

void NewcomerSession::goFullScreenAndBack() {
    const QRect inWindow = surfaceOnScreen();
    CVideoRealWnd& surface = *frame().videoSurface();
    ASSERT_TRUE(click(frame(), QStringLiteral("btn_fullscreen")));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    ASSERT_TRUE(waitUntil([&] { return surface.isFullScreen() && surfaceOnScreen() == screen; }, kPatienceMs))
        << "the surface did not cover the screen";
    expectWatermark(&isRed, Quarter::BottomRight, QStringLiteral("full-screen"));
    EXPECT_TRUE(keepsPlaying());

    // Escape, as a person leaves full screen.
    pressKey(surface, Qt::Key_Escape);
    ASSERT_TRUE(waitUntil([&] { return !surface.isFullScreen() && surfaceOnScreen() == inWindow; }, kPatienceMs))
        << "the surface did not come back to the play region";
    expectWatermark(&isRed, Quarter::BottomRight, QStringLiteral("back-from-full-screen"));
    EXPECT_TRUE(keepsPlaying());
}

void NewcomerSession::stop() {
    ASSERT_TRUE(click(frame(), QStringLiteral("btn_stop")));
    EXPECT_TRUE(waitUntil([&] { return statusText() == QStringLiteral("停止"); }, kPatienceMs))
        << "status: " << statusText().toStdString();
    EXPECT_NE(frame().engine().play_status(), 1);
}

void NewcomerSession::encipherFolderThroughSettings() {
    bool driven = false;
    // The settings window is modal: it is driven from its own loop by a timer armed before the click
    // that opens it.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* widget = visibleTopLevel(QStringLiteral("设置"));
        auto* settings = widget ? dynamic_cast<CSystemInfoFrame*>(CWindowWnd::FromHandle(widget)) : nullptr;
        if (settings == nullptr) return;
        poll.stop();
        driveSettingsWindow(*settings);
        if (settings->IsEncrypting()) {
            // Closing during a job asks whether to stop it.
            services_.messages->answers.push_back(IDYES);
        }
        settings->Close(IDOK);
        driven = true;
    });
    poll.start(20);
    ASSERT_TRUE(click(frame(), QStringLiteral("btn_setting")));
    poll.stop();
    ASSERT_TRUE(driven) << "the settings button did not open the settings window";
    EXPECT_EQ(visibleTopLevel(QStringLiteral("设置")), nullptr);
}

void NewcomerSession::driveSettingsWindow(CSystemInfoFrame& settings) {
    ASSERT_TRUE(click(settings, QStringLiteral("chk_encodedir")));
    services_.folders->answers = {qPath(media_.sourceFolder()), qPath(media_.destination())};
    ASSERT_TRUE(click(settings, QStringLiteral("btn_openfile")));
    ASSERT_TRUE(click(settings, QStringLiteral("btn_opendstpath")));
    ASSERT_TRUE(typeInto(settings, QStringLiteral("edit_encode_psw"), QString::fromLatin1(JourneyMedia::kSettingsPassword)));
    ASSERT_TRUE(click(settings, QStringLiteral("chk_watermark")));
    ASSERT_TRUE(typeInto(settings, QStringLiteral("edit_water_content"), QStringLiteral("Mirado E2E")));
    ASSERT_TRUE(chooseComboItem(settings, QStringLiteral("comb_watercolor"), 4));     // 青
    ASSERT_TRUE(chooseComboItem(settings, QStringLiteral("comb_waterfontsize"), 2));  // 1/10图像高度
    ASSERT_TRUE(chooseComboItem(settings, QStringLiteral("comb_waterpos"), 0));       // 左上方
    const std::size_t messagesBefore = services_.messages->shown.size();
    ASSERT_TRUE(click(settings, QStringLiteral("btn_encodefile")));

    ASSERT_TRUE(waitUntil([&] { return services_.messages->shown.size() > messagesBefore && !settings.IsEncrypting(); },
                          kPatienceMs))
        << "the job did not end with a message";
    EXPECT_EQ(services_.messages->shown.back().text, QStringLiteral("加密 3 个文件成功!请到保存目录下查看."));
    EXPECT_EQ(services_.messages->shown.back().caption, QStringLiteral("提示"));
    for (const char* made : {"dawn.pmpk", "evening/harbour.pmpk", "evening/boats.pmpk"})
        EXPECT_TRUE(fs::is_regular_file(media_.enciphered(made))) << made;
    EXPECT_FALSE(fs::exists(media_.enciphered("notes.pmpk")));
}

void NewcomerSession::addThroughDialog(const QString& path) {
    const int rowsBefore = frame().playlist()->ItemCount();
    services_.files->answers.push_back({path});
    ASSERT_TRUE(click(frame(), QStringLiteral("btnadd")));
    ASSERT_EQ(frame().playlist()->ItemCount(), rowsBefore + 1);
    EXPECT_EQ(frame().playlist()->ItemAt(rowsBefore)->GetName().toQString(), path);
}

void NewcomerSession::closePlayer() {
    if (auto* main = dynamic_cast<CMainFrame*>(g_pMainFrame); main && main->GetHWND() && main->GetHWND()->isVisible() &&
                                                               click(*main, QStringLiteral("btn_close")))
        return;
    PostQuitMessage(0);
}

}  // namespace mirado::testing
